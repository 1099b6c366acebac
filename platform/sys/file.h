#pragma once
// An open file, closed when the object goes. Stands in for the old numbered files:
// sequential input and output, append, and binary access by 1-based byte position.
// Failures raise sys::RtError with the VB number of the errno.
#include <string>
#include <string_view>

namespace sys {

class File {
public:
    enum class Access { Input, Output, Append, Binary };

    File() = default;
    ~File() { close(); }
    File(File&& o) noexcept;
    File& operator=(File&& o) noexcept;
    File(const File&) = delete;
    File& operator=(const File&) = delete;

    // Output truncates or creates; Append and Binary create a missing file; Binary
    // opens read-only when writing is refused. Raises RtError.
    void open(const std::string& path, Access access);
    bool isOpen() const { return fd_ >= 0; }
    void close();
    const std::string& path() const { return path_; }

    long length() const;
    // Up to `count` bytes from the 1-based position; fewer at the end of the file.
    std::string readAt(long position, long count);
    // The same into `out`, whose room is used again.
    void readAt(long position, long count, std::string& out);
    // Writes at the current position (the end, for Append).
    void write(std::string_view bytes);
    void seekEnd();
    // The next line without its break; LF, CR LF and CR all end a line. False at the end.
    bool readLine(std::string& line);

private:
    int fd_ = -1;
    std::string path_;
    std::string pending_;  // bytes read ahead by readLine
    bool eof_ = false;
};

}  // namespace sys

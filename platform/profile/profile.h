#pragma once
// INI files with the behaviour of the Windows private-profile calls that the INI
// store relies on: section and key names ignore (ASCII) case, blanks around names and
// values are trimmed and one pair of surrounding double quotes is dropped on reading,
// a write replaces the entry or appends it (creating the section, and the file but
// never its folder). Files are bytes; LF, CR LF and CR are read, LF is written.
//
// Files are cached by path and re-read only when their identity, size or times
// change, so repeated reads cost a stat and a hash probe. A write replaces the file
// through a temporary file and a rename: a failure (full disk, no permission) leaves
// the old file whole and is returned to the caller. One thread only.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace profile {

// While one is alive, reads check each file against the disk at most once: an
// operation that looks up several entries (a value and its part counter, records of
// alternate files) then costs one stat per file. Writes always check. Nests; the
// outermost ends the scope.
class ReadScope {
public:
    ReadScope();
    ~ReadScope();
    ReadScope(const ReadScope&) = delete;
    ReadScope& operator=(const ReadScope&) = delete;
};

// Outcome of a write: the errno of the step that failed, 0 on success.
struct WriteResult {
    int error = 0;
    bool ok() const { return error == 0; }
    std::string message() const;
};

// The entry's value, or `dflt` when the file, the section or the entry is missing,
// cut to `size` - 1 bytes into `out`. Returns the bytes copied; `size` - 1 means the
// value may have been cut. A file that cannot be read reads as missing.
std::size_t getString(std::string_view section, std::string_view key, std::string_view dflt,
                      std::string& out, std::size_t size, const std::string& file);

// All section names (or all keys of one section), each followed by a NUL, then one
// more NUL, cut to `size` bytes. Returns the bytes before the final NUL; when the
// list did not fit, the last name is cut, two NULs end it and the result is size - 2.
std::size_t getSectionNames(std::string& out, std::size_t size, const std::string& file);
std::size_t getKeyNames(std::string_view section, std::string& out, std::size_t size,
                        const std::string& file);

// The lines of a section below its header, blank lines left out, as they stand in the
// file; nothing when the section is missing.
std::optional<std::vector<std::string>> sectionLines(std::string_view section,
                                                     const std::string& file);

// Writes key=value. With no value the entry is erased; with no key the whole section
// is. Erasing what is not there succeeds and creates nothing. Names and values may
// not hold CR or LF (EINVAL); an empty path fails with ENOENT. With a size limit, a
// write that would make a file that is not empty grow past it fails with EFBIG.
WriteResult writeString(std::string_view section, std::optional<std::string_view> key,
                        std::optional<std::string_view> value, const std::string& file,
                        std::size_t sizeLimit = 0);
// Replaces the lines of a section (appending the section when it is missing).
WriteResult writeSection(std::string_view section, const std::vector<std::string>& lines,
                         const std::string& file);

// Writes are immediate, so there is nothing to write out; succeeds unless the path
// is empty. Drops the file from the cache so the next read goes to the disk.
WriteResult flush(const std::string& file);

}  // namespace profile

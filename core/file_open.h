#pragma once
// Opening files under the program's policies: the name is checked, an existing file
// to be written is handled by gOpenIfExists, a missing file to be read by
// gOpenIfMissing, and the open itself runs through the file actions (their error
// dialog and retry). Readers above it take a file whole, from a start byte, or in
// blocks of 64,000 characters.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/sys/file.h"

// Set by the caller just before an open. If exists: "W" ask, "E" refuse, "D" delete
// first, "A" append. If missing: "C" fail quietly, "E" fail with a message.
inline std::string gOpenIfExists;
inline std::string gOpenIfMissing;

namespace core {
inline constexpr long kReadBlock = 64000;
}  // namespace core

struct OPENBIN_ReadInfo {
    long StartByte = 0;
    long CharsRead = 0;
    long CharsToRead = 0;
    bool Truncated = false;
    bool StartAfterEnd = false;
    bool AtEnd = false;
};

// True when the name is usable (absolute, not a folder name); `exists` tells whether
// it is there.
bool OPENBIN_CheckFileName(const std::string& name, bool& exists);

// Binary open; direction "I" read or "O" write (else error 1001). `errorText` goes in
// as the path check's message ("Skip checks" skips it) and comes back with the reason
// of a failure. `options` is the file actions' options list (item 1 the mode).
bool OPENBIN_OpenFile(const std::string& name, const std::string& direction, sys::File& file,
                      bool showPathCheck, std::string& errorText, std::string& options);
bool OPENBIN_OpenForRead(const std::string& name, sys::File& file, std::string& options);
bool OPENBIN_OpenForWrite(const std::string& name, sys::File& file, std::string& options);
// Access "O" output, "I" input, "B" binary, "A" append.
bool OPENBIN_OpenRaw(const std::string& name, const std::string& access, sys::File& file,
                     std::string& options);

// Opens for reading at a start byte; false (with the reason) when the file cannot be
// opened or the start lies beyond its end. Start 1 of an empty file is inside it.
bool OPENBIN_ReadAt(const std::string& name, long start, bool show, sys::File& file,
                    std::string& errorText, bool& startAfterEnd, std::string& options);

// Up to `count` characters (below 1: all) from the start byte. `stopped` is set when
// the count, not the end of the file, ended the reading; `length` is the number of
// characters from the start byte to the end of the file.
bool OPENBIN_ReadFileToBuf(const std::string& name, long start, long count, bool show,
                           std::string& text, bool& stopped, long& length,
                           std::string& errorText, bool& startAfterEnd, std::string& options);

// The file from the start byte as blocks of 64,000 characters, stopping after the
// first block that takes the total over `charLimit` (0: none). From block `yieldStep`
// on (below 0: never) it yields after each block and stops when `cancelRequested`
// says so. `blocks` ends holding the blocks read; the strings it held are filled
// again, so that a large file read in parts takes no fresh memory for each part.
bool OPENBIN_ReadFileTrunc(const std::string& name, long start, bool show,
                           std::vector<std::string>& blocks, long& blockCount,
                           OPENBIN_ReadInfo& info, long charLimit, long yieldStep,
                           const std::function<bool()>& cancelRequested, std::string& options,
                           std::string& errorText);

// Writes the bytes to the file, making its folder first; `existsPolicy` as gOpenIfExists.
bool OPENBIN_BinaryFilePut(const std::string& path, std::string_view data,
                           std::string& errorText, const std::string& existsPolicy);

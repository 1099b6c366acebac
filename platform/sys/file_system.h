#pragma once
// Folder listing and file lookups for the file services. Hidden means a name that
// starts with "."; read-only means the owner's write bit is off. Symbolic links are
// never followed into folders, so a walk cannot loop.
#include <string>
#include <vector>

namespace sys {

struct DirEntry {
    std::string name;
    bool directory = false;  // a real folder; a link to a folder is not one
};

// The entries of a folder other than "." and "..", in the order the system gives
// them; false when the folder cannot be listed.
bool listFolder(const std::string& folder, std::vector<DirEntry>& entries);

enum class PathKind { Missing, File, Directory };

// 0 when the lookup worked (a missing name in an existing folder is
// PathKind::Missing), else the errno; a missing folder gives ENOTDIR ("path not found").
int lookUp(const std::string& path, PathKind& kind);

// True when the folder part of the path (up to the last "/") does not exist.
bool parentMissing(const std::string& path);

// The attribute bits of the old system: 1 read-only, 2 hidden, 16 folder; -1 when the
// path cannot be read. A trailing "/" is ignored.
int attributes(const std::string& path);

// Sets or clears read-only (the owner's write bit); returns 0 or the errno.
int setReadOnly(const std::string& path, bool readOnly);

// The current folder, "" when it cannot be read.
std::string currentFolder();

}  // namespace sys

#include "platform/sys/rt_error.h"

#include <cerrno>
#include <cstring>
#include <unordered_map>

namespace sys {

RtError::RtError(int number, std::string description, std::string source)
    : std::runtime_error(description), number_(number), description_(std::move(description)),
      source_(std::move(source)) {}

std::string vbErrorDescription(int number) {
    static const std::unordered_map<int, const char*> table = {
        {3, "Return without GoSub"},
        {5, "Invalid procedure call or argument"},
        {6, "Overflow"},
        {7, "Out of memory"},
        {9, "Subscript out of range"},
        {11, "Division by zero"},
        {13, "Type mismatch"},
        {28, "Out of stack space"},
        {52, "Bad file name or number"},
        {53, "File not found"},
        {54, "Bad file mode"},
        {55, "File already open"},
        {57, "Device I/O error"},
        {58, "File already exists"},
        {61, "Disk full"},
        {62, "Input past end of file"},
        {67, "Too many files"},
        {68, "Device unavailable"},
        {70, "Permission denied"},
        {71, "Disk not ready"},
        {74, "Can't rename with different drive"},
        {75, "Path/File access error"},
        {76, "Path not found"},
        {91, "Object variable or With block variable not set"},
        {94, "Invalid use of Null"},
        {1066, "Aborted by the user"},
        {3022, "The changes you requested to the table were not successful because they would "
               "create duplicate values in the index, primary key, or relationship."},
        {3197, "The database has been changed by another user at the same time."},
    };
    auto it = table.find(number);
    return it != table.end() ? it->second : "Application-defined or object-defined error";
}

void raise(int number, const std::string& source) {
    throw RtError(number, vbErrorDescription(number), source);
}

int vbErrorFromErrno(int err, bool missingIsPath) {
    switch (err) {
    case ENOENT: return missingIsPath ? kErrPathNotFound : kErrFileNotFound;
    case ENOTDIR: return kErrPathNotFound;
    case EACCES:
    case EPERM:
    case EBUSY:
    case ETXTBSY:
    case EROFS: return kErrPermissionDenied;
    case EEXIST:
    case ENOTEMPTY: return kErrFileExists;
    case ENOSPC:
    case EDQUOT: return kErrDiskFull;
    case EIO: return kErrIo;
    case ENAMETOOLONG:
    case EINVAL: return kErrBadFileName;
    case EMFILE:
    case ENFILE: return 67;
    default: return kErrPathFileAccess;  // EXDEV, EISDIR, ELOOP and the rest
    }
}

void raiseErrno(int err, const std::string& what, const std::string& source, bool missingIsPath) {
    int number = vbErrorFromErrno(err, missingIsPath);
    std::string text = vbErrorDescription(number);
    if (!what.empty()) text += ": " + what;
    text += " (" + std::string(std::strerror(err)) + ")";
    throw RtError(number, text, source);
}

}  // namespace sys

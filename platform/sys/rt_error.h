#pragma once
// The program's run-time error: a VB-style error number, its description and the
// procedure that raised it. Every failure that unwinds to an event handler is one.
#include <stdexcept>
#include <string>

namespace sys {

// Numbers the program raises itself; errno values map onto the VB set.
enum ErrNo : int {
    kErrOverflow = 6,
    kErrSubscript = 9,
    kErrBadFileName = 52,
    kErrFileNotFound = 53,
    kErrFileExists = 58,
    kErrDiskFull = 61,
    kErrPermissionDenied = 70,
    kErrPathFileAccess = 75,
    kErrPathNotFound = 76,
    kErrIo = 57,
    kErrUserAbort = 1066,
    kErrDuplicateKey = 3022,
    kErrDatabaseLocked = 3197,
};

class RtError : public std::runtime_error {
public:
    RtError(int number, std::string description, std::string source = {});
    int number() const { return number_; }
    const std::string& description() const { return description_; }
    const std::string& source() const { return source_; }

private:
    int number_;
    std::string description_;
    std::string source_;
};

// The description VB gives a standard error number ("Application-defined or
// object-defined error" for numbers it does not know).
std::string vbErrorDescription(int number);

// Raises an RtError with the standard description for the number.
[[noreturn]] void raise(int number, const std::string& source = {});

// VB error number for an errno value; `missingIsPath` picks 76 over 53 for ENOENT.
int vbErrorFromErrno(int err, bool missingIsPath = false);

// RtError from errno with the system's message appended to the VB description.
[[noreturn]] void raiseErrno(int err, const std::string& what, const std::string& source = {},
                             bool missingIsPath = false);

// Ends the program from deep inside start-up; caught in main(), which closes the
// database and exits with the code.
class EndProgram : public std::exception {
public:
    explicit EndProgram(int exitCode = 0) : exitCode_(exitCode) {}
    int exitCode() const { return exitCode_; }
    const char* what() const noexcept override { return "program end requested"; }

private:
    int exitCode_;
};

}  // namespace sys

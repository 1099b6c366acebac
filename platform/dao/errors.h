#pragma once
// Error numbers the database layer raises, as the old engine numbered them, so that
// callers can test for them (3022 in particular). Every failure is a sys::RtError.
#include <string>

namespace dao {

enum Err : int {
    kErrInvalidUseOfNull = 94,
    kErrTypeMismatch = 13,
    kErrTableExists = 3010,
    kErrObjectExists = 3012,
    kErrUpdateWithoutEdit = 3020,
    kErrNoCurrentRecord = 3021,
    kErrDuplicateKey = 3022,
    kErrFileNotFound = 3024,
    kErrDiskFull = 3026,
    kErrReadOnly = 3027,
    kErrDiskIo = 3043,
    kErrNullInIndex = 3058,
    kErrExecuteSelect = 3065,
    kErrNoSuchTable = 3078,
    kErrInvalidName = 3125,
    kErrInvalidSql = 3129,
    kErrBadBookmark = 3159,
    kErrFieldTooSmall = 3163,
    kErrFieldReadOnly = 3164,
    kErrRecordDeleted = 3167,
    kErrFieldDefinedTwice = 3191,
    kErrInUseByAnotherCopy = 3197,
    kErrDatabaseExists = 3204,
    kErrLocked = 3218,
    kErrInvalidFieldType = 3259,
    kErrItemNotFound = 3265,
    kErrPrimaryExists = 3283,
    kErrIndexExists = 3284,
    kErrZeroLengthText = 3315,
    kErrBadDatabaseFormat = 3343,
    kErrOpenElsewhere = 3356,
    kErrObjectClosed = 3420,
    kErrConversion = 3421,
    kErrSql = 3075,
};

// The source of every error this layer raises: a failure of the database itself.
inline constexpr const char* kErrorSource = "dao";

// Raises sys::RtError with the number and the description given.
[[noreturn]] void raise(int number, const std::string& description);

}  // namespace dao

#include "platform/dao/errors.h"

#include <sqlite3.h>

#include "platform/dao/connection.h"
#include "platform/sys/rt_error.h"

namespace dao {

void raise(int number, const std::string& description) {
    throw sys::RtError(number, description, kErrorSource);
}

namespace detail {

int errorNumberFor(int extendedCode, const std::string& message) {
    switch (extendedCode) {
    case SQLITE_CONSTRAINT_UNIQUE:
    case SQLITE_CONSTRAINT_PRIMARYKEY:
    case SQLITE_CONSTRAINT_ROWID: return kErrDuplicateKey;
    case SQLITE_CONSTRAINT_NOTNULL: return kErrNullInIndex;
    case SQLITE_CONSTRAINT_CHECK: return kErrZeroLengthText;  // the only CHECK we declare
    }
    switch (extendedCode & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED: return kErrLocked;
    case SQLITE_CANTOPEN: return kErrFileNotFound;
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT: return kErrBadDatabaseFormat;
    case SQLITE_FULL: return kErrDiskFull;
    case SQLITE_READONLY: return kErrReadOnly;
    case SQLITE_IOERR: return kErrDiskIo;
    case SQLITE_TOOBIG: return kErrFieldTooSmall;
    case SQLITE_MISMATCH: return kErrConversion;
    }
    if (message.rfind("no such table", 0) == 0) return kErrNoSuchTable;
    if (message.find("already exists") != std::string::npos) return kErrTableExists;
    return kErrSql;
}

void raiseSqlite(sqlite3* db, int rc, const std::string& context) {
    int code = db ? sqlite3_extended_errcode(db) : rc;
    std::string message = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
    if ((code & 0xff) != (rc & 0xff)) {  // the handle holds an older error
        code = rc;
        message = sqlite3_errstr(rc);
    }
    std::string text = message;
    if (!context.empty()) text += " (" + context + ")";
    raise(errorNumberFor(code, message), text);
}

}  // namespace detail
}  // namespace dao

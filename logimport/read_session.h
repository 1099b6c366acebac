#pragma once
// One read of log files within an import run: made at its start, gone at its end,
// however the read ends. It keeps the log-line recordset open for the key retry.
// Reads do not nest.
#include "platform/dao/database.h"

namespace logimport {

class ReadSession {
public:
    // Opens gLogLineRs on the database.
    explicit ReadSession(dao::Database& db);
    ~ReadSession();  // closes gLogLineRs; never fails
    ReadSession(const ReadSession&) = delete;
    ReadSession& operator=(const ReadSession&) = delete;
};

}  // namespace logimport

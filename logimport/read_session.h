#pragma once
// One read of log files within an import run: made at its start, gone at its end,
// however the read ends. It keeps the log-line recordset open for the key retry, and
// the run's pages of the requests met only as long as the read lasts (the visit
// building after it has no use for them). Reads do not nest.
#include "platform/dao/database.h"

namespace logimport {

class ImportRun;

class ReadSession {
public:
    // Opens the run's log-line recordset on the database.
    ReadSession(ImportRun& run, dao::Database& db);
    ~ReadSession();  // closes the recordset and forgets the request pages; never fails
    ReadSession(const ReadSession&) = delete;
    ReadSession& operator=(const ReadSession&) = delete;

private:
    ImportRun& run_;
};

}  // namespace logimport

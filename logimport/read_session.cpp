#include "logimport/read_session.h"

#include "logimport/import_run.h"
#include "logimport/logline_store.h"

namespace logimport {

ReadSession::ReadSession(ImportRun& run, dao::Database& db) : run_(run) { STTA_LogLineRsOpen(run, db); }

ReadSession::~ReadSession() {
    STTA_LogLineRsClose(run_);
    run_.requestPages() = RequestPages{};
}

}  // namespace logimport

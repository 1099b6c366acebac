#include "logimport/read_session.h"

#include "logimport/logline_store.h"

namespace logimport {

ReadSession::ReadSession(dao::Database& db) { STTA_LogLineRsOpen(db); }

ReadSession::~ReadSession() { STTA_LogLineRsClose(); }

}  // namespace logimport

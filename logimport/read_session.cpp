#include "logimport/read_session.h"

#include "logimport/logline_store.h"
#include "logimport/referrer_store.h"

namespace logimport {

bool RequestPages::sameSetting(const std::string& dbPath, bool dropFragment, bool dropQuery) {
    bool same = dbPath == dbPath_ && dropFragment == dropFragment_ && dropQuery == dropQuery_;
    dbPath_ = dbPath;
    dropFragment_ = dropFragment;
    dropQuery_ = dropQuery;
    return same;
}

ReadSession::ReadSession(dao::Database& db, ReadRec& rec) : rec_(rec) {
    STTA_LogLineRsOpen(db);
    STTA_SiteDomainReset();
    rec_.Session = this;
}

ReadSession::~ReadSession() {
    rec_.Session = nullptr;
    STTA_LogLineRsClose();
}

}  // namespace logimport

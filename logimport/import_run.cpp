#include "logimport/import_run.h"

#include <stdexcept>

namespace logimport {

bool RequestPages::sameSetting(const std::string& dbPath, bool dropFragment, bool dropQuery) {
    bool same = dbPath == dbPath_ && dropFragment == dropFragment_ && dropQuery == dropQuery_;
    dbPath_ = dbPath;
    dropFragment_ = dropFragment;
    dropQuery_ = dropQuery;
    return same;
}

ImportRun::ImportRun(ReadRec& rec) : rec_(rec), previous_(rec.CurrentRun) { rec_.CurrentRun = this; }

ImportRun::~ImportRun() { rec_.CurrentRun = previous_; }

ImportRun& importRun(const ReadRec& rec) {
    if (!rec.CurrentRun) throw std::logic_error("An import step ran outside an import run.");
    return *rec.CurrentRun;
}

ImportRun& importRunOf(ReadRec& rec, std::optional<ImportRun>& own) {
    return rec.CurrentRun ? *rec.CurrentRun : own.emplace(rec);
}

}  // namespace logimport

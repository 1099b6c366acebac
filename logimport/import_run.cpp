#include "logimport/import_run.h"

namespace logimport {

bool RequestPages::sameSetting(const std::string& dbPath, bool dropFragment, bool dropQuery) {
    bool same = dbPath == dbPath_ && dropFragment == dropFragment_ && dropQuery == dropQuery_;
    dbPath_ = dbPath;
    dropFragment_ = dropFragment;
    dropQuery_ = dropQuery;
    return same;
}

}  // namespace logimport

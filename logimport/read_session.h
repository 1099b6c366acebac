#pragma once
// The state of one read of log files (an addition or a test read): made at its start,
// gone at its end, however the read ends. It keeps the log-line recordset open for
// the key retry, remembers the page of each request met, has the site's domain read
// afresh, and writes the referrers held in memory when it ends. It is reached through
// the read record it serves. Reads do not nest.
#include <string>
#include <string_view>
#include <unordered_map>

#include "logimport/read_record.h"
#include "logimport/referrer_store.h"
#include "platform/dao/database.h"

namespace logimport {

// The PageID of each request text met during a read. Requests repeat a lot, and
// cutting and normalising a name costs far more than a look-up; pages are never
// taken away during a read, so a PageID once found stays right.
class RequestPages {
public:
    long find(std::string_view request) const {
        auto it = ids_.find(request);
        return it == ids_.end() ? -1 : it->second;
    }
    void remember(std::string_view request, long id) {
        if (ids_.size() >= kLimit) ids_.clear();
        ids_.emplace(std::string(request), id);
    }
    void clear() { ids_.clear(); }
    // True when the remembered pages were found under this setting; it becomes the
    // setting remembered.
    bool sameSetting(const std::string& dbPath, bool dropFragment, bool dropQuery);

private:
    struct Hash {
        using is_transparent = void;
        size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
    };
    static constexpr size_t kLimit = 100000;
    std::unordered_map<std::string, long, Hash, std::equal_to<>> ids_;
    std::string dbPath_;
    bool dropFragment_ = false, dropQuery_ = false;
};

class ReadSession {
public:
    // Opens gLogLineRs on the database and serves `rec` until the session ends.
    ReadSession(dao::Database& db, ReadRec& rec);
    ~ReadSession();  // closes gLogLineRs and flushes the referrers; never fails
    ReadSession(const ReadSession&) = delete;
    ReadSession& operator=(const ReadSession&) = delete;

    RequestPages& requestPages() { return pages_; }

private:
    RefrStoreFlushGuard flushReferrers_;  // last, after the recordset is closed
    ReadRec& rec_;
    RequestPages pages_;
};

}  // namespace logimport

#pragma once
// One import run: an addition of log data (its read and its visit building), a test
// read, the robot-finding read, or the completion of an earlier addition's visits.
// An addition and a completion make theirs (a read alone makes its own), and
// everything below reaches it through the read record (ReadRec::CurrentRun); it holds
// what the run needs between its steps and nothing of it outlives the run: the
// referrer store with its writer, the page of each request met, and the search-engine
// visits per day and engine, which the run hands back to its caller.
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "logimport/read_record.h"
#include "logimport/referrer_store.h"
#include "logimport/visit_building.h"

namespace logimport {

// The PageID of each request text met during a run. Requests repeat a lot, and
// cutting and normalising a name costs far more than a look-up; pages are never
// taken away during a run, so a PageID once found stays right.
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

class ImportRun {
public:
    // Serves `rec` until the run ends.
    explicit ImportRun(ReadRec& rec);
    // Writes the referrers still held in memory; never raises.
    ~ImportRun();
    ImportRun(const ImportRun&) = delete;
    ImportRun& operator=(const ImportRun&) = delete;

    ReferrerStore& referrers() { return referrers_; }
    RequestPages& requestPages() { return pages_; }
    // The search-engine visits per day and engine of the visits built in the run.
    EngineDayTally& engineDays() { return engineDays_; }

private:
    ReadRec& rec_;
    ImportRun* previous_;
    ReferrerStore referrers_;
    RequestPages pages_;
    EngineDayTally engineDays_;
};

// The run the record serves; std::logic_error when there is none.
ImportRun& importRun(const ReadRec& rec);
// The run the record serves; a step called outside any run (a test read, the
// robot-finding read, a test of one step) gets one that lasts as long as `own`.
ImportRun& importRunOf(ReadRec& rec, std::optional<ImportRun>& own);

}  // namespace logimport

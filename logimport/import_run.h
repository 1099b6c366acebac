#pragma once
// One import run: an addition of log data (its read and its visit building), a test
// read, the robot-finding read, or the completion of an earlier addition's visits.
// The command that starts the run makes it and passes it to each step (a read or a
// visit building called alone makes its own). It holds everything the run counts,
// numbers and keeps between its steps, and nothing of it outlives the run: the
// counters of the file read and of the whole run, the last line number given, the
// log-line recordset, the referrer store with its writer, the page of each request
// met, and the search-engine visits per day and engine, which the run hands back to
// its caller. The read options stay in the read record (ReadRec).
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "logimport/read_record.h"
#include "logimport/referrer_store.h"
#include "platform/dao/recordset.h"

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
    ImportRun() = default;
    ImportRun(const ImportRun&) = delete;
    ImportRun& operator=(const ImportRun&) = delete;

    ReferrerStore& referrers() { return referrers_; }
    RequestPages& requestPages() { return pages_; }
    // The search-engine visits per day and engine of the visits built in the run.
    EngineDayTally& engineDays() { return engineDays_; }

    long MissingPageID = 0;  // page ".. Page does not exist .."
    bool DupCheck = false;   // look each accepted line up first (dates overlap stored data)
    std::string CurrentFile;
    long LastLogLnID = 0;
    // Set by a caller that builds the visits right after the read (an addition): the
    // read then builds them on the way where it can (see visit_stream.h).
    bool VisitsWhileReading = false;
    ReadVisits Visits;
    ReadCounters File;  // the file being read
    ReadCounters Run;   // all files of the run
    std::int64_t RunMainHits = 0;
    std::int64_t RunRobotHits = 0;
    std::int64_t RunCompHits = 0;
    double Timestamp = 0;       // the current line's date serial
    double FirstTimestamp = 0;  // the run's first line; 0 until set
    dao::Recordset LogLineRs;   // the table "LogLine", open while a read lasts

private:
    ReferrerStore referrers_;
    RequestPages pages_;
    EngineDayTally engineDays_;
};

}  // namespace logimport

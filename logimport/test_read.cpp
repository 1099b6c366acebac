#include "logimport/import_run.h"
#include "logimport/test_read.h"

#include <optional>

#include "core/delimited_lists.h"
#include "core/ini_store.h"
#include "core/shell_hooks.h"
#include "core/url_routines.h"
#include "logimport/filter_store.h"
#include "logimport/log_format.h"
#include "logimport/raw_log_reader.h"
#include "logimport/search_engine_store.h"
#include "logimport/search_engines.h"
#include "platform/sys/rt_error.h"

void STTA_SERefCheckLists(const ReadRec& rec, core::StrArray& undefinedRows, core::StrArray& referrersPerHost,
                          core::StrArray& unknownHosts) {
    undefinedRows.erase();
    referrersPerHost.erase();
    unknownHosts.erase();
    core::StrArray noTerm;  // per definition: its referrers that gave no term
    const core::StrArray& referrers = rec.Test.Referrers;
    for (long i = 0; i <= referrers.ubound(); ++i) {
        std::string engine;
        bool specMatched = false;
        STTA_RefrToSEandST(referrers[i], noTerm, true, engine, specMatched);
        if (specMatched) continue;
        std::string scheme, host, path, params, query, fragment;
        HHTML_SplitURL(referrers[i], scheme, host, path, params, query, fragment);
        if (host.empty()) continue;
        long k = -1;
        bool noSpace = false, appended = false;
        LLIST_StrArrAdd(unknownHosts, -1, host, 2, k, noSpace, appended, false);
        STTA_SEDefUnmatchedAdd(referrers[i], referrersPerHost, k);
    }
    const auto& defs = logimport::programSEDefTables().defs();
    for (long j = 0; j <= noTerm.ubound(); ++j) {
        if (noTerm[j].empty()) continue;
        const std::string spec = j < static_cast<long>(defs.size()) ? defs[static_cast<size_t>(j)].urlSpec : "";
        undefinedRows.append(spec + "\t" + noTerm[j]);
    }
}

namespace logimport {

dao::Database& siteDatabase() {
    dao::Database* db = core::shellHooks().siteDatabase();
    if (!db || !db->isOpen()) sys::raise(91, "siteDatabase");
    return *db;
}

RememberedOptionOverride::RememberedOptionOverride(const std::string& entry, bool value) : entry_(entry) {
    saved_ = INI_Get("Main", entry_, "::*", kIniMissingMarker);
    INI_Put("Main", entry_, value, "::*");
}

RememberedOptionOverride::~RememberedOptionOverride() {
    try {
        if (saved_ == kIniNotFound)
            INI_EraseEntry("Main", entry_, "::*");
        else
            INI_Put("Main", entry_, saved_, "::*");
    } catch (...) {
        // A failed write has been reported by the store; an error from the guarded
        // work must not be replaced by this one.
    }
}

std::string testReadLogEntry() { return INI_Get("Main", "PAFNlog", "::*", kIniMissingEmpty); }

void testReadLogEntrySet(const std::string& entry) { INI_Put("Main", "PAFNlog", entry, "::*"); }

bool testReadExecute(long kind, bool robotTally, dao::Database& db, ReadRec& rec) {
    const std::string entry = testReadLogEntry();
    const bool agents = kind == kFldUserAgent;
    const bool referrers = kind == kFldReferrer;
    STTA_TestReadInit(entry, rec.Test, agents, referrers, agents && robotTally, agents || referrers ? -1 : kind);
    // The robot filters must act in a read that counts what they reject; the user's
    // own choice comes back afterwards.
    std::optional<RememberedOptionOverride> robots;
    if (rec.Test.TallyRobotRejects) robots.emplace("nobots", true);
    STTA_FltrSetsLoad(rec);
    STTA_NotFoundListReset(rec);
    // Lines with an error status are skipped as in an addition when the site says so.
    rec.ErrStatusInTest = false;
    rec.ProblemFiles.redim(0, 0);
    rec.ProblemTexts.redim(0, 0);
    rec.Test.Lines = 0;
    bool anyUsable = false;
    ImportRun run;
    const bool read = RawLog_AddData_ReadLogFiles_OK(db, entry, "Test read. Nothing is added to the site DB.",
                                                     "Test Read. ", anyUsable, rec, run);
    // A stopped file's lines are still in the per-file counter.
    rec.Test.Lines = run.Run.LinesAccepted + run.File.LinesAccepted;
    return read;
}

std::int64_t testReadLines(const ReadRec& rec) { return rec.Test.Lines; }

core::StrArray valueCountRows(const core::StrArray& values, const core::LngArray& counts) {
    core::StrArray rows;
    for (long i = 0; i <= values.ubound(); ++i)
        rows.append(values[i] + "\t" + std::to_string(LLIST_LngArrItem(counts, i, 0)));
    return rows;
}

}  // namespace logimport

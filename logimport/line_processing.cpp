#include "logimport/line_processing.h"

#include <algorithm>
#include <cstdint>

#include "core/dates.h"
#include "core/delimited_lists.h"
#include "core/ini_store.h"
#include "core/numbers.h"
#include "core/program_paths.h"
#include "core/text.h"
#include "core/user_interface.h"
#include "core/vb_format.h"
#include "logimport/import_run.h"
#include "logimport/line_timestamp.h"
#include "logimport/logline_store.h"
#include "logimport/queued_database.h"
#include "logimport/visit_stream.h"
#include "platform/sys/clock.h"
#include "platform/sys/rt_error.h"

namespace {

const std::string kNoMatchText = "Log Line Found cannot be matched for specified format.";

// Adds the text to the "|" list unless an equal item is there, ignoring case.
void addDistinct(std::string& list, const std::string& text) {
    bool ok = true;
    CHUNKS_AddUnique(list, text, "|", kChunksNoExclusion, 2, false, false, ok);
}

void yieldWhenDue(LineReadContext& ctx) {
    double now = sys::clock().monotonicSeconds();
    if (now < ctx.nextYield) return;
    ctx.nextYield = now + kLineYieldInterval;
    ctx.statusDue = true;
    core::doEvents();
}

}  // namespace

bool STTA_LineIsBlank(std::string_view line) {
    return line.find_first_not_of(" \t\r") == std::string_view::npos;
}

void STTA_ProblemAdd(ReadRec& rec, const logimport::ImportRun& run, const std::string& text) {
    long start = -1;
    long i = LLIST_StrArrFind(rec.ProblemFiles, run.CurrentFile, start, false);
    if (i < 0) {
        bool noSpace = false, appended = false;
        LLIST_StrArrAdd(rec.ProblemFiles, -1, run.CurrentFile, 0, i, noSpace, appended, false);
    }
    if (rec.ProblemTexts.ubound() < i) rec.ProblemTexts.redimPreserve(i);
    std::string list = rec.ProblemTexts[i];
    addDistinct(list, text);
    rec.ProblemTexts.set(i, list);
}

// The line as the prompt shows it: a long one only in part, with its length told.
std::string promptedLine(std::string_view line) {
    constexpr long kShown = 3000;
    bool cut = false;
    std::string shown = TXT_FitLen(line, kShown, "", cut);
    if (cut)
        shown += gCR + "[The line is " + TXT_FormatDbl(double(line.size()), "#,###,##0") + " characters long; the first " +
                 TXT_FormatDbl(double(shown.size()), "#,###,##0") + " are shown.]";
    return shown;
}

void STTA_LogLineNoMatch(LineReadContext& ctx, std::string_view line) {
    ReadRec& rec = *ctx.rec;
    logimport::ImportRun& run = *ctx.run;
    ++run.File.Unmatched;
    STTA_ProblemAdd(rec, run, kNoMatchText + " Line[s] Skipped.");
    if (rec.NoPromptInvalid) return;
    const std::string message = "FileName: " + run.CurrentFile + gCRCR + kNoMatchText + gCRCR +
                                "Press OK to skip line and continue with this log file. Press Cancel to skip rest of "
                                "log file." +
                                gCRCR + "Line:" + gCR + promptedLine(line) + gCRCR +
                                "Check box to skip prompt for all invalid lines. [Invalid lines will be skipped]";
    const int answer = core::ui().msgBoxDontShowAgain(message, "1", "", "", rec.NoPromptInvalid);
    if (answer != 1) throw sys::RtError(sys::kErrUserAbort, "Aborted by user", "STTA_LogLineNoMatch");
}

bool STTA_LogLineFilter(const LogFields& f, std::string& statusText, ReadRec& rec, logimport::ImportRun& run,
                        bool statusDue) {
    double skipped = double(rec.MainSet.Hits) + double(rec.RobotSet.Hits) + double(rec.CompSet.Hits) +
                     run.File.Duplicates;
    if (statusDue && skipped > 0) {
        std::string share, counts;
        STTA_SkipStatsText(share, counts, rec, run, true, skipped);
        statusText = gCR + share + " - " + counts;
    }
    if (rec.Skip404) {
        double status = STTA_LogFieldNumber(f, kFldStatus);
        if (status >= 400 && status <= 599) {
            if (rec.ListedStatus == 404) {
                long i = -1;
                bool noSpace = false, appended = false, error = false;
                LLIST_StrArrAdd(rec.ListedNames, -1, f[kFldFileName], 2, i, noSpace, appended, false);
                LLIST_LngArrAddRelative(rec.ListedCounts, i, 1, i, error, appended);
            }
            if (!(rec.Test.Active && rec.ErrStatusInTest)) {
                ++run.File.ErrorStatus;
                return true;
            }
        }
    }
    long rule = 0;
    std::string value;
    if (STTA_FltrSetTest(f, rec.MainSet, rule, false, value)) return true;
    if (STTA_FltrSetTest(f, rec.CompSet, rule, false, value)) return true;
    if (STTA_FltrSetTest(f, rec.RobotSet, rule, rec.Test.TallyRobotRejects, value)) {
        if (rec.Test.TallyRobotRejects && rule > 0) {
            bool error = false, appended = false;
            long i = rule;
            LLIST_LngArrAddRelative(rec.Test.RobotRejectCounts, rule, 1, i, error, appended);
            if (rec.Test.RobotRejectAgents.ubound() < rule) rec.Test.RobotRejectAgents.redimPreserve(rule);
            std::string list = rec.Test.RobotRejectAgents[rule];
            addDistinct(list, value);
            rec.Test.RobotRejectAgents.set(rule, list);
        }
        return true;
    }
    if (rec.Test.Active) {
        STTA_TestReadTally(rec.Test, f);
        run.File.LinesAccepted += 1;
        return true;
    }
    return false;
}

long STTA_LogLineProcess(LineReadContext& ctx, const std::vector<std::string_view>& lines, long index,
                         std::string& statusText) {
    yieldWhenDue(ctx);
    const std::string_view line = lines[static_cast<size_t>(index)];
    if (STTA_LineIsBlank(line)) return 0;
    ReadRec& rec = *ctx.rec;
    logimport::ImportRun& run = *ctx.run;
    LogFields& f = ctx.fields;
    if (line[0] == '#') ctx.fit.takeDirective(line);
    long date = 0;
    if (!STTA_LogLineSplit(line, *ctx.formats, f, &date)) {
        STTA_LogLineNoMatch(ctx, line);
        return 0;
    }
    if (!STTA_LogFieldsHoldData(f)) return 0;
    ctx.fit.takeLine(line, f);
    // Seen by the format check first: a status that is no number tells of a wrong format.
    if (!STTA_LogStatusReadable(f)) {
        STTA_LogLineNoMatch(ctx, line);
        return 0;
    }
    run.File.LinesMatched += 1;
    if (run.File.LinesMatched == 1 && !rec.Test.Active)
        INI_Put("Main", "AddedLogLns_MustDoVisitsAdd", core::Variant(core::DateTime{core::vbNow()}), gIniLastVals);
    const std::int64_t bytes = STTA_LogLineBytes(f);
    run.File.BytesMatched += bytes;
    const bool statusDue = ctx.statusDue;
    ctx.statusDue = false;
    if (STTA_LogLineFilter(f, statusText, rec, run, statusDue)) return 0;

    double serial = STTA_LineTimestamp(f, date, run.Timestamp, run.FirstTimestamp);
    if (run.File.FirstStamp == 0 || serial < run.File.FirstStamp) run.File.FirstStamp = serial;
    if (serial > run.File.LastStamp) run.File.LastStamp = serial;

    long repeatVisit = 0;
    if (run.DupCheck) {
        bool duplicate = false;
        {
            auto db = ctx.site->use();
            duplicate = STTA_LogLineDupeCheck(*db, f, rec, run, &repeatVisit);
        }
        if (duplicate) {
            if (ctx.visits && repeatVisit != 0) ctx.visits->repeatCounted(repeatVisit);
            return 0;
        }
    }
    if (ctx.visits) {
        ctx.visits->add(f, serial);
    } else {
        auto db = ctx.site->use();
        STTA_LogLineInsert(*db, f, rec, run, serial);
    }
    run.File.LinesAccepted += 1;
    run.File.BytesAccepted += bytes;
    return 0;
}

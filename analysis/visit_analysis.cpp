#include "analysis/visit_analysis.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <optional>
#include <unordered_map>
#include <unordered_set>

#include "analysis/key_tables.h"
#include "analysis/report_names.h"
#include "analysis/target_filter.h"
#include "analysis/visit_values.h"
#include "core/dates.h"
#include "core/delimited_lists.h"
#include "core/ini_store.h"
#include "core/numbers.h"
#include "core/program_paths.h"
#include "core/progress.h"
#include "core/site_name.h"
#include "core/text.h"
#include "core/user_interface.h"
#include "core/vb_format.h"
#include "logimport/page_table.h"
#include "logimport/targets.h"
#include "logimport/visit_date_range.h"
#include "logimport/visit_pages.h"
#include "platform/sys/rt_error.h"

namespace {

constexpr const char* kMain = "Main";
constexpr const char* kParams = "::*";

// A [Main] entry of the site's parameters; "" when missing.
std::string mainValue(const std::string& entry) { return INI_Get(kMain, entry, kParams, kIniMissingEmpty); }
bool mainFlag(const std::string& entry) { return INI_GetFlag(kMain, entry, kParams, kIniMissingEmpty); }

std::string dayText(double serial) { return core::vbFormat(core::DateTime{serial}, "dd mmm yyyy"); }

// The day of a yyyymmddhhnnss stamp as a date serial.
double stampDay(long long stamp) {
    const long long day = stamp / 1000000;
    return core::vbDateSerial(static_cast<long>(day / 10000), static_cast<long>(day / 100 % 100),
                              static_cast<long>(day % 100));
}

// The first or last day of "first|last" as a whole date serial.
std::optional<double> rangeSerial(const std::string& range, int item) {
    const std::optional<double> serial = core::parseDateText(CHUNKS_Get(item, range));
    if (!serial) return std::nullopt;
    return static_cast<double>(static_cast<long>(*serial));
}

// yyyymmdd of the first or last day of "first|last".
long long rangeDay(const std::string& range, int item) {
    const std::optional<double> serial = rangeSerial(range, item);
    if (!serial) return 0;
    const core::DateParts p = core::dateParts(*serial);
    return static_cast<long long>(p.year) * 10000 + p.month * 100 + p.day;
}

long long scalar(dao::Database& db, const std::string& sql) {
    long long value = 0;
    db.forEachRow(sql, {}, [&](const dao::Statement& row) { value = row.columnInt(0); });
    return value;
}

// " FROM visit ... WHERE " the range, read in start order (ties by visit number). A range
// holding most of the visits is read faster straight through the table than row by row
// through the index of start stamps, and then needs no sort when the table already holds
// it in that order: the import numbers visits as they start, but visits built by a scan
// of stored lines, or an addition of older lines, are numbered out of start order. One
// pass over the index of start stamps tells both how many visits the range holds and
// whether their row numbers, the order the table is read in, rise.
std::string visitsOfRangeInStartOrder(dao::Database& db, const std::string& clause) {
    const std::string startOrder = " ORDER BY StartTimeStamp, VisitID";
    long long inRange = 0, last = -1;
    bool numberedInOrder = true;
    db.forEachRow("SELECT rowid FROM visit WHERE " + clause + startOrder, {}, [&](const dao::Statement& row) {
        const long long id = row.columnInt(0);
        numberedInOrder = numberedInOrder && id > last;
        last = id;
        ++inRange;
    });
    if (inRange * 4 <= scalar(db, "SELECT COUNT(*) FROM visit")) return " FROM visit WHERE " + clause + startOrder;
    return " FROM visit NOT INDEXED WHERE " + clause + (numberedInOrder ? "" : startOrder);
}

std::string extensionOf(const std::string& page) {
    const std::size_t dot = page.rfind('.');
    return dot == std::string::npos ? std::string() : page.substr(dot + 1);
}

bool listHasItem(const std::string& wrappedList, const std::string& item) {
    return core::lowerAscii(wrappedList).find("|" + core::lowerAscii(item) + "|") != std::string::npos;
}

// What one analysis keeps while it runs: the key numbers of the values with their
// sightings, and what it learnt of each page.
class AnalysisRun {
public:
    AnalysisRun(dao::Database& db, STTA_Results& results, int memoryLevel)
        : db_(db), r_(results), keys_(LISTX_KeyTableNew(memoryLevel)) {}

    void visit(const AnalysedVisit& row, std::string_view furtherIDs, std::string_view furtherBytes, long day,
               const std::unordered_set<long>& area);
    // Drops the key numbers, then the held sightings, once every visit is counted.
    void releaseKeys() { keys_ = LISTX_KeyTableNew(keys_.level); }
    void releaseHeld() {
        std::vector<KeyState>().swap(states_);
        std::vector<HeldSighting>().swap(held_);
        free_ = -1;
        std::unordered_set<std::string>().swap(heldTexts_);
    }

private:
    struct PageInfo {
        std::string name;
        bool counted = false;
        bool stay = false;
    };
    // What a visit adds to the distribution lists, kept once for all its held values;
    // the texts are in heldTexts_, null where a list is not shown.
    struct VisitTexts {
        const std::string* dist1 = nullptr;
        const std::string* dist2 = nullptr;
        std::vector<const std::string*> further;  // click-through pages
    };
    // A sighting of a value held below the threshold: what its visit would have added.
    struct HeldSighting {
        std::int32_t day = 0;
        std::int32_t stays = 0;
        std::uint8_t targets = 0;  // bit t - 1: the visit reached target t
        std::int32_t next = -1;    // the value's next held sighting, or the next free slot
        std::shared_ptr<const VisitTexts> texts;  // null when no distribution list is shown
    };
    // A value is listed (its index in Vals), or holds its sightings so far, first to
    // last, in slots of held_.
    struct KeyState {
        std::int32_t index = -1;
        std::int32_t count = 0;
        std::int32_t first = -1, last = -1;
    };

    const PageInfo& page(long pageID);
    KeyState& state(const std::string& text);
    HeldSighting sighting(long day, std::int64_t stays, std::uint8_t targets);
    const std::string* heldText(const std::string& text) { return &*heldTexts_.insert(text).first; }
    void hold(KeyState& s, const HeldSighting& h);
    template <class Pages>
    long add(const std::string& value, long index, long day, std::int64_t stays, std::uint8_t targets,
             const std::string& dist1, const std::string& dist2, const Pages& further);
    void pass(const std::string& value, KeyState& s);

    dao::Database& db_;
    STTA_Results& r_;
    KeyTable keys_;
    std::vector<KeyState> states_;    // by key number
    std::vector<HeldSighting> held_;  // the held sightings of all values, in slots reused once freed
    std::int32_t free_ = -1;          // the first free slot
    std::unordered_set<std::string> heldTexts_;
    std::unordered_map<long, PageInfo> pages_;
    VisitValues values_;  // dist2 lives on from visit to visit, as the kinds need
    std::vector<std::string> further_;
};

const std::string& text(const std::string& s) { return s; }
const std::string& text(const std::string* s) { return *s; }

const AnalysisRun::PageInfo& AnalysisRun::page(long pageID) {
    auto [it, fresh] = pages_.try_emplace(pageID);
    if (fresh) {
        PageInfo& p = it->second;
        p.name = STTA_PageDisplayName(db_, pageID, r_.AnalOpts.SepFrag, r_.AnalOpts.SepQuery);
        p.counted = STTA_PageIsCounted(p.name, r_.NoCntSurfToFileTypes);
        p.stay = listHasItem(r_.CntAsPageFileTypes, extensionOf(p.name));
    }
    return it->second;
}

AnalysisRun::KeyState& AnalysisRun::state(const std::string& text) {
    long row = 0, col = 0, number = 0;
    bool added = false;
    LISTX_KeyFind(keys_, text, row, col, number, added);
    if (static_cast<std::size_t>(number) >= states_.size()) states_.resize(static_cast<std::size_t>(number) + 1);
    return states_[static_cast<std::size_t>(number)];
}

AnalysisRun::HeldSighting AnalysisRun::sighting(long day, std::int64_t stays, std::uint8_t targets) {
    const STTA_AnalOpts& o = r_.AnalOpts;
    HeldSighting h;
    h.day = static_cast<std::int32_t>(day);
    h.stays = static_cast<std::int32_t>(stays);
    h.targets = targets;
    if (o.ShowDist1 || o.ShowDist2 || o.ShowClickThru) {
        auto texts = std::make_shared<VisitTexts>();
        if (o.ShowDist1) texts->dist1 = heldText(values_.dist1);
        if (o.ShowDist2) texts->dist2 = heldText(values_.dist2);
        if (o.ShowClickThru)
            for (const std::string& p : further_) texts->further.push_back(heldText(p));
        h.texts = std::move(texts);
    }
    return h;
}

void AnalysisRun::hold(KeyState& s, const HeldSighting& h) {
    std::int32_t slot = free_;
    if (slot >= 0) {
        free_ = held_[static_cast<std::size_t>(slot)].next;
        held_[static_cast<std::size_t>(slot)] = h;
    } else {
        slot = static_cast<std::int32_t>(held_.size());
        held_.push_back(h);
    }
    held_[static_cast<std::size_t>(slot)].next = -1;
    if (s.last >= 0) held_[static_cast<std::size_t>(s.last)].next = slot;
    else s.first = slot;
    s.last = slot;
    ++s.count;
}

// Adds one visit to the value (index -1 until it is listed) and to its distribution
// lists; returns the value's index.
template <class Pages>
long AnalysisRun::add(const std::string& value, long index, long day, std::int64_t stays, std::uint8_t targets,
                      const std::string& dist1, const std::string& dist2, const Pages& further) {
    STTA_Results& r = r_;
    ValueListIncrements inc;
    inc.counters[0] = stays > 0 ? 1 : 0;
    inc.counters[1] = stays;
    for (int t = 1; t <= 4; ++t) inc.counters[static_cast<std::size_t>(t) + 1] = (targets >> (t - 1)) & 1;
    inc.dayTables = {true, true, false, true, true, true, true};
    index = STTA_ValueListAdd(day, *r.Vals, value, inc, index);
    if (r.AnalOpts.ShowDist1) STTA_ValueListAddPair(-1, index, *r.Dist1Vals, dist1, 1, 0, false);
    if (r.AnalOpts.ShowDist2 && !dist2.empty()) STTA_ValueListAddPair(-1, index, *r.Dist2Vals, dist2, 1, 0, false);
    if (r.AnalOpts.ShowClickThru)
        for (const auto& p : further) STTA_ValueListAddPair(-1, index, *r.ClickThruVals, text(p), 1, 0, false);
    return index;
}

// A value that passes its threshold counts every visit it was seen in, each as its own
// visit on its own day: the plot, Stayed, targets, distribution texts and deviation cells
// must add up to its visitors. Its held sightings are added first, then freed.
void AnalysisRun::pass(const std::string& value, KeyState& s) {
    static const VisitTexts none;
    static const std::string nothing;
    long index = s.index;
    for (std::int32_t slot = s.first; slot >= 0;) {
        HeldSighting& h = held_[static_cast<std::size_t>(slot)];
        const VisitTexts& t = h.texts ? *h.texts : none;
        index = add(value, index, h.day, h.stays, h.targets, t.dist1 ? *t.dist1 : nothing, t.dist2 ? *t.dist2 : nothing,
                    t.further);
        const std::int32_t next = h.next;
        h.texts.reset();
        h.next = free_;
        free_ = slot;
        slot = next;
    }
    s.index = static_cast<std::int32_t>(index);
    s.count = 0;
    s.first = s.last = -1;
}

void AnalysisRun::visit(const AnalysedVisit& row, std::string_view furtherIDs, std::string_view furtherBytes, long day,
                        const std::unordered_set<long>& area) {
    if (!r_.ShowNotSEitem && row.StzdSearchTerm.empty()) return;

    // The visit's pages: start page, further counted pages and stays.
    core::LngArray ids, bytes;
    if (furtherIDs == kVisitPagesElsewhere) {
        STTA_VisitPagesRead(db_, row.VisitID, ids, bytes);
    } else {
        CHUNKS_ToLngArray(furtherIDs, ids, 1, true);
        CHUNKS_ToLngArray(furtherBytes, bytes, 1, true);
    }
    const PageInfo& startPage = page(row.StartPageID);
    std::string start = startPage.counted ? startPage.name : std::string();
    further_.clear();
    std::int64_t stays = 0;
    std::vector<long> visitPages;
    for (long i = 1; i <= ids.ubound(); ++i) {
        visitPages.push_back(ids[i]);
        const PageInfo& p = page(ids[i]);
        if (!p.counted || ids[i] == row.StartPageID) continue;
        if (start.empty()) {
            start = p.name;
            continue;
        }
        further_.push_back(p.name);
        if (p.stay) ++stays;
    }
    if (start.empty()) start = "No pages requested of selected types";
    if (!area.empty() && !STTA_VisitInSiteArea(area, visitPages)) return;

    core::LngArray flags;
    STTA_VisitTargetsFlag(db_, ids, bytes, r_.Targets, flags);
    auto flag = [&](int t) -> std::int64_t { return flags.inBounds(t) ? flags[t] : 0; };

    long kind = r_.Analyzed_Field;
    if (kind == kRkTargetsReached) {
        const long targetNo = core::wholeOf<long>(core::vbVal(CHUNKS_Get(1, r_.pSvCustomRepParms)));
        const long asked = core::wholeOf<long>(core::vbVal(CHUNKS_Get(2, r_.pSvCustomRepParms)));
        if (!STTA_TargetFilterPass(flags, targetNo, asked, kind)) return;
    }
    STTA_Results& r = r_;
    if (kind == kRkTargetsReached) {  // "none" chosen: every visit adds to one empty value
        ValueListIncrements inc;
        for (int t = 1; t <= 4; ++t) inc.counters[static_cast<std::size_t>(t) + 1] = flag(t);
        inc.dayTables = {true, false, false, true, true, true, true};
        STTA_ValueListAdd(day, *r.Vals, "", inc, -1);
        return;
    }
    STTA_VisitReportValues(kind, r, db_, row, start, further_, values_);

    std::uint8_t targets = 0;
    for (int t = 1; t <= 4; ++t)
        if (flag(t) != 0) targets = static_cast<std::uint8_t>(targets | (1u << (t - 1)));
    std::optional<HeldSighting> thisVisit;  // made once, for every value of the visit it is held for
    for (const std::string& value : values_.values) {
        KeyState& s = state(value);
        if (s.index < 0 && s.count < r.AnalOpts.MinCount) {
            if (!thisVisit) thisVisit = sighting(day, stays, targets);
            hold(s, *thisVisit);
            continue;
        }
        if (s.count > 0) pass(value, s);
        s.index = static_cast<std::int32_t>(
            add(value, s.index, day, stays, targets, values_.dist1, values_.dist2, further_));
    }
}

int memoryLevel() {
    if (mainFlag("MemMin")) return 1;
    if (mainFlag("MemHi")) return 4;
    return 3;
}

}  // namespace

void STTA_ThresholdsDefault() {
    const std::pair<const char*, long> defaults[] = {
        {"ThresholdST", 4}, {"ThresholdPg", 2}, {"ThresholdSTPg", 2}, {"ThresholdTrk", 4}, {"ThresholdWrd", 4}};
    for (const auto& [entry, value] : defaults)
        if (core::trimBlanks(mainValue(entry)).empty()) INI_Put(kMain, entry, value, kParams);
}

void STTA_AnalOptsLoad(STTA_AnalOpts& opts) {
    opts.AnalStartEnd = mainValue("AnalStartEnd");
    opts.SepFrag = mainFlag("SepFrag");
    opts.SepQuery = mainFlag("SepQuery");
    opts.ShowClickThru = mainFlag("ShowClickThru");
    opts.ShowDist1 = mainFlag("ShowDist1");
    opts.ShowDist2 = mainFlag("ShowDist2");
}

std::string STTA_DateClause(const std::string& field, const STTA_AnalOpts& opts) {
    return field + ">=" + std::to_string(rangeDay(opts.AnalStartEnd, 1)) + "000000 AND " + field +
           "<=" + std::to_string(rangeDay(opts.AnalStartEnd, 2)) + "999999";
}

std::string STTA_PipeWrap(const std::string& list) {
    std::string trimmed(core::trimBlanks(list));
    if (trimmed.empty() || trimmed.front() != '|') trimmed.insert(0, "|");
    if (trimmed.size() == 1 || trimmed.back() != '|') trimmed += "|";
    return trimmed;
}

void STTA_FileTypeOptsLoad(STTA_Results& results) {
    results.ShowNotSEitem = mainFlag("ShowNotSEitem");
    results.NoCntSurfToFileTypes = STTA_PipeWrap(mainValue("CDSNoCntSurfToFileTypes"));
    results.CntAsPageFileTypes = STTA_PipeWrap(mainValue("CDSCntAsPageForAvgPages"));
    std::vector<std::string> removed;
    for (std::size_t t = 1; t < results.Targets.size(); ++t) {
        const FltrRules& rules = results.Targets[t].Rules;
        for (long k = 0; k < static_cast<long>(rules.size()); ++k) {
            const std::string ext = extensionOf(rules[static_cast<std::size_t>(k)].Val);
            const std::string item = "|" + ext + "|";
            const std::string lower = core::lowerAscii(results.NoCntSurfToFileTypes);
            const std::size_t at = lower.find(core::lowerAscii(item));
            if (ext.empty() || at == std::string::npos) continue;
            results.NoCntSurfToFileTypes.erase(at, item.size() - 1);
            if (std::none_of(removed.begin(), removed.end(),
                             [&](const std::string& r) { return core::lowerAscii(r) == core::lowerAscii(ext); }))
                removed.push_back(ext);
        }
    }
    if (removed.empty()) return;
    std::string list;
    for (const std::string& ext : removed) list += gCR + ext;
    core::ui().info(
        "The following File Types to skip when counting (specified under Edit > Program Options) include file types of "
        "pages defined as target." + gCRCR +
            "For this analysis the following file types will not be analysed. Use Program Options from the Edit menu to "
            "remove the file types always and avoid this warning screen." + gCRCR + "File types that will not be analysed:" +
            gCRCR + list.substr(gCR.size()),
        "");
}

void STTA_ResultsInit(dao::Database& db, double firstDay, double lastDay, STTA_Results& results, long kind) {
    long report = 0;
    PIS_Start("Initialising", "steps", 5, "Now:", report, 0.3, 1, false);
    std::int64_t step = 0;
    results.SiteDBName = STTA_SiteParmGet();
    results.SiteDefPath = gIniDbDef;
    results.Analyzed_Field = kind;
    if (kind == kRkTargetsReached) STTA_TargetFilterAsk(results);
    // The lists grow as values come, so nothing is counted beforehand to size them:
    // counting the range's distinct terms, engines and start pages cost a fifth of an
    // analysis. The steps keep their names.
    PIS_Update(++step, "Counting search terms", report);
    PIS_Update(++step, "Counting start files", report);
    PIS_Update(++step, "Loading list of pages", report);
    if (!PageTable.loaded() || PageTable.source() != db.path()) STTA_PageListLoad(db);
    PIS_Update(++step, "Allocating space for results", report);
    STTA_ThresholdsDefault();
    const ReportKindSpec& spec = STTA_ReportKind(kind);
    results.AnalOpts.MinCount =
        spec.threshold ? std::max(0L, core::wholeOf<long>(core::vbVal(mainValue(spec.threshold))) - 1) : 0;

    const long days = static_cast<long>(lastDay - firstDay) + 1;
    results.DayList = std::make_shared<std::vector<std::string>>();
    for (long d = 0; d < days; ++d) results.DayList->push_back(dayText(firstDay + d));
    results.Vals = std::make_shared<STTA_ValueList>();
    results.Words = std::make_shared<STTA_ValueList>();
    results.Dist1Vals = std::make_shared<STTA_ValueList>();
    results.Dist2Vals = std::make_shared<STTA_ValueList>();
    results.ClickThruVals = std::make_shared<STTA_ValueList>();
    ValueListParts all;
    all.dayCnt = true;
    all.counters.fill(true);
    STTA_ValueListAlloc(*results.Vals, 0, days, 0, all);
    STTA_ValueListAlloc(*results.Words, 0, 0, 0, {});
    STTA_ValueListAlloc(*results.Dist1Vals, 0, 0, 0, {});
    STTA_ValueListAlloc(*results.Dist2Vals, 0, 0, 0, {});
    STTA_ValueListAlloc(*results.ClickThruVals, 0, 0, 0, {});
    results.RestRowText.clear();
    results.AnalNote.clear();
    results.Targets.assign(1, TargetSpec{});
    PIS_End(report);
}

bool STTA_VisitsAnalyse(dao::Database& db, STTA_Results& results, long topCount, long kind) {
    (void)topCount;  // the top count shapes the reports, not what is counted
    STTA_Results fresh;
    STTA_ResultsCopy(results, fresh);  // keeps the report parameters
    fresh.DevReady = false;
    STTA_AnalOptsLoad(fresh.AnalOpts);
    if (!STTA_ReportKind(kind).clickThruAllowed && fresh.AnalOpts.ShowClickThru) {
        core::ui().info("Show column with surf-to-pages not allowed for report on \"visited pages\"." +
                                       gCRCR + "Option has been set off.",
                                   "");
        fresh.AnalOpts.ShowClickThru = false;
    }
    const std::string where = " FROM visit WHERE " + STTA_DateClause("StartTimeStamp", fresh.AnalOpts);
    const long long visits = scalar(db, "SELECT COUNT(*)" + where);
    if (visits == 0) {
        core::ui().info(
            "No log data in date range selected. Specify Date range to analyse on Analysis menu.", "");
        return false;
    }
    const double firstDay = stampDay(scalar(db, "SELECT MIN(StartTimeStamp)" + where));
    // The days end with the last visit, but never after the range: a visit that runs
    // past midnight of the range's last day must not add a day without visits.
    const double rangeFirst = rangeSerial(fresh.AnalOpts.AnalStartEnd, 1).value_or(firstDay);
    const double rangeLast = rangeSerial(fresh.AnalOpts.AnalStartEnd, 2).value_or(firstDay);
    const double lastVisitEnd =
        stampDay(scalar(db, "SELECT EndTimeStamp" + where + " ORDER BY StartTimeStamp DESC LIMIT 1"));
    const double lastDay = std::max(firstDay, std::min(lastVisitEnd, rangeLast));
    fresh.VisitCount = static_cast<double>(visits);

    try {
        STTA_ResultsInit(db, firstDay, lastDay, fresh, kind);
        STTA_TargetsLoad(fresh.Targets);
        STTA_FileTypeOptsLoad(fresh);
        std::unordered_set<long> area;
        fresh.SiteArea.clear();
        if (mainFlag("ShowOnlySelSiteArea")) {
            fresh.SiteArea = mainValue("ShowOnlySelSiteAreaParm");
            STTA_SiteAreaPageIDs(db, fresh.SiteArea, area);
            // A chosen area without pages gives an empty report, not an unfiltered one.
            if (area.empty()) area.insert(-1);
        }

        long report = 0;
        PIS_Start("Read visits for selected date range. Check targets && compile statistics.", "visits", visits,
                  "Dates: " + core::vbFormat(core::DateTime{rangeFirst}, "dd mmm yy") + " to " +
                      core::vbFormat(core::DateTime{rangeLast}, "dd mmm yy"),
                  report, 0.3, 1, false);
        AnalysisRun run(db, fresh, memoryLevel());
        std::int64_t done = 0;
        db.forEachRow(
            "SELECT StartPageID,VisitID,CDSClickFurtherPageIDs,CDSBytesClickFurtherPageIDs,StzdSearchTerm,NONSERefr,"
            "SearchEngine,StartTimeStamp" +
                visitsOfRangeInStartOrder(db, STTA_DateClause("StartTimeStamp", fresh.AnalOpts)),
            {}, [&](const dao::Statement& s) {
                if ((++done & 255) == 0)
                    PIS_Update(done, ". Vals: " + std::to_string(fresh.Vals->Items.size() - 1), report);
                AnalysedVisit row;
                row.StartPageID = static_cast<long>(s.columnInt(0));
                row.VisitID = static_cast<long>(s.columnInt(1));
                row.StzdSearchTerm = std::string(s.columnText(4));
                row.NONSERefr = std::string(s.columnText(5));
                row.SearchEngine = std::string(s.columnText(6));
                const long day = static_cast<long>(stampDay(s.columnInt(7)) - firstDay);
                run.visit(row, s.columnText(2), s.columnText(3), day, area);
            });
        run.releaseKeys();
        PIS_Update(done, "Complete. Releasing Memory 1/2", report, {.force = true});
        run.releaseHeld();
        PIS_Update(done, "Complete. Releasing Memory 2/2", report, {.force = true});
        PIS_End(report);
    } catch (...) {
        PIS_CloseAll();
        throw;
    }
    fresh.DayRange = std::to_string(static_cast<long>(firstDay)) + "|" +
                     std::to_string(static_cast<long>(firstDay) + static_cast<long>(fresh.DayList->size()) - 1);
    results = std::move(fresh);
    return true;
}

std::string STTA_StoredRangeText(dao::Database& db) {
    double first = 0, last = 0;
    if (!STTA_SiteDBDateRange(db, first, last, false)) return {};
    // The range's ends are yyyymmddhhnnss stamps.
    const auto day = [](double stamp) { return core::vbFormat(static_cast<long>(stamp / 1000000), "@@@@-@@-@@"); };
    return day(first) + "|" + day(last);
}

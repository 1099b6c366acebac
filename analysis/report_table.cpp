#include "analysis/report_table.h"

#include <algorithm>
#include <cmath>
#include <unordered_set>

#include "analysis/deviation_columns.h"
#include "analysis/distribution_texts.h"
#include "analysis/list_sorts.h"
#include "analysis/report_names.h"
#include "analysis/visit_values.h"
#include "core/delimited_lists.h"
#include "core/ini_store.h"
#include "core/numbers.h"
#include "core/progress.h"
#include "core/text.h"
#include "core/user_interface.h"
#include "core/vb_format.h"
#include "platform/sys/rt_error.h"

namespace {

constexpr int kTargetBandStart = 6;
// Top reports show this many rows when the site has not chosen a number.
constexpr long kDefaultTopCount = 25;
// A group row of more members than this shows the progress of its summing.
constexpr std::size_t kGroupProgressMembers = 301;
constexpr int kDistMaxLength = 600;
constexpr std::uint32_t kStripeColour = 65535;
// Light blue, light yellow, light pink, light cyan (0x00BBGGRR).
constexpr std::uint32_t kTargetColours[] = {0x00FFC0C0, 0x00C0FFFF, 0x00FFC0FF, 0x00FFFFC0};

// The two formats of the report's ratios, read once.
const core::NumberFormat& ratioFormat(const char* format) {
    static const core::NumberFormat whole("0"), tenths("0.0");
    return format[1] == '.' ? tenths : whole;
}

// a / b of two counts rounded to `decimals` places with halves away from zero, worked in
// whole numbers. For counts the quotient's distance to a half is either none or far
// larger than the 15th digit, so this is what formatting the quotient gives.
std::string countRatio(long long a, long long b, int decimals) {
    const long long scale = decimals == 1 ? 10 : 1;
    const long long n = (2 * a * scale + b) / (2 * b);
    if (decimals == 0) return std::to_string(n);
    return std::to_string(n / 10) + "." + static_cast<char>('0' + n % 10);
}

std::string pct(double a, double b, const char* format) {
    if (b == 0) return "na";
    const int decimals = format[1] == '.' ? 1 : 0;
    const bool counts = a >= 0 && b > 0 && a < 1e12 && b < 1e12 && a == std::floor(a) && b == std::floor(b);
    if (counts) return countRatio(static_cast<long long>(a), static_cast<long long>(b), decimals);
    return ratioFormat(format)(a / b);
}

std::string number(double v) { return core::vbStr(v); }

int targetCount(const STTA_Results& r) { return static_cast<int>(r.Targets.size()) - 1; }

// The text after the last "." when it stands after the last "/".
std::string fileType(const std::string& page) {
    const std::size_t dot = page.rfind('.');
    const std::size_t slash = page.rfind('/');
    if (dot == std::string::npos || (slash != std::string::npos && slash > dot)) return {};
    return page.substr(dot + 1);
}

int bandColumn(int target) { return kTargetBandStart + 4 * (target - 1); }

void targetCellsFromTotals(ReportTable& t, long row, const STTA_RowTotals& g, int targets) {
    for (int k = 1; k <= std::min(targets, 4); ++k) STTA_TotalTargetCellsWrite(t, row, g, k + 2, bandColumn(k));
}

}  // namespace

void STTA_TargetHeaderWrite(ReportTable& t, long row, int c, const TargetSpec& target) {
    t.setText(row, c, STTA_TargetLabel(target));
    t.setText(row, c + 1, "% of total");
    t.setText(row, c + 2, "% of stays");
}

void STTA_TargetCellsWrite(const STTA_Results& r, ReportTable& t, long row, long item,
                           const std::vector<std::int64_t>& counter, int c) {
    if (item < 0) return;
    const double users = static_cast<double>(STTA_ValueList::at(r.Vals->Cnt, item));
    const double stayed = static_cast<double>(STTA_ValueList::at(r.Vals->CntStay(), item));
    const double hits = static_cast<double>(STTA_ValueList::at(counter, item));
    t.setText(row, c, number(hits));
    t.setText(row, c + 1, pct(hits * 100, users, "0") + " %");
    t.setText(row, c + 2, pct(hits * 100, stayed, "0") + " %");
}

void STTA_TotalTargetCellsWrite(ReportTable& t, long row, const STTA_RowTotals& g, int sumsIndex, int c) {
    const double s = g.Sums[static_cast<std::size_t>(sumsIndex)];
    t.setText(row, c, number(s));
    t.setText(row, c + 1, pct(s * 100, g.Users, "0") + " %");
    t.setText(row, c + 2, pct(s * 100, g.Sums[1], "0") + " %");
}

std::string STTA_NamesToIndexList(const std::vector<std::string>& names, const STTA_ValueList& searched) {
    std::string list;
    for (const std::string& name : names)
        if (const long i = searched.find(name); i >= 0) list += (list.empty() ? "" : "|") + std::to_string(i);
    return list;
}

std::string STTA_IndexesToText(const std::vector<long>& indexes, const std::vector<std::string>& items,
                               const std::string& separator, long maxLength, const std::string& ending) {
    std::string text;
    bool first = true;
    for (long i : indexes) {
        if (i < 0 || static_cast<std::size_t>(i) >= items.size()) continue;
        text += (first ? "" : separator) + items[static_cast<std::size_t>(i)];
        first = false;
        if (maxLength > 0 && static_cast<long>(text.size()) > maxLength) return TXT_FitLen(text, maxLength, ending);
    }
    return text;
}

long STTA_TopCount() {
    const long n = core::wholeOf<long>(INI_GetNumVar("Main", "CntTopVals", "::*", kIniMissingEmpty));
    return n >= 1 ? n : kDefaultTopCount;
}

std::string ReportTable::text(long row, int col) const {
    if (row < 0 || row >= cells.rows() || col < 0 || col >= cells.cols()) return {};
    return std::string(cells.text(row, col));
}

void ReportTable::setText(long row, int col, const std::string& text) {
    if (row >= 0 && row < cells.rows() && col >= 0 && col < cells.cols()) cells.setText(row, col, text);
}

void ReportTable::PutST(long row, const std::string& value) {
    if (row < 0 || row >= cells.rows()) return;
    entries_.push_back({value, 0});
    cells.setRowData(row, static_cast<long>(entries_.size()));
    allSTs += "|" + value;
}

const ReportTable::RowEntry* ReportTable::entryOf(long row) const {
    if (row < 0 || row >= cells.rows()) return nullptr;
    const long n = cells.rowData(row);
    return n >= 1 && static_cast<std::size_t>(n) <= entries_.size() ? &entries_[static_cast<std::size_t>(n) - 1] : nullptr;
}

std::string ReportTable::GetSTs4Row(long row) const {
    return row >= 0 && row < cells.rows() ? STsOfEntry(cells.rowData(row)) : std::string();
}

std::string ReportTable::STsOfEntry(long entry) const {
    if (entry < 1 || static_cast<std::size_t>(entry) > entries_.size()) return {};
    const std::string& items = entries_[static_cast<std::size_t>(entry) - 1].items;
    return items == ".. Not counted separately .." ? std::string() : items;
}

void ReportTable::setRowPages(long row, double pages) {
    if (entryOf(row)) entries_[static_cast<std::size_t>(cells.rowData(row)) - 1].pages = pages;
}

double ReportTable::rowPages(long row) const {
    const RowEntry* e = entryOf(row);
    return e ? e->pages : 0;
}

std::string STTA_TargetLabel(const TargetSpec& target) {
    if (target.Rules.empty()) return {};
    std::string label;
    const std::string joint = target.Typ == 3 ? " & " : " / ";
    for (const FltrRule& rule : target.Rules) {
        if (rule.Val.empty()) continue;
        if (!label.empty()) label += joint;
        label += rule.Val;
    }
    return target.Typ == 1 ? "*B " + label : label;
}

void STTA_ReportGridSetup(const std::vector<TargetSpec>& targets, ReportTable& t, long kind,
                          const STTA_AnalOpts& options) {
    const int targetsShown = static_cast<int>(targets.size()) - 1;
    int next = kTargetBandStart + 4 * std::max(0, targetsShown);
    t.col = ReportColumns{};
    if (options.ShowDist1) t.col.Dist0 = next++;
    if (options.ShowDist2) t.col.DistAlternate = next++;
    if (options.ShowClickThru) t.col.DistClickThru = next++;
    const ReportKindSpec& spec = STTA_ReportKind(kind);
    if (spec.fileTypeColumn) t.col.Ftype = next++;
    // Deviation columns compare single items over time, which a group row does not stand for.
    if (!options.ValIsGroupedRep && STTA_DevShow()) {
        t.col.Deviation = next;
        next += kDevColumns;
    }
    t.cells.setCols(next);
    if (t.cells.rows() < 1) t.cells.setRows(1);
    t.fixedCols = 3;
    t.colAlignment.assign(static_cast<std::size_t>(next), 6);
    t.colAlignment[0] = 0;
    t.colWidth.assign(static_cast<std::size_t>(next), 960);
    std::string col2, col1;
    const std::string title = STTA_ReportTypeName(kind, col2, col1);
    const std::pair<const char*, int> fixed[] = {{"", spec.itemColumnWidth},
                                                 {"Visitors (Users)", 600}, {"Stayed", 600}, {"stay %", 600},
                                                 {"Avg htm pages", 675}, {"% of Ttl Visitors", 675}};
    for (int c = 0; c < 6; ++c) {
        t.setText(0, c, c == 0 ? title : fixed[c].first);
        t.colWidth[static_cast<std::size_t>(c)] = fixed[c].second;
    }
    for (int k = 1; k <= std::min(targetsShown, 4); ++k)
        STTA_TargetHeaderWrite(t, 0, bandColumn(k), targets[static_cast<std::size_t>(k)]);
    const std::pair<int, std::pair<std::string, int>> optional[] = {
        {t.col.Dist0, {col1, 2000}}, {t.col.DistAlternate, {col2, 4000}},
        {t.col.DistClickThru, {"Surf thru to page", 4000}}, {t.col.Ftype, {"File Type", 900}}};
    for (const auto& [c, caption] : optional) {
        if (c < 0) continue;
        t.setText(0, c, caption.first);
        t.colWidth[static_cast<std::size_t>(c)] = caption.second;
    }
    if (t.col.Deviation >= 0) {
        t.setText(0, t.col.Deviation, "Deviation Cols");
        std::fill_n(t.colWidth.begin() + t.col.Deviation, kDevColumns, 900);
    }
    t.captionRowHeight = 450;
}

bool ReportTable::sameCells(const ReportTable& other) const {
    if (cells.rows() != other.cells.rows() || cells.cols() != other.cells.cols()) return false;
    for (long row = 0; row < cells.rows(); ++row)
        for (int col = 0; col < cells.cols(); ++col)
            if (cells.text(row, col) != other.cells.text(row, col)) return false;
    return true;
}

void STTA_ItemRowWrite(const STTA_Results& r, ReportTable& t, long item, long& row) {
    ++row;
    const STTA_ValueList& v = *r.Vals;
    const double users = static_cast<double>(STTA_ValueList::at(v.Cnt, item));
    const double stayed = static_cast<double>(STTA_ValueList::at(v.CntStay(), item));
    const double pages = static_cast<double>(STTA_ValueList::at(v.CntPages(), item));
    t.setText(row, 0, v.Items[static_cast<std::size_t>(item)]);
    t.PutST(row, std::to_string(item));
    t.setRowPages(row, pages);
    t.setText(row, 1, number(users));
    t.setText(row, 2, number(stayed));
    t.setText(row, 3, pct(stayed * 100, users, "0") + " %");
    t.setText(row, 4, pct(pages, stayed, "0.0"));
    const std::pair<int, const STTA_ValueList*> dists[] = {
        {t.col.Dist0, r.Dist1Vals.get()}, {t.col.DistAlternate, r.Dist2Vals.get()},
        {t.col.DistClickThru, r.ClickThruVals.get()}};
    for (const auto& [c, list] : dists)
        if (c >= 0) t.setText(row, c, STTA_DistTextPairs(*list, item, static_cast<std::int64_t>(users), kDistMaxLength));
    for (int k = 1; k <= std::min(targetCount(r), 4); ++k) STTA_TargetCellsWrite(r, t, row, item, v.CntTgt(k), bandColumn(k));
    if (t.col.Ftype >= 0) {
        const std::string& value = v.Items[static_cast<std::size_t>(item)];
        const bool withTerm = STTA_ReportKind(r.Analyzed_Field).values == VisitValueRule::TermWithStartPage;
        t.setText(row, t.col.Ftype, fileType(withTerm ? STTA_StartPageOfTermValue(value) : value));
    }
    if (t.col.Deviation >= 0) {
        bool bandStart = false, hidden = false;
        STTA_DevCellsWrite(DevMode::ItemCells, r, t, item, row, 0, bandStart, hidden);
    }
}

void STTA_TotalCellsWrite(ReportTable& t, long row, const STTA_RowTotals& g) {
    t.setText(row, 1, number(g.Users));
    t.setText(row, 2, number(g.Sums[1]));
    t.setText(row, 3, pct(g.Sums[1] * 100, g.Users, "0") + " %");
    t.setText(row, 4, pct(g.Pages, g.Sums[1], "0.0"));
    for (long r = 1; r <= t.rows() - 3; ++r)
        t.setText(r, 5, pct(core::vbVal(t.cells.text(r, 1)) * 100, g.Users, "0.0") + " %");
}

void STTA_GroupRowWrite(const std::vector<std::string>& members, const std::string& indexList,
                        const STTA_Results& r, ReportTable& t, const std::string& label, bool withDistributions) {
    const long row = t.rows();
    t.cells.setRows(row + 1);
    std::string shown = label;
    if (shown.empty())
        for (const std::string& m : members) shown += (shown.empty() ? "" : ", ") + m;
    t.setText(row, 0, shown);
    t.PutST(row, indexList);

    const STTA_ValueList& v = *r.Vals;
    const std::unordered_set<std::string> memberSet(members.begin(), members.end());
    STTA_RowTotals g;
    std::vector<std::int64_t> merged[3];
    const STTA_ValueList* lists[3] = {r.Dist1Vals.get(), r.Dist2Vals.get(), r.ClickThruVals.get()};
    const int distCols[3] = {t.col.Dist0, t.col.DistAlternate, t.col.DistClickThru};
    const auto addMember = [&](long item) {
        g.Users += static_cast<double>(STTA_ValueList::at(v.Cnt, item));
        g.Sums[1] += static_cast<double>(STTA_ValueList::at(v.CntStay(), item));
        g.Pages += static_cast<double>(STTA_ValueList::at(v.CntPages(), item));
        if (withDistributions)
            for (int d = 0; d < 3; ++d)
                if (distCols[d] >= 0) STTA_PairColumnAdd(lists[d]->PairCnt, item, merged[d]);
        for (int k = 1; k <= 4; ++k)
            g.Sums[static_cast<std::size_t>(k) + 2] += static_cast<double>(STTA_ValueList::at(v.CntTgt(k), item));
    };
    // Summing a long group shows its progress; Stop ends the summing, and the row keeps
    // what was summed so far.
    const bool withProgress = members.size() > kGroupProgressMembers;
    long report = 0;
    std::int64_t done = 0;
    if (withProgress)
        PIS_Start("Calculating totals for " + STTA_ReportTitlePlural(r.Analyzed_Field) + ".", "terms",
                  static_cast<std::int64_t>(members.size()) - 1, "", report, 0.5, 1, false);
    try {
        for (std::size_t i = 0; i < v.Items.size(); ++i) {
            if (!memberSet.count(v.Items[i])) continue;
            if (withProgress) PIS_Update(done, "", report, {.increment = true});
            addMember(static_cast<long>(i));
        }
    } catch (const sys::RtError& e) {
        if (e.number() != sys::kErrUserAbort) {
            PIS_CloseAll();
            throw;
        }
    }
    if (withProgress) {
        PIS_End(report);
        core::ui().doEvents();
    }
    t.setRowPages(row, g.Pages);
    STTA_TotalCellsWrite(t, row, g);
    if (withDistributions)
        for (int d = 0; d < 3; ++d)
            if (distCols[d] >= 0)
                t.setText(row, distCols[d],
                          STTA_DistText(lists[d]->Items, merged[d], std::llround(g.Users), kDistMaxLength));
    targetCellsFromTotals(t, row, g, targetCount(r));
}

void STTA_TotalRowWrite(const STTA_Results& r, ReportTable& t, const std::string& label) {
    STTA_RowTotals g;
    const auto cell = [&t](long row, int col) {
        return col < t.cells.cols() ? t.cells.text(row, col) : std::string_view();
    };
    for (long row = 1; row < t.rows(); ++row) {
        g.Users += core::vbVal(cell(row, 1));
        g.Sums[1] += core::vbVal(cell(row, 2));
        g.Pages += t.rowPages(row);
        for (int k = 1; k <= 4; ++k)
            g.Sums[static_cast<std::size_t>(k) + 2] += core::vbVal(cell(row, bandColumn(k)));
    }
    t.cells.setRows(t.rows() + 2);
    const long row = t.rows() - 1;
    t.setText(row, 0, label);
    STTA_TotalCellsWrite(t, row, g);
    targetCellsFromTotals(t, row, g, targetCount(r));
    const std::vector<std::string>& days = *r.DayList;
    t.plotStartEndDate = (days.empty() ? std::string() : days.front()) + "|" + (days.empty() ? std::string() : days.back());
}

namespace {

void sortByUsers(ReportTable& t, long lastRow) {
    if (lastRow > 1) t.cells.sortRows(1, lastRow, 1, 1, grid::kSortNumericDescending);
}

}  // namespace

bool STTA_TopRowsWrite(const STTA_Results& r, ReportTable& t, long n) {
    const STTA_ValueList& v = *r.Vals;
    if (v.Items.empty()) return false;
    core::LngArray counts, sorted, order;
    counts.redim(0, static_cast<long>(v.Items.size()) - 1);
    for (std::size_t i = 0; i < v.Items.size(); ++i)
        counts.set(static_cast<long>(i), static_cast<long>(STTA_ValueList::at(v.Cnt, static_cast<long>(i))));
    bool done = false;
    const long top = std::max(0L, std::min(n, static_cast<long>(v.Items.size())));
    LISTX_SortLngArr(counts, sorted, order, true, top, "", true, done);
    std::vector<bool> isTop(v.Items.size(), false);
    for (long k = 0; k < top; ++k) isTop[static_cast<std::size_t>(order[k])] = true;
    t.cells.setRows(top + 1);
    long row = 0;
    std::vector<std::string> rest;
    std::string restList;
    for (std::size_t i = 0; i < v.Items.size(); ++i) {
        if (isTop[i]) {
            STTA_ItemRowWrite(r, t, static_cast<long>(i), row);
            continue;
        }
        rest.push_back(v.Items[i]);
        restList += (restList.empty() ? "" : "|") + std::to_string(i);
    }
    sortByUsers(t, t.rows() - 1);
    if (!rest.empty()) STTA_GroupRowWrite(rest, restList, r, t, ".. Rest ..", true);
    STTA_TotalRowWrite(r, t, ".. Total ..");
    return true;
}

bool STTA_TopReportWrite(ReportTable& t, STTA_Results& r) {
    r.AnalOpts.ValIsGroupedRep = false;
    STTA_ReportGridSetup(r.Targets, t, r.Analyzed_Field, r.AnalOpts);
    const bool written = STTA_TopRowsWrite(r, t, STTA_TopCount());
    STTA_TargetBandsColour(r, t);
    return written;
}

void STTA_AllRowsWrite(const STTA_Results& r, ReportTable& t) {
    const STTA_ValueList& v = *r.Vals;
    if (v.Items.empty()) return;
    t.cells.setRows(static_cast<long>(v.Items.size()) + 1);
    long row = 0;
    for (std::size_t i = 0; i < v.Items.size(); ++i) STTA_ItemRowWrite(r, t, static_cast<long>(i), row);
    sortByUsers(t, t.rows() - 1);
    STTA_TotalRowWrite(r, t, ".. Total ..");
}

void STTA_IndexRowsWrite(const std::vector<long>& indexes, const STTA_Results& r, ReportTable& t) {
    if (r.Vals->Items.empty()) return;
    t.cells.setRows(static_cast<long>(indexes.size()) + 1);
    long row = 0;
    for (long i : indexes) {
        if (i >= 0 && static_cast<std::size_t>(i) < r.Vals->Items.size()) STTA_ItemRowWrite(r, t, i, row);
        else ++row;
    }
    sortByUsers(t, t.rows() - 1);
    STTA_TotalRowWrite(r, t, ".. Total ..");
}

void STTA_GroupedReportWrite(STTA_Results& r, ReportTable& t, const std::string& section) {
    r.AnalOpts.ValIsGroupedRep = true;
    t.grouped = true;
    const STTA_ValueList& v = *r.Vals;
    if (v.Items.empty()) return;
    const ReportKindSpec& kind = STTA_ReportKind(r.Analyzed_Field);
    const std::string listName = kind.groupNameList;
    core::StrArray groups;
    CHUNKS_IniGet(section, listName, "::*", "|", kChunksNoExclusion, groups, 0, 3);
    std::vector<bool> used(v.Items.size(), false);
    t.cells.setRows(1);
    for (long g = groups.lbound(); groups.hasBounds() && g <= groups.ubound(); ++g) {
        if (groups[g].empty()) continue;
        core::StrArray split;
        CHUNKS_Split(INI_Get(section, groups[g], "::*", kIniMissingEmpty), split, 0);
        std::vector<std::string> members;
        for (long k = split.lbound(); split.hasBounds() && k <= split.ubound(); ++k) members.push_back(split[k]);
        members.push_back(".. Grouped: " + groups[g]);
        const std::string indexList = STTA_NamesToIndexList(members, v);
        for (const std::string& m : members)
            if (const long i = v.find(m); i >= 0) used[static_cast<std::size_t>(i)] = true;
        STTA_GroupRowWrite(members, indexList, r, t, groups[g], true);
    }
    sortByUsers(t, t.rows() - 1);
    std::vector<std::string> rest;
    std::string restList;
    for (std::size_t i = 0; i < v.Items.size(); ++i) {
        if (used[i]) continue;
        if (!kind.restRow) {
            long row = t.rows() - 1;
            t.cells.setRows(t.rows() + 1);
            STTA_ItemRowWrite(r, t, static_cast<long>(i), row);
            continue;
        }
        rest.push_back(v.Items[i]);
        restList += (restList.empty() ? "" : "|") + std::to_string(i);
    }
    if (kind.restRow) STTA_GroupRowWrite(rest, restList, r, t, ".. Rest ..", true);
    STTA_TotalRowWrite(r, t, ".. Total ..");
    STTA_TargetBandsColour(r, t);
}

void STTA_TargetBandsColour(const STTA_Results& r, ReportTable& t) {
    for (int k = 1; k <= targetCount(r); ++k) {
        const int c = bandColumn(k);
        if (c + 3 >= t.cells.cols()) break;
        const std::uint32_t colour = k <= 4 ? kTargetColours[k - 1] : 0;
        const int widths[] = {1200, 550, 550, 60};
        for (int d = 0; d < 4; ++d) {
            t.colWidth[static_cast<std::size_t>(c + d)] = widths[d];
            for (long row = 0; row < t.rows(); ++row)
                t.cells.setBackColor(row, c + d, d == 3 ? kStripeColour : colour);
        }
    }
    if (t.col.Deviation >= 0) STTA_DevBandsColour(r, t);
    const STTA_AnalOpts& o = r.AnalOpts;
    t.thickRows = r.Analyzed_Field == kRkTrack || o.ShowDist1 || o.ShowDist2 || o.ShowClickThru;
}

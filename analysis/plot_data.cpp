#include "analysis/plot_data.h"

#include <algorithm>
#include <array>

#include "analysis/report_names.h"
#include "analysis/report_table.h"
#include "core/dates.h"
#include "core/delimited_lists.h"
#include "core/numbers.h"
#include "core/text.h"
#include "core/vb_format.h"

namespace {

constexpr long kMaxPeriods = 55;
constexpr int kCols = 7;
// Day tables plotted in columns 1 to 6: users, stayed, targets 1 to 4.
constexpr std::array<int, 6> kDayTableOfColumn = {0, 1, 3, 4, 5, 6};

std::string fmt(double serial, const char* format) { return core::vbFormat(core::DateTime{serial}, format); }

std::optional<double> dayOf(const std::string& text) {
    const std::optional<double> serial = core::parseDateText(core::trimBlanks(text));
    if (!serial) return std::nullopt;
    return static_cast<double>(static_cast<long>(*serial));
}

double cellNumber(const core::Table2D& t, long r, long c) {
    const core::Cell& cell = t(r, c);
    if (const auto* n = std::get_if<long>(&cell)) return static_cast<double>(*n);
    if (const auto* d = std::get_if<double>(&cell)) return *d;
    return 0;
}

}  // namespace

std::int64_t STTA_IdsPerDaySum(const std::vector<long>& items, const analysis::DayTable& table, long first,
                               long last) {
    return table.sum(items, first, last);
}

bool STTA_DateRangeClip(const std::string& requested, const std::string& available, std::string& message,
                        std::string& clipped) {
    message.clear();
    clipped.clear();
    const auto rs = dayOf(CHUNKS_Get(1, requested)), re = dayOf(CHUNKS_Get(2, requested));
    const auto as = dayOf(CHUNKS_Get(1, available)), ae = dayOf(CHUNKS_Get(2, available));
    if (!as || !ae) {
        message = "Entire date range is not available." + gCR;
        return false;
    }
    if (!rs || !re || *rs > *ae || *re < *as) {
        message = "Entire date range is not available." + gCR;
        return false;
    }
    double start = *rs, end = *re;
    if (start < *as) {
        start = *as;
        message += "Start date is before available dates." + gCR;
    }
    if (end > *ae) {
        end = *ae;
        message += "End date is after available dates." + gCR;
    }
    clipped = std::to_string(static_cast<long>(start)) + "|" + std::to_string(static_cast<long>(end));
    return message.empty();
}

PlotTable PlotTtl4IndexesSTByDate(const STTA_Results& r, PlotRequest& req) {
    PlotTable out;
    const std::vector<std::string>& days = *r.DayList;
    if (days.empty()) return out;
    const double firstSerial = core::vbVal(CHUNKS_Get(1, r.DayRange));
    const std::string available = fmt(firstSerial, "yyyy-mm-dd") + "|" +
                                  fmt(firstSerial + static_cast<double>(days.size()) - 1, "yyyy-mm-dd");
    std::string message, clipped;
    STTA_DateRangeClip(req.dateRange.empty() ? available : req.dateRange, available, message, clipped);
    long first = 0, last = static_cast<long>(days.size()) - 1;
    if (clipped.empty()) {
        if (!req.dateRange.empty())
            out.notice = "Date range to be plotted ignored. No log data available in that range." + gCRCR +
                         "All dates available will be plotted." + gCRCR +
                         "Change the Date range to plot using the view menu.";
        req.dateRange = days.front() + "|" + days.back();
    } else {
        first = std::clamp(core::wholeOf<long>(core::vbVal(CHUNKS_Get(1, clipped)) - firstSerial), 0L, last);
        last = std::clamp(core::wholeOf<long>(core::vbVal(CHUNKS_Get(2, clipped)) - firstSerial), first, last);
    }
    req.periodDays = std::max(1L, req.periodDays);
    if ((last - first) / static_cast<double>(req.periodDays) > kMaxPeriods)
        req.periodDays = std::max(1L, static_cast<long>(core::roundHalfEven((last - first) / double(kMaxPeriods))));

    const int targets = std::min(4, static_cast<int>(r.Targets.size()) - 1);
    const STTA_ValueList& v = *r.Vals;
    core::Table2D& t = out.table;
    const long periods = (last - first) / req.periodDays + 1;
    t.redim(0, periods, 0, kCols);
    std::array<double, kCols + 1> maxima{};
    std::string labels;
    // Running sums per day of each plotted table, so a period of any number of items
    // is one subtraction.
    std::array<std::vector<std::int64_t>, 6> running;
    for (int c = 1; c <= 2 + targets; ++c) {
        const std::vector<std::int64_t> perDay = v.DayCnt[static_cast<std::size_t>(kDayTableOfColumn[c - 1])].perDay(
            req.items, static_cast<long>(days.size()));
        std::vector<std::int64_t>& sums = running[static_cast<std::size_t>(c - 1)];
        sums.assign(perDay.size() + 1, 0);
        for (std::size_t d = 0; d < perDay.size(); ++d) sums[d + 1] = sums[d] + perDay[d];
    }
    long row = 0;
    for (long start = first; start <= last; start += req.periodDays) {
        ++row;
        const long end = std::min(last, start + req.periodDays - 1);
        for (int c = 1; c <= 2 + targets; ++c) {
            const std::vector<std::int64_t>& sums = running[static_cast<std::size_t>(c - 1)];
            const double n = static_cast<double>(sums[static_cast<std::size_t>(end) + 1] - sums[static_cast<std::size_t>(start)]);
            t.set(row, c, static_cast<long>(n));
            maxima[static_cast<std::size_t>(c)] = std::max(maxima[static_cast<std::size_t>(c)], n);
        }
        const long n = end - start + 1;
        const double s = firstSerial + static_cast<double>(start);
        std::string periodText = fmt(s, "dd mmm") + " [" + core::vbStr(cellNumber(t, row, 1));
        if (n < req.periodDays) periodText += " /" + std::to_string(n) + "d.";
        periodText += "]";
        labels += (row > 1 ? "|" : "") + (" " + std::to_string(n) + " d. from " + periodText + " " + fmt(s, "yyyy"));
        t.set(row, 0, req.dateTitles ? fmt(s, "dd mmm") : !req.numberTitles ? periodText : " " + std::to_string(row));
    }
    out.columnLabels = labels;

    const long b = req.removedColumns;
    std::string title = "Users";
    if (req.percentView && b >= 1 && b < kCols) {
        STTA_PlotPctOfCol(t, b);
        title = b == 1 ? "Pct. of total" : b == 2 ? "Pct. stayed" : "Pct. users at target " + std::to_string(b - 2) + " also";
    }
    const std::string kindTitles = STTA_ReportTitlePlural(r.Analyzed_Field);
    std::string hint = req.targetsMenuCaption;
    hint.erase(std::remove(hint.begin(), hint.end(), '&'), hint.end());
    for (int c = 1; c <= kCols; ++c) {
        std::string label;
        if (c == 1) label = "Total " + title + " for selected (group of) " + kindTitles;
        else if (c == 2) label = title + " who Stayed on site - surfed to other pages";
        else if (c <= 6) label = c - 2 <= targets ? title + " got to TARGET: " + STTA_TargetLabel(r.Targets[static_cast<std::size_t>(c - 2)])
                                  : c == 6 ? "  [Use menu item " + hint + " to define target(s)]" : " ";
        else label = " ";
        if (c <= b) {
            for (long rr = 1; rr <= periods; ++rr) t.set(rr, c, std::string("0"));
            maxima[static_cast<std::size_t>(c)] = 0;
            label = " .. removed ..";
        }
        t.set(0, c, label);
    }
    // Small counts still get an axis 10 or 20 high.
    const double top = *std::max_element(maxima.begin() + 1, maxima.begin() + 7);
    if (top < 10) t.set(periods, kCols, 10L);
    else if (top < 20) t.set(periods, kCols, 20L);
    return out;
}

void STTA_PlotPctOfCol(core::Table2D& t, long column) {
    for (long r = 1; r <= t.rowUBound(); ++r) {
        const double base = cellNumber(t, r, column);
        if (base <= 0) continue;
        for (long c = column + 1; c <= t.colUBound(); ++c)
            if (!std::holds_alternative<std::monostate>(t(r, c))) t.set(r, c, cellNumber(t, r, c) / base * 100);
    }
}

bool STTA_PlotRemoveFirstCol(core::Table2D& t) {
    if (!t.hasBounds()) return false;
    for (long c = 1; c <= t.colUBound(); ++c) {
        // A replot writes "0" into the columns already removed; they stay removed.
        if (ARR_Item2D(t, 0, c) == " .. removed ..") continue;
        bool used = false;
        for (long r = 1; r <= t.rowUBound() && !used; ++r) used = !ARR_Item2D(t, r, c).empty();
        if (!used) continue;
        for (long r = 0; r <= t.rowUBound(); ++r) t.set(r, c, std::string());
        t.set(0, c, std::string(" .. removed .."));
        return true;
    }
    return false;
}

std::string STTA_PlotDescText(const STTA_Results& r, const std::string& dates, long removedCols, bool percentView) {
    std::string text;
    if (percentView)
        text += std::string(removedCols == 0 ? "Remove totals column to plot " : "") + "PERCENTAGES of last col removed" +
                gCR + gCR;
    if (!r.DayList->empty() && !dates.empty()) {
        const std::optional<double> first = dayOf(CHUNKS_Get(1, dates)), last = dayOf(CHUNKS_Get(2, dates));
        if (first && last && (*first != dayOf(r.DayList->front()) || *last != dayOf(r.DayList->back())))
            text += "Selected Date Range: " + gCR + fmt(*first, "d mmm yy") + " to " + fmt(*last, "d mmm yy") + gCR + gCR;
    }
    return text + STTA_ReportTitle(r.Analyzed_Field);
}

PlotTable STTA_PlotSTs(const STTA_Results& r, long item, PlotRequest& req) {
    if (item < 0 || item >= static_cast<long>(r.Vals->Items.size())) return {};
    req.items = {item};
    return PlotTtl4IndexesSTByDate(r, req);
}

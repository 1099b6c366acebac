#include "analysis/results_summary.h"

#include <algorithm>
#include <numeric>
#include <vector>

#include "analysis/report_table.h"
#include "core/text.h"
#include "core/vb_format.h"

namespace {

// The closing section covers this many days, and its averages divide by it even when
// the analysis is shorter.
constexpr long kLastDays = 30;
constexpr int kSummaryTargets = 4;

double counterSum(const std::vector<std::int64_t>& counter) {
    return static_cast<double>(std::accumulate(counter.begin(), counter.end(), std::int64_t{0}));
}

// One line: the count, its share of all visits and, with a day count above 0, its
// average per day.
std::string line(const std::string& label, double count, long days, double visits) {
    std::string text = gCR + label + TXT_FormatDbl(count, "#,##0");
    const double average = days > 0 ? count / static_cast<double>(days) : 0;
    if (average <= 0 && visits <= 0) return text;
    text += " [";
    if (visits > 0) text += TXT_FormatDbl(count * 100 / visits, "0") + "%";
    if (average > 0) text += " Average: " + TXT_FormatDbl(average, "0.0") + "/day";
    return text + "]";
}

}  // namespace

std::string STTA_ResultsSummary(const STTA_Results& r) {
    const STTA_ValueList& v = *r.Vals;
    const int targets = std::min(kSummaryTargets, static_cast<int>(r.Targets.size()) - 1);
    std::string text = "Total Visits: " + TXT_FormatDbl(r.VisitCount, "#,##0");
    text += line("Selected Visits: ", counterSum(v.Cnt), -1, r.VisitCount);
    for (int t = 1; t <= targets; ++t)
        text += line(STTA_TargetLabel(r.Targets[static_cast<std::size_t>(t)]) + ": ", counterSum(v.CntTgt(t)), -1,
                     r.VisitCount);
    text += gCRCR + std::string(60, '-') + gCRCR;

    const long last = static_cast<long>(r.DayList->size()) - 1;
    const long first = std::max(0L, last - kLastDays + 1);
    std::vector<long> items(v.Items.size());
    std::iota(items.begin(), items.end(), 0L);
    const std::string prefix = "Last " + std::to_string(kLastDays) + " days ";
    auto daySum = [&](int table) { return static_cast<double>(v.DayCnt[static_cast<std::size_t>(table)].sum(items, first, last)); };
    text += line(prefix + "Selected Visits: ", daySum(0), kLastDays, r.VisitCount);
    // Day tables 3 to 6 count targets 1 to 4.
    for (int t = 1; t <= targets; ++t)
        text += line(prefix + STTA_TargetLabel(r.Targets[static_cast<std::size_t>(t)]) + ": ", daySum(t + 2), kLastDays,
                     r.VisitCount);
    return text;
}

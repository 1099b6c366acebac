#include "analysis/date_ranges.h"

#include <algorithm>

#include "core/dates.h"
#include "core/text.h"
#include "core/vb_format.h"

namespace analysis {

namespace {

long dayNumber(long year, long month, long day) { return static_cast<long>(core::vbDateSerial(year, month, day)); }

}  // namespace

std::optional<long> typedDay(const std::string& text) {
    const std::optional<double> serial = core::parseDateText(core::trimBlanks(text));
    if (!serial) return std::nullopt;
    return TXT_DateFromParts(*serial);
}

std::string shortDate(long day) { return core::vbFormat(core::DateTime{static_cast<double>(day)}, "short date"); }

std::string dateRangeProblems(const std::string& first, const std::string& second) {
    const std::optional<long> from = typedDay(first), to = typedDay(second);
    std::string problems;
    if (!from) problems += "First value is not a date ." + gCR;
    if (!to) problems += "Second value is not a date ." + gCR;
    if (from && to && *from > *to) problems += "Second date must be later than first date." + gCR;
    return problems;
}

long monthBefore(long day) {
    const core::DateParts p = core::dateParts(day);
    const long first = dayNumber(p.year, p.month - 1, 1);
    const long lastOfThatMonth = dayNumber(p.year, p.month, 1) - 1;
    return std::min(first + p.day - 1, lastOfThatMonth);
}

std::vector<QuickRange> quickRanges(long firstAvailable, long lastAvailable) {
    long thisYearFirst, thisYearLast, thisMonthFirst, thisMonthLast, lastYearFirst, lastYearLast, lastMonthFirst,
        lastMonthLast;
    TXT_YearMonthRange(thisYearFirst, thisYearLast, thisMonthFirst, thisMonthLast, lastYearFirst, lastYearLast,
                       lastMonthFirst, lastMonthLast);
    const bool hasData = lastAvailable != 0;
    std::vector<QuickRange> ranges;
    if (hasData) ranges.push_back({"A&ll Dates", firstAvailable, lastAvailable});
    const QuickRange periods[] = {{"This &Year", thisYearFirst, thisYearLast},
                                  {"Last Yea&r", lastYearFirst, lastYearLast},
                                  {"This &Month", thisMonthFirst, thisMonthLast},
                                  {"Last Mo&nth", lastMonthFirst, lastMonthLast}};
    for (const QuickRange& period : periods)
        if (TXT_DateRangesOverlap(period.first, period.last, firstAvailable, lastAvailable))
            ranges.push_back(period);
    if (hasData) ranges.push_back({"La&test Month", monthBefore(lastAvailable), lastAvailable});
    return ranges;
}

}  // namespace analysis

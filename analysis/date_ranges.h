#pragma once
// The date range that analyses and plots are limited to, as the user types it: the
// two dates read leniently, checked, and written back as short dates (yyyy-mm-dd), and
// the quick ranges (whole years and months that hold data) offered beside them.
// Days are whole date serials; a last available day of 0 means the site has no data.
#include <optional>
#include <string>
#include <vector>

namespace analysis {

// The whole day of a typed date, read as leniently as stored dates are; a time after
// the date is allowed and dropped.
std::optional<long> typedDay(const std::string& text);

// A day as the short date the dialog shows and stores.
std::string shortDate(long day);

// The messages for two typed dates, each followed by a line break; "" when they
// pass. Equal days pass; the order is only checked when both are dates.
std::string dateRangeProblems(const std::string& first, const std::string& second);

struct QuickRange {
    std::string caption;
    long first, last;
};

// The quick ranges that apply to the available days, in button order: every day, the
// calendar years and months (from today's date) that overlap them, and the month up
// to the last day.
std::vector<QuickRange> quickRanges(long firstAvailable, long lastAvailable);

// The day one calendar month before, clamped to the end of a shorter month.
long monthBefore(long day);

}  // namespace analysis

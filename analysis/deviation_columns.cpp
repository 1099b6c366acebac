#include "analysis/deviation_columns.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "analysis/plot_data.h"
#include "core/dates.h"
#include "core/ini_store.h"
#include "core/numbers.h"
#include "core/vb_format.h"
#include "platform/sys/rt_error.h"

namespace {

constexpr long kDefaultDevDays = 5;
constexpr const char* kDefaultFmtVD = "#,###,##0.00";
constexpr const char* kDefaultFmtPct = "0";
constexpr int kBandWidth = 900, kChangeWidth = 660, kHiddenWidth = 1;
// Light orange and light green (0x00BBGGRR), taken in turn from the second one.
constexpr std::array<std::uint32_t, 4> kBandColours = {0x00C0E0FF, 0x00C0FFC0, 0x00C0E0FF, 0x00C0FFC0};

enum class Period { None, Last, All, Rest, Prev, ThisMo, LastMo, PrevMo, ThisYr, LastYr, Count };

// The periods that may have no days.
enum Need : unsigned { kPrev = 1, kLastMo = 2, kPrevMo = 4, kLastYr = 8 };

// One column: the average of `of`, or its change against `against`. An average
// column starts a colour band.
struct DevColumn {
    Period of;
    Period against = Period::None;
    unsigned needs = 0;
    const char* caption;
    long STTA_Results::*days = nullptr;  // a day count shown after the caption
    const char* after = "";
    const char* noDays = "";  // caption of an average whose period has no days
};

using P = Period;
const std::array<DevColumn, kDevColumns> kColumns = {{
    {.of = P::Last, .caption = "last ", .days = &STTA_Results::DevLastDays, .after = " d. avg users per day"},
    {.of = P::Last, .against = P::All, .caption = "+/- all days"},
    {.of = P::Last, .against = P::Rest, .caption = "+/- rest days"},
    {.of = P::Last, .against = P::Prev, .needs = kPrev, .caption = "+/- prev ", .days = &STTA_Results::DevPrevDays,
     .after = " days"},
    {.of = P::Prev, .needs = kPrev, .caption = "prev ", .days = &STTA_Results::DevPrevDays,
     .after = " d. avg users per day", .noDays = "no prev days data"},
    {.of = P::Prev, .against = P::All, .needs = kPrev, .caption = "+/- all days"},
    {.of = P::ThisMo, .caption = "this mo ", .days = &STTA_Results::DevThisMoDays, .after = " d. avg users per day"},
    {.of = P::ThisMo, .against = P::All, .caption = "+/- all days"},
    {.of = P::ThisMo, .against = P::LastMo, .needs = kLastMo, .caption = "+/- last mo"},
    {.of = P::ThisMo, .against = P::PrevMo, .needs = kPrevMo, .caption = "+/- prev mo"},
    {.of = P::ThisMo, .against = P::ThisYr, .caption = "+/- this yr"},
    {.of = P::ThisMo, .against = P::LastYr, .needs = kLastYr, .caption = "+/- last yr"},
    {.of = P::LastMo, .needs = kLastMo, .caption = "last mo. avg users per day", .noDays = "no last mo. data"},
    {.of = P::LastMo, .against = P::All, .needs = kLastMo, .caption = "+/- all days"},
    {.of = P::LastMo, .against = P::PrevMo, .needs = kLastMo | kPrevMo, .caption = "+/- prev mo"},
    {.of = P::LastMo, .against = P::ThisYr, .needs = kLastMo, .caption = "+/- this yr"},
    {.of = P::LastMo, .against = P::LastYr, .needs = kLastMo | kLastYr, .caption = "+/- last yr"},
    {.of = P::PrevMo, .needs = kPrevMo, .caption = "prev mo. avg users per day", .noDays = "no prev mo. data"},
    {.of = P::PrevMo, .against = P::All, .needs = kPrevMo, .caption = "+/- all days"},
    {.of = P::PrevMo, .against = P::LastYr, .needs = kPrevMo | kLastYr, .caption = "+/- last yr"},
    {.of = P::ThisYr, .caption = "this yr.", .days = &STTA_Results::DevThisYrDays, .after = " d. avg users per day"},
    {.of = P::ThisYr, .against = P::All, .caption = "+/- all days"},
    {.of = P::ThisYr, .against = P::LastYr, .needs = kLastYr, .caption = "+/- last yr"},
    {.of = P::LastYr, .needs = kLastYr, .caption = "last yr. avg users per day", .noDays = "no last yr. data"},
    {.of = P::LastYr, .against = P::All, .needs = kLastYr, .caption = "+/- all days"},
    {.of = P::All, .caption = "all days. avg users per day"},
}};

// The column of the overall average writes "none" for 0, whatever the options say.
constexpr int kAllDaysColumn = 25;

bool isAverage(const DevColumn& c) { return c.against == Period::None; }

bool periodsHaveDays(const STTA_Results& r, unsigned needs) {
    return (!(needs & kPrev) || r.DevHasPrev) && (!(needs & kLastMo) || r.DevHasLastMo) &&
           (!(needs & kPrevMo) || r.DevHasPrevMo) && (!(needs & kLastYr) || r.DevHasLastYr);
}

// Day of month and month of a day text "dd mmm yyyy"; 0 for what cannot be read.
struct DayOfList {
    int day = 0, month = 0;
};

DayOfList dayOfList(const std::vector<std::string>& days, long index) {
    if (index < 0 || static_cast<std::size_t>(index) >= days.size()) return {};
    const std::string& text = days[static_cast<std::size_t>(index)];
    DayOfList d;
    std::size_t k = 0;
    while (k < text.size() && text[k] == ' ') ++k;
    while (k < text.size() && text[k] >= '0' && text[k] <= '9') d.day = d.day * 10 + (text[k++] - '0');
    while (k < text.size() && text[k] == ' ') ++k;
    const std::size_t end = text.find(' ', k);
    d.month = core::monthFromName(std::string_view(text).substr(k, end == std::string::npos ? end : end - k));
    return d;
}

std::string formatOrDefault(const std::string& entry, const char* fallback) {
    const std::string format = INI_Get("Main", entry, "::*", kIniMissingMarker);
    return STTA_DevFmtValid(format) ? format : fallback;
}

// Days of a period start..end; a period has days when its end is a day of the list.
long periodDays(long start, long end) { return end >= 0 ? end + 1 - start : 0; }

double ratio(double a, double b) { return b != 0 ? a / b : 0; }

void periodBounds(const STTA_Results& r, Period p, long& start, long& end) {
    switch (p) {
        case Period::Last: start = r.DevLastStart, end = r.DevLastEnd; return;
        case Period::Prev: start = r.DevPrevStart, end = r.DevPrevEnd; return;
        case Period::ThisMo: start = r.DevThisMoStart, end = r.DevThisMoEnd; return;
        case Period::LastMo: start = r.DevLastMoStart, end = r.DevLastMoEnd; return;
        case Period::PrevMo: start = r.DevPrevMoStart, end = r.DevPrevMoEnd; return;
        case Period::ThisYr: start = r.DevThisYrStart, end = r.DevThisYrEnd; return;
        case Period::LastYr: start = r.DevLastYrStart, end = r.DevLastYrEnd; return;
        default: start = 0, end = -1; return;
    }
}

// The item's average per period, indexed by Period.
std::array<double, static_cast<std::size_t>(Period::Count)> itemAverages(const STTA_Results& r, long item) {
    std::array<double, static_cast<std::size_t>(Period::Count)> avg{};
    auto at = [&](Period p) -> double& { return avg[static_cast<std::size_t>(p)]; };
    double lastSum = 0, sum = 0;
    long days = 0;
    bool has = false;
    at(Period::Last) = STTA_DevPeriodAvg(item, r, r.DevLastStart, r.DevLastEnd, lastSum, days, has);
    const double users = static_cast<double>(STTA_ValueList::at(r.Vals->Cnt, item));
    at(Period::All) = ratio(users, static_cast<double>(r.DevDayCount));
    at(Period::Rest) = ratio(users - lastSum, static_cast<double>(r.DevDayCount - r.DevLastDays));
    for (Period p : {Period::Prev, Period::ThisMo, Period::LastMo, Period::PrevMo, Period::ThisYr, Period::LastYr}) {
        long start = 0, end = -1;
        periodBounds(r, p, start, end);
        at(p) = STTA_DevPeriodAvg(item, r, start, end, sum, days, has);
    }
    return avg;
}

std::string valueText(const STTA_Results& r, double value, int k) {
    return TXT_FormatOrListItem(value, r.DevFmtVD, k == kAllDaysColumn ? "none" : r.DevTxtNoneVD, "");
}

std::string captionText(const STTA_Results& r, const DevColumn& c) {
    if (!periodsHaveDays(r, c.needs)) return isAverage(c) ? c.noDays : "";
    std::string text = c.caption;
    if (c.days) text += std::to_string(r.*c.days);
    return text + c.after;
}

}  // namespace

bool STTA_DevShow() { return INI_GetFlag("Main", "DevShow", "::*", kIniMissingTrue); }

bool STTA_DevFmtValid(const std::string& format) {
    if (format == kIniNotFound) return false;
    try {
        core::vbFormat(3.42, format);
        return true;
    } catch (const sys::RtError&) {
        return false;
    }
}

long STTA_DevMonthStart(long day, const std::vector<std::string>& days) {
    // Counted back by the day of month, so that a day early in January finds its own
    // month and not the December before it.
    if (day < 0) return 0;
    const DayOfList d = dayOfList(days, day);
    return std::max(0L, day - std::max(0, d.day - 1));
}

long STTA_DevYearStart(long day, const std::vector<std::string>& days) {
    long k = day;
    while (true) {
        k = STTA_DevMonthStart(k, days);
        if (k == 0 || dayOfList(days, k).month == 1) return k;
        --k;
    }
}

double STTA_DevPeriodAvg(long item, const STTA_Results& r, long start, long end, double& sum, long& days,
                         bool& hasDays) {
    hasDays = end >= 0;
    if (!hasDays) return 0;
    days = end + 1 - start;
    sum = static_cast<double>(STTA_IdsPerDaySum({item}, r.Vals->DayCnt[0], start, end));
    return sum / static_cast<double>(days);
}

std::string STTA_DevChgText(double a, double b, const STTA_Results& r) {
    if (b == 0 && a > 0) return r.DevTxtFrom0Pct;
    double quotient = 0;
    std::string text = TXT_SafeDivide((a - b) * 100, b, r.DevTxtNonePct, r.DevFmtPct, quotient);
    if (text.empty()) return text;
    if (a > b) text = "+" + text;
    return text + " %";
}

void STTA_DevOptionsLoad(const STTA_Results& r) {
    r.DevReady = true;
    const double days = core::roundHalfEven(INI_GetNumVar("Main", "DevDays", "::*", kIniMissingZero));
    r.DevDays = days < 1 ? kDefaultDevDays : static_cast<long>(std::min(days, 1e9));
    r.DevFmtVD = formatOrDefault("DevFmtVD", kDefaultFmtVD);
    r.DevTxtNoneVD = INI_Get("Main", "DevTxtNoneVD", "::*", kIniMissingEmpty);
    r.DevFmtPct = formatOrDefault("DevFmtPct", kDefaultFmtPct);
    r.DevTxtNonePct = INI_Get("Main", "DevTxtNonePct", "::*", kIniMissingEmpty);
    r.DevTxtFrom0Pct = INI_Get("Main", "DevTxtFrom0Pct", "::*", kIniMissingEmpty);

    const std::vector<std::string>& list = *r.DayList;
    const long u = static_cast<long>(list.size()) - 1;
    const long n = r.DevDays;
    r.DevLastEnd = u;
    r.DevLastStart = std::max(0L, u - n + 1);
    r.DevPrevEnd = r.DevLastStart - 1;
    r.DevPrevStart = std::max(0L, r.DevPrevEnd - n + 1);
    r.DevThisMoEnd = u;
    r.DevThisMoStart = STTA_DevMonthStart(u, list);
    r.DevLastMoEnd = r.DevThisMoStart - 1;
    r.DevLastMoStart = STTA_DevMonthStart(r.DevLastMoEnd, list);
    r.DevPrevMoEnd = r.DevLastMoStart - 1;
    r.DevPrevMoStart = STTA_DevMonthStart(r.DevPrevMoEnd, list);
    r.DevThisYrEnd = u;
    r.DevThisYrStart = STTA_DevYearStart(u, list);
    r.DevLastYrEnd = r.DevThisYrStart - 1;
    r.DevLastYrStart = STTA_DevYearStart(r.DevLastYrEnd, list);
    r.DevDayCount = u + 1;

    r.DevLastDays = periodDays(r.DevLastStart, r.DevLastEnd);
    r.DevPrevDays = periodDays(r.DevPrevStart, r.DevPrevEnd);
    r.DevThisMoDays = periodDays(r.DevThisMoStart, r.DevThisMoEnd);
    r.DevThisYrDays = periodDays(r.DevThisYrStart, r.DevThisYrEnd);
    r.DevHasPrev = r.DevPrevEnd >= 0;
    r.DevHasLastMo = r.DevLastMoEnd >= 0;
    r.DevHasPrevMo = r.DevPrevMoEnd >= 0;
    r.DevHasLastYr = r.DevLastYrEnd >= 0;
}

void STTA_DevCellsWrite(DevMode mode, const STTA_Results& r, ReportTable& t, long item, long row, int column,
                        bool& bandStart, bool& hidden) {
    if (!r.DevReady) STTA_DevOptionsLoad(r);
    if (mode == DevMode::Flags) {
        if (column < 0 || column >= kDevColumns) return;
        const DevColumn& c = kColumns[static_cast<std::size_t>(column)];
        bandStart = isAverage(c);
        hidden = !isAverage(c) && !periodsHaveDays(r, c.needs);
        return;
    }
    const int first = t.col.Deviation;
    if (first < 0) return;
    if (mode == DevMode::Captions) {
        for (int k = 0; k < kDevColumns; ++k)
            t.setText(0, first + k, captionText(r, kColumns[static_cast<std::size_t>(k)]));
        return;
    }
    const auto avg = itemAverages(r, item);
    auto of = [&](Period p) { return avg[static_cast<std::size_t>(p)]; };
    for (int k = 0; k < kDevColumns; ++k) {
        const DevColumn& c = kColumns[static_cast<std::size_t>(k)];
        if (!periodsHaveDays(r, c.needs)) continue;
        t.setText(row, first + k,
                  isAverage(c) ? valueText(r, of(c.of), k) : STTA_DevChgText(of(c.of), of(c.against), r));
    }
}

void STTA_DevBandsColour(const STTA_Results& r, ReportTable& t) {
    const int first = t.col.Deviation;
    if (first < 0) return;
    bool bandStart = false, hidden = false;
    STTA_DevCellsWrite(DevMode::Captions, r, t, 0, 0, 0, bandStart, hidden);
    std::size_t colour = 0;
    for (int k = 0; k < kDevColumns; ++k) {
        STTA_DevCellsWrite(DevMode::Flags, r, t, 0, 0, k, bandStart, hidden);
        int& width = t.colWidth[static_cast<std::size_t>(first + k)];
        if (bandStart) {
            colour = (colour + 1) % kBandColours.size();
            width = kBandWidth;
        } else {
            width = hidden ? kHiddenWidth : kChangeWidth;
        }
        for (long row = 0; row < t.rows(); ++row) t.cells.setBackColor(row, first + k, kBandColours[colour]);
    }
}

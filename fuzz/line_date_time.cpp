// The date and time of a log line: a line the read takes is stored only under a date
// the calendar holds and that its text names, and a line whose fields name such a
// date is taken. What the text names is worked out here on its own, from the fields'
// digits and a calendar of civil days, not by the program's date routines.
#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "logimport/line_timestamp.h"
#include "logimport/log_format.h"
#include "logimport/logline_store.h"

namespace {

// Date layouts as log formats write them; the first byte of an input picks one.
const char* const kFormats[] = {
    "%s [%d/%M/%Y:%h:%n:%e %*S] %c %b",  // Apache
    "%Y-%m-%d %h:%n:%e %s %c",           // W3C
    "%s %d.%m.%y %h:%n %a %c",           // two-digit year, 12-hour clock
    "%s %m/%d/%Z %h:%n:%e",              // third year form
    "%d %M %h:%n:%e %s",                 // no year
};

const std::array<LogFmtCompiled, std::size(kFormats)>& compiled() {
    static const auto formats = [] {
        std::array<LogFmtCompiled, std::size(kFormats)> out;
        for (size_t i = 0; i < out.size(); ++i) STTA_LogFmtDefCompile({"", kFormats[i]}, out[i]);
        return out;
    }();
    return formats;
}

// The number a field's digits write (blanks around them allowed; held up to a
// trillion), with their count; nothing for a field with anything else in it.
struct Digits {
    long long value = 0;
    int count = 0;
};
std::optional<Digits> digitsOf(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    Digits d;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        d.value = std::min(d.value * 10 + (c - '0'), 1000000000000LL);
        ++d.count;
    }
    return d;
}

int monthNamed(std::string_view word) {
    static const char* const kNames[] = {"january", "february", "march",     "april",   "may",      "june",
                                         "july",    "august",   "september", "october", "november", "december"};
    std::string lower(word);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = char(c + 32);
    for (int m = 0; m < 12; ++m)
        if (lower == kNames[m] || (lower.size() == 3 && std::string_view(kNames[m]).substr(0, 3) == lower)) return m + 1;
    return 0;
}

// Days from 1 January 1970 of a civil date, and back.
long long daysFromCivil(long long y, unsigned m, unsigned d) {
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = unsigned(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}
void civilFromDays(long long z, long long& y, unsigned& m, unsigned& d) {
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = unsigned(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = doy - (153 * mp + 2) / 5 + 1;
    m = mp < 10 ? mp + 3 : mp - 9;
    y = (long long)yoe + era * 400 + (m <= 2);
}

// The stamp yyyymmddhhnnss the fields name, or nothing when they name no time of a
// calendar day the program holds (up to the year 9999).
std::optional<long long> namedStamp(const LogFields& f) {
    const auto day = digitsOf(f[kFldDay]), monthNo = digitsOf(f[kFldMonth]);
    if (!day || !monthNo) return std::nullopt;
    long long month = monthNo->value != 0 ? monthNo->value : monthNamed(f[kFldMonthName]);
    long long year = 0;
    for (int no : {kFldYear2, kFldYear1, kFldYear3}) {
        const auto y = digitsOf(f[size_t(no)]);
        if (!y || y->count > 4 || (y->count == 4 && y->value < 1900)) return std::nullopt;
        if (year == 0) year = y->value;
    }
    if (year < 1900) year += year <= 60 ? 2000 : 1900;
    if (month < 1 || month > 12 || day->value < 1) return std::nullopt;
    const long long first = daysFromCivil(year, unsigned(month), 1);
    const long long next = month == 12 ? daysFromCivil(year + 1, 1, 1) : daysFromCivil(year, unsigned(month + 1), 1);
    if (day->value > next - first) return std::nullopt;

    const auto hourNo = digitsOf(f[kFldHour]), minute = digitsOf(f[kFldMinute]), second = digitsOf(f[kFldSecond]);
    if (!hourNo || !minute || !second || minute->value > 59 || second->value > 59) return std::nullopt;
    long long hour = hourNo->value;
    const char marker = f[kFldAmPm].empty() ? 0 : char(f[kFldAmPm][0] | 0x20);
    if (marker == 'p' && hour < 12) hour += 12;
    if (marker == 'a' && hour == 12) hour = 0;
    if (hour > 24 || (hour == 24 && (minute->value != 0 || second->value != 0))) return std::nullopt;
    long long y = year;
    unsigned m = unsigned(month), d = unsigned(day->value);
    if (hour == 24) {  // midnight at the end of the day is the next day's start
        civilFromDays(first + day->value, y, m, d);
        hour = 0;
    }
    if (y > 9999) return std::nullopt;
    return ((((y * 100 + m) * 100 + d) * 100 + hour) * 100 + minute->value) * 100 + second->value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const LogFmtCompiled& format = compiled()[data[0] % std::size(kFormats)];
    const std::string line(reinterpret_cast<const char*>(data) + 1, size - 1);
    LogFields plain;
    if (!STTA_LogLineSplit(line, format, plain) || !STTA_LogFieldsHoldData(plain)) return 0;
    const std::optional<long long> named = namedStamp(plain);

    LogFields fields;
    long date = 0;
    const bool taken = STTA_LogLineSplit(line, format, fields, &date);
    if (taken != named.has_value()) __builtin_trap();
    if (!taken) return 0;
    double timestamp = 0, first = 0;
    STTA_LineTimestamp(fields, date, timestamp, first);
    if (STTA_LineStamp(fields) != *named) __builtin_trap();
    double again = 0;
    if (STTA_LineTimestamp(fields, again, first) != timestamp) __builtin_trap();
    return 0;
}

#include "core/dates.h"

#include <cmath>

#include "core/numbers.h"
#include "platform/sys/ascii.h"
#include "platform/sys/clock.h"
#include "platform/sys/rt_error.h"

namespace core {
namespace {

constexpr long long kSecondsPerDay = 86400;
constexpr long kUnixEpochSerial = 25569;  // 1 January 1970

long long floorDiv(long long a, long long b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

// Days from 1 January 1970 of a proleptic Gregorian date, and back.
long long daysFromCivil(long long y, long long m, long long d) {
    y -= m <= 2;
    long long era = floorDiv(y, 400);
    long long yoe = y - era * 400;
    long long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void civilFromDays(long long z, int& year, int& month, int& day) {
    z += 719468;
    long long era = floorDiv(z, 146097);
    long long doe = z - era * 146097;
    long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    long long mp = (5 * doy + 2) / 153;
    day = int(doy - (153 * mp + 2) / 5 + 1);
    month = int(mp < 10 ? mp + 3 : mp - 9);
    year = int(yoe + era * 400 + (month <= 2));
}

long long serialDay(long long y, long long m, long long d) { return daysFromCivil(y, m, d) + kUnixEpochSerial; }

// A serial from a calendar day and a second of that day. Days before 30 December 1899
// carry their time as a negative fraction, as the platform's dates do.
double encode(long long day, long long secondOfDay) {
    double time = double(secondOfDay) / kSecondsPerDay;
    return day >= 0 ? double(day) + time : double(day) - time;
}

void checkInteger(long v, const char* source) {
    if (v < -32768 || v > 32767) sys::raise(sys::kErrOverflow, source);
}

int daysInMonth(int year, int month) {
    return int(serialDay(year + (month == 12), month % 12 + 1, 1) - serialDay(year, month, 1));
}

// A small cursor over the date texts the reader accepts.
struct Scanner {
    std::string_view s;
    size_t i = 0;
    bool number(int& value, size_t maxDigits) {
        size_t start = i;
        value = 0;
        while (i < s.size() && i - start < maxDigits && s[i] >= '0' && s[i] <= '9') value = value * 10 + (s[i++] - '0');
        return i > start;
    }
    bool monthName(int& month) {
        size_t start = i;
        while (i < s.size() && sys::isAsciiLetter(s[i])) ++i;
        month = monthFromName(s.substr(start, i - start));
        if (month == 0) i = start;
        return month != 0;
    }
    bool literal(char c) {
        if (i < s.size() && s[i] == c) return ++i, true;
        return false;
    }
    void blanks() {
        while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
    }
    bool atEnd() const { return i == s.size(); }
};

// "hh:nn" or "hh:nn:ss" as a second of the day.
bool readTime(Scanner& in, long long& second) {
    int h = 0, n = 0, sec = 0;
    if (!in.number(h, 2) || !in.literal(':') || !in.number(n, 2)) return false;
    if (in.literal(':') && !in.number(sec, 2)) return false;
    if (h > 23 || n > 59 || sec > 59) return false;
    second = h * 3600LL + n * 60LL + sec;
    return true;
}

// "yyyy-mm-dd" or "d/m/yyyy" as a calendar day.
bool readDate(Scanner& in, long long& day) {
    int a = 0, b = 0, c = 0;
    size_t start = in.i;
    if (!in.number(a, 4)) return false;
    int year, month, dayOfMonth;
    if (in.literal('-')) {
        if (!in.number(b, 2) || !in.literal('-') || !in.number(c, 2)) return false;
        year = a, month = b, dayOfMonth = c;
    } else if (in.i - start <= 2 && in.literal('/')) {
        if (!(in.number(b, 2) || in.monthName(b)) || !in.literal('/') || !in.number(c, 4)) return false;
        year = c, month = b, dayOfMonth = a;
    } else if (in.i - start <= 2 && in.literal(' ') && in.monthName(b)) {
        // "01 Mar 2026", as the analysis writes its days
        if (!in.literal(' ') || !in.number(c, 4)) return false;
        year = c, month = b, dayOfMonth = a;
    } else {
        return false;
    }
    if (year < 100) year += year < 30 ? 2000 : 1900;
    if (month < 1 || month > 12 || dayOfMonth < 1 || dayOfMonth > daysInMonth(year, month)) return false;
    day = serialDay(year, month, dayOfMonth);
    return true;
}

}  // namespace

int monthFromName(std::string_view word) {
    if (word.size() < 3) return 0;
    for (int k = 0; k < 12; ++k) {
        std::string_view name = kMonthNames[k];
        if (word.size() != 3 && word.size() != name.size()) continue;
        bool same = true;
        for (size_t c = 0; c < word.size() && same; ++c) same = (word[c] | 0x20) == (name[c] | 0x20);
        if (same) return k + 1;
    }
    return 0;
}

double vbDateSerial(long year, long month, long day) {
    checkInteger(year, "DateSerial");
    checkInteger(month, "DateSerial");
    checkInteger(day, "DateSerial");
    if (year >= 0 && year <= 29) year += 2000;
    else if (year >= 30 && year <= 99) year += 1900;
    long long y = year + floorDiv(month - 1, 12);
    long long m = month - 1 - floorDiv(month - 1, 12) * 12 + 1;
    if (y < 100 || y > 9999) sys::raise(5, "DateSerial");
    double serial = double(serialDay(y, m, 1) + day - 1);
    if (!isDateSerial(serial)) sys::raise(5, "DateSerial");
    return serial;
}

double vbTimeSerial(long hour, long minute, long second) {
    checkInteger(hour, "TimeSerial");
    checkInteger(minute, "TimeSerial");
    checkInteger(second, "TimeSerial");
    long long total = hour * 3600LL + minute * 60LL + second;
    long long day = floorDiv(total, kSecondsPerDay);
    return encode(day, total - day * kSecondsPerDay);
}

long long serialSeconds(double serial) {
    if (!isDateSerial(serial)) sys::raise(5, "Date");
    double day = std::trunc(serial);
    return static_cast<long long>(day) * kSecondsPerDay + std::llround(std::fabs(serial - day) * kSecondsPerDay);
}

DateParts dateParts(double serial) {
    long long total = serialSeconds(serial);
    long long day = floorDiv(total, kSecondsPerDay);
    long long second = total - day * kSecondsPerDay;
    DateParts p{};
    civilFromDays(day - kUnixEpochSerial, p.year, p.month, p.day);
    p.hour = int(second / 3600);
    p.minute = int(second / 60 % 60);
    p.second = int(second % 60);
    return p;
}

int vbYear(double serial) { return dateParts(serial).year; }
int vbMonth(double serial) { return dateParts(serial).month; }
int vbDay(double serial) { return dateParts(serial).day; }
int vbHour(double serial) { return dateParts(serial).hour; }
int vbMinute(double serial) { return dateParts(serial).minute; }
int vbSecond(double serial) { return dateParts(serial).second; }

int vbWeekday(double serial) {
    long long day = floorDiv(serialSeconds(serial), kSecondsPerDay);
    return int((day % 7 + 7 + 6) % 7) + 1;  // serial 0 was a Saturday
}

int dayOfYear(double serial) {
    long long day = floorDiv(serialSeconds(serial), kSecondsPerDay);
    return int(day - serialDay(vbYear(serial), 1, 1)) + 1;
}

double vbNow() { return sys::clock().dateTimeSerial(); }

double vbDate() {
    long long day = floorDiv(serialSeconds(vbNow()), kSecondsPerDay);
    return double(day);
}

double vbTime() {
    long long total = serialSeconds(vbNow());
    return encode(0, total - floorDiv(total, kSecondsPerDay) * kSecondsPerDay);
}

std::optional<double> parseDateText(std::string_view text) {
    Scanner in{text};
    in.blanks();
    long long day = 0, second = 0;
    size_t start = in.i;
    bool hasDate = readDate(in, day);
    if (!hasDate) in.i = start;
    if (hasDate) in.blanks();
    bool hasTime = !in.atEnd() && readTime(in, second);
    in.blanks();
    if (in.atEnd() && (hasDate || hasTime)) {
        double serial = encode(day, second);
        if (isDateSerial(serial)) return serial;
        return std::nullopt;
    }
    double number = 0;
    if (parseNumber(text, number) && isDateSerial(number)) return number;
    return std::nullopt;
}

std::optional<double> toDateSerial(const Variant& value) {
    double serial = 0;
    if (auto b = std::get_if<bool>(&value)) serial = *b ? -1 : 0;
    else if (auto l = std::get_if<long>(&value)) serial = double(*l);
    else if (auto d = std::get_if<double>(&value)) serial = *d;
    else if (auto dt = std::get_if<DateTime>(&value)) serial = dt->serial;
    else if (auto s = std::get_if<std::string>(&value)) return parseDateText(*s);
    else return std::nullopt;
    if (!isDateSerial(serial)) return std::nullopt;
    return serial;
}

}  // namespace core

namespace {

double serialOrZero(const core::Variant& value) { return core::toDateSerial(value).value_or(0); }

std::string countPhrase(long long n, std::string_view word) {
    return std::to_string(n) + " " + std::string(word) + (n > 1 ? "s" : "");
}

}  // namespace

long TXT_DateFromParts(const core::Variant& value) {
    auto serial = core::toDateSerial(value);
    if (!serial) return 0;
    try {
        core::DateParts p = core::dateParts(*serial);
        return static_cast<long>(core::vbDateSerial(p.year, p.month, p.day));
    } catch (const sys::RtError&) {
        return 0;  // the last second of 9999 rounds past the calendar
    }
}

core::Variant TXT_TimeShort(const core::Variant& value) {
    auto serial = core::toDateSerial(value);
    if (!serial) return {};
    try {
        core::DateParts p = core::dateParts(*serial);
        return core::DateTime{core::vbTimeSerial(p.hour, p.minute, 0)};
    } catch (const sys::RtError&) {
        return {};
    }
}

double MINMAX_MaxDate(const core::Variant& a, const core::Variant& b, bool& isFirst) {
    isFirst = true;
    long dayA = TXT_DateFromParts(a);
    if (dayA == 0) {
        isFirst = false;
        return serialOrZero(b);
    }
    long dayB = TXT_DateFromParts(b);
    if (dayB == 0) return serialOrZero(a);
    if (dayA > dayB) {
        isFirst = false;
        return serialOrZero(b);
    }
    return serialOrZero(a);
}

bool TXT_DateRangesOverlap(const core::Variant& start1, const core::Variant& end1,
                           const core::Variant& start2, const core::Variant& end2) {
    bool isFirst = false;
    double low1 = MINMAX_MaxDate(start1, end1, isFirst);
    long high1 = TXT_DateFromParts(isFirst ? end1 : start1);
    double low2 = MINMAX_MaxDate(start2, end2, isFirst);
    long high2 = TXT_DateFromParts(isFirst ? end2 : start2);
    if (low1 > low2) return high2 >= low1;
    return high1 >= low2;
}

void TXT_YearMonthRange(long& thisYearFirst, long& thisYearLast, long& thisMonthFirst,
                        long& thisMonthLast, long& lastYearFirst, long& lastYearLast,
                        long& lastMonthFirst, long& lastMonthLast) {
    double today = core::vbDate();
    int y = core::vbYear(today), m = core::vbMonth(today);
    auto day = [](long year, long month, long d) { return static_cast<long>(core::vbDateSerial(year, month, d)); };
    thisYearFirst = day(y, 1, 1);
    thisYearLast = day(y, 12, 31);
    lastYearFirst = day(y - 1, 1, 1);
    lastYearLast = day(y - 1, 12, 31);
    thisMonthFirst = day(y, m, 1);
    thisMonthLast = (m == 12 ? day(y + 1, 1, 1) : day(y, m + 1, 1)) - 1;
    lastMonthFirst = m == 1 ? day(y - 1, 12, 1) : day(y, m - 1, 1);
    lastMonthLast = thisMonthFirst - 1;
}

std::string TXT_ElapsedText(double time1, double time2, std::string_view dayWord,
                            std::string_view hourWord, std::string_view minuteWord,
                            std::string_view lessThanMinute, bool beforeAfter,
                            std::string_view beforeAfterList, std::string_view secondWord) {
    long long early = core::serialSeconds(std::min(time1, time2));
    long long late = core::serialSeconds(std::max(time1, time2));
    auto boundaries = [&](long long unit) { return core::floorDiv(late, unit) - core::floorDiv(early, unit); };
    std::string phrase;
    long long minutes = boundaries(60);
    if (long long days = boundaries(86400); days > 0) phrase = countPhrase(days, dayWord);
    else if (minutes / 60 > 0) phrase = countPhrase(minutes / 60, hourWord);
    else if (minutes > 0) phrase = countPhrase(minutes, minuteWord);
    else if (!secondWord.empty() && late > early) phrase = countPhrase(late - early, secondWord);
    else phrase = std::string(lessThanMinute);
    if (beforeAfter) phrase += " " + TXT_BoolChoice(time1 < time2, beforeAfterList);
    return phrase;
}

#include "logimport/line_timestamp.h"

#include <algorithm>
#include <cmath>

#include "core/dates.h"
#include "core/vb_format.h"

namespace {

// A number field of the date or time: digits only, blanks around them allowed. An
// empty field is one the format did not supply and reads 0. False for anything else
// (a sign, letters, a number larger than any part can be).
bool wholeField(const LogFields& fields, int no, long& value, int& digits) {
    // Trimmed by hand: every line passes here up to nine times.
    const std::string& text = fields[size_t(no)];
    const char* p = text.data();
    const char* end = p + text.size();
    while (p != end && (*p == ' ' || *p == '\t')) ++p;
    while (end != p && (end[-1] == ' ' || end[-1] == '\t')) --end;
    constexpr long kLargest = 99999999;
    value = 0;
    digits = 0;
    for (; p != end; ++p) {
        const char c = *p;
        if (c < '0' || c > '9' || value > kLargest) return false;
        value = value * 10 + (c - '0');
        ++digits;
    }
    return true;
}

bool wholeField(const LogFields& fields, int no, long& value) {
    int digits = 0;
    return wholeField(fields, no, value, digits);
}

// The year a field names, 0 when empty or zero; -1 when unreadable. Two- and
// three-digit years as log files write them: 00-60 are 2000-2060, 61-99 are
// 1961-1999, 100-999 count from 1900. Four digits are the year itself, from 1900 on.
long yearOf(const LogFields& fields, int no) {
    long year = 0;
    int digits = 0;
    if (!wholeField(fields, no, year, digits)) return -1;
    if (digits < 4) return year;
    return digits == 4 && year >= 1900 ? year : -1;
}

long completedYear(long year) {
    if (year >= 1900) return year;
    return year < 61 ? year + 2000 : year + 1900;
}

bool leapYear(long year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

long monthLength(long year, long month) {
    static constexpr long kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && leapYear(year) ? 29 : kDays[month - 1];
}

// The time of day (24:00:00 is 1.0), or -1 when a part is unreadable or off the clock.
double timeOfDay(const LogFields& fields) {
    long hour = 0, minute = 0, second = 0;
    if (!wholeField(fields, kFldHour, hour) || !wholeField(fields, kFldMinute, minute) ||
        !wholeField(fields, kFldSecond, second))
        return -1;
    const std::string& marker = fields[kFldAmPm];
    // Judged by the first letter in any case, so "PM" and "pm" count as well as "p".
    char m = marker.empty() ? 0 : char(marker[0] | 0x20);
    if (m == 'p' && hour < 12) hour += 12;
    if (m == 'a' && hour == 12) hour = 0;
    if (minute > 59 || second > 59 || hour > 24 || (hour == 24 && (minute != 0 || second != 0))) return -1;
    return core::vbTimeSerial(hour, minute, second);
}

}  // namespace

long STTA_LineDateSerial(const LogFields& fields) {
    long day = 0, month = 0;
    if (!wholeField(fields, kFldDay, day) || !wholeField(fields, kFldMonth, month)) return 0;
    if (month == 0) month = core::monthFromName(fields[kFldMonthName]);
    if (month < 1 || month > 12) return 0;
    long year = 0;
    for (int no : {kFldYear2, kFldYear1, kFldYear3}) {
        const long y = yearOf(fields, no);
        if (y < 0) return 0;
        if (year == 0) year = y;
    }
    year = completedYear(year);
    if (day < 1 || day > monthLength(year, month)) return 0;
    return long(core::vbDateSerial(year, month, day));
}

bool STTA_LineDateTimeHold(const LogFields& fields, long& date) {
    date = STTA_LineDateSerial(fields);
    const double time = date == 0 ? -1 : timeOfDay(fields);
    // 24:00:00 of 31 December 9999 is a day no date holds.
    if (time < 0 || !core::isDateSerial(double(date) + time)) date = 0;
    return date != 0;
}

std::string STTA_LineTimeText(const LogFields& fields) {
    return TXT_FormatDbl(std::max(0.0, timeOfDay(fields)), ".00000000");
}

double STTA_LineTimestamp(const LogFields& fields, double& timestamp, double& firstTimestamp) {
    return STTA_LineTimestamp(fields, STTA_LineDateSerial(fields), timestamp, firstTimestamp);
}

double STTA_LineTimestamp(const LogFields& fields, long dateSerial, double& timestamp, double& firstTimestamp) {
    // Rounded to the second as a whole, so 10:00:01 never becomes 10:00:00 and
    // 24:00:00 moves to the next day.
    timestamp = std::round((double(dateSerial) + std::max(0.0, timeOfDay(fields))) * 86400.0) / 86400.0;
    if (!core::isDateSerial(timestamp)) timestamp = double(dateSerial);
    if (firstTimestamp == 0) firstTimestamp = timestamp;
    return timestamp;
}

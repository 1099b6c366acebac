#include "logimport/line_timestamp.h"

#include <cmath>

#include "core/dates.h"
#include "core/numbers.h"
#include "core/vb_format.h"
#include "platform/sys/rt_error.h"

namespace {

long wholeField(const LogFields& fields, int no) {
    const std::string& text = fields[size_t(no)];
    if (text.empty()) return 0;
    try {
        return core::vbCLng(TXT_Val(text));
    } catch (const sys::RtError&) {
        return 0;
    }
}

// Two-digit and three-digit years as log files write them: 00-60 are 2000-2060,
// 61-99 are 1961-1999, 100-1899 count from 1900.
long completedYear(long year) {
    if (year >= 1900) return year;
    return year < 61 ? year + 2000 : year + 1900;
}

// The time of day in seconds (24:00:00 is a whole day), or -1 when unreadable.
double timeSerial(const LogFields& fields) {
    long hour = wholeField(fields, kFldHour);
    const std::string& marker = fields[kFldAmPm];
    // Judged by the first letter in any case, so "PM" and "pm" count as well as "p".
    char m = marker.empty() ? 0 : char(marker[0] | 0x20);
    if (m == 'p' && hour < 12) hour += 12;
    if (m == 'a' && hour == 12) hour = 0;
    try {
        return core::vbTimeSerial(hour, wholeField(fields, kFldMinute), wholeField(fields, kFldSecond));
    } catch (const sys::RtError&) {
        return 0;
    }
}

}  // namespace

long STTA_LineDateSerial(const LogFields& fields) {
    long day = wholeField(fields, kFldDay);
    long month = wholeField(fields, kFldMonth);
    if (month == 0) {
        month = core::monthFromName(fields[kFldMonthName]);
        if (month == 0) return 0;
    }
    long year = wholeField(fields, kFldYear2);
    if (year == 0) year = wholeField(fields, kFldYear1);
    if (year == 0) year = wholeField(fields, kFldYear3);
    try {
        return long(core::vbDateSerial(completedYear(year), month, day));
    } catch (const sys::RtError&) {
        return 0;
    }
}

std::string STTA_LineTimeText(const LogFields& fields) {
    return TXT_FormatDbl(timeSerial(fields), ".00000000");
}

double STTA_LineTimestamp(const LogFields& fields, double& timestamp, double& firstTimestamp) {
    return STTA_LineTimestamp(fields, STTA_LineDateSerial(fields), timestamp, firstTimestamp);
}

double STTA_LineTimestamp(const LogFields& fields, long dateSerial, double& timestamp, double& firstTimestamp) {
    // Rounded to the second as a whole, so 10:00:01 never becomes 10:00:00 and
    // 24:00:00 moves to the next day.
    timestamp = std::round((double(dateSerial) + timeSerial(fields)) * 86400.0) / 86400.0;
    // An hour field of thousands can carry a late date past the last day a date can
    // hold: such a time is as unreadable as any other and the day alone counts.
    if (!core::isDateSerial(timestamp)) timestamp = double(dateSerial);
    if (firstTimestamp == 0) firstTimestamp = timestamp;
    return timestamp;
}

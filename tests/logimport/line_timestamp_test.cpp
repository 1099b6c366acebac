#include <gtest/gtest.h>

#include "core/dates.h"
#include "logimport/line_timestamp.h"
#include "logimport/logline_store.h"

namespace {

struct DateCase {
    const char* name;
    const char *day, *month, *monthName, *year1, *year2, *year3;
    int y, m, d;  // 0 0 0: no date
};

LogFields fieldsOf(const DateCase& c) {
    LogFields f;
    f[kFldDay] = c.day;
    f[kFldMonth] = c.month;
    f[kFldMonthName] = c.monthName;
    f[kFldYear1] = c.year1;
    f[kFldYear2] = c.year2;
    f[kFldYear3] = c.year3;
    return f;
}

}  // namespace

TEST(LineDate, FieldsToDateSerial) {
    const DateCase cases[] = {
        {"month name, two-digit year", "9", "", "Dec", "", "07", "", 2007, 12, 9},
        {"full name in lower case", "9", "", "december", "", "2007", "", 2007, 12, 9},
        {"upper case abbreviation", "9", "", "DEC", "", "2007", "", 2007, 12, 9},
        {"year 61 is 1961", "1", "1", "", "", "61", "", 1961, 1, 1},
        {"year 60 is 2060", "1", "1", "", "", "60", "", 2060, 1, 1},
        {"year 105 is 2005", "1", "1", "", "", "105", "", 2005, 1, 1},
        {"missing year is 2000", "5", "3", "", "", "", "", 2000, 3, 5},
        {"second year form wins over the first", "1", "1", "", "1999", "2001", "", 2001, 1, 1},
        {"third form when the others are empty", "1", "1", "", "", "", "2003", 2003, 1, 1},
        {"month 13 rolls into the next year", "1", "13", "", "", "2007", "", 2008, 1, 1},
        {"day 0 is the last day of the month before", "0", "3", "", "", "2008", "", 2008, 2, 29},
        {"day 32 rolls into the next month", "32", "12", "", "", "2007", "", 2008, 1, 1},
        {"unknown month name gives no date", "9", "", "Dez", "", "2007", "", 0, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        long expected = c.y ? long(core::vbDateSerial(c.y, c.m, c.d)) : 0;
        EXPECT_EQ(STTA_LineDateSerial(fieldsOf(c)), expected);
    }
}

TEST(LineTime, HourMarkerAndRounding) {
    struct Case { const char *hour, *minute, *second, *marker; int h, n, s; } cases[] = {
        {"12", "0", "0", "a", 0, 0, 0},   {"12", "0", "0", "p", 12, 0, 0},
        {"1", "0", "0", "P", 13, 0, 0},   {"13", "0", "0", "p", 13, 0, 0},
        {"1", "5", "0", "pm", 13, 5, 0},  {"12", "30", "0", "AM", 0, 30, 0},
        {"10", "0", "1", "", 10, 0, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.hour) + " " + c.marker);
        LogFields f;
        f[kFldDay] = "9", f[kFldMonth] = "12", f[kFldYear2] = "2007";
        f[kFldHour] = c.hour, f[kFldMinute] = c.minute, f[kFldSecond] = c.second, f[kFldAmPm] = c.marker;
        double stamp = 0, first = 0;
        STTA_LineTimestamp(f, stamp, first);
        core::DateParts p = core::dateParts(stamp);
        EXPECT_EQ(p.hour * 3600 + p.minute * 60 + p.second, c.h * 3600 + c.n * 60 + c.s);
        EXPECT_EQ(p.day, 9);
    }
}

TEST(LineTime, TimeThatLeavesTheCalendarLeavesTheDayAlone) {
    LogFields f;
    f[kFldDay] = "31", f[kFldMonthName] = "Dec", f[kFldYear2] = "9999";
    f[kFldHour] = "1000", f[kFldMinute] = "00", f[kFldSecond] = "00";
    double stamp = 0, first = 0;
    EXPECT_EQ(STTA_LineTimestamp(f, stamp, first), core::vbDateSerial(9999, 12, 31));
    EXPECT_EQ(STTA_LineStamp(f), 99991231000000);
}

TEST(LineTime, StampsOneSecondApartAndMidnightRollsOver) {
    LogFields f;
    f[kFldDay] = "9", f[kFldMonthName] = "Dec", f[kFldYear2] = "2007";
    f[kFldHour] = "10", f[kFldMinute] = "00", f[kFldSecond] = "00";
    double first = 0, a = 0, b = 0;
    STTA_LineTimestamp(f, a, first);
    f[kFldSecond] = "01";
    STTA_LineTimestamp(f, b, first);
    EXPECT_EQ(first, a);
    EXPECT_EQ(core::serialSeconds(b) - core::serialSeconds(a), 1);
    EXPECT_EQ(STTA_LineTimeText(f), ".41667824");

    f[kFldHour] = "24", f[kFldSecond] = "00";
    double midnight = 0;
    STTA_LineTimestamp(f, midnight, first);
    EXPECT_EQ(midnight, core::vbDateSerial(2007, 12, 10));
    EXPECT_EQ(STTA_LineTimeText(f), "1.00000000");
}

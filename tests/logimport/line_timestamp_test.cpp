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
        {"four-digit year as written", "1", "1", "", "", "1900", "", 1900, 1, 1},
        {"29 February of a leap year", "29", "2", "", "", "2024", "", 2024, 2, 29},
        {"blanks around a day", " 9", "", "Dec", "", "2007", "", 2007, 12, 9},
        // Impossible or unreadable dates are no dates, never another day.
        {"month 13", "1", "13", "", "", "2007", "", 0, 0, 0},
        {"day 0", "0", "3", "", "", "2008", "", 0, 0, 0},
        {"day 00 of year 0000", "00", "", "Jan", "", "0000", "", 0, 0, 0},
        {"day 32", "32", "12", "", "", "2007", "", 0, 0, 0},
        {"31 April", "31", "4", "", "", "2007", "", 0, 0, 0},
        {"29 February of a common year", "29", "2", "", "", "2023", "", 0, 0, 0},
        {"day not a number", "xx", "", "Dec", "", "2026", "", 0, 0, 0},
        {"negative day", "-1", "", "Jan", "", "2026", "", 0, 0, 0},
        {"day with letters after it", "9x", "", "Dec", "", "2026", "", 0, 0, 0},
        {"month number not a number", "1", "x1", "", "", "2026", "", 0, 0, 0},
        {"year of eleven digits", "5", "", "Jan", "", "99999999999", "", 0, 0, 0},
        {"year of five digits", "5", "", "Jan", "", "20260", "", 0, 0, 0},
        {"four-digit year before 1900", "5", "", "Jan", "", "1850", "", 0, 0, 0},
        {"year not a number", "5", "", "Jan", "", "20x6", "", 0, 0, 0},
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

TEST(LineTime, OnlyAClockTimeOnACalendarDayHolds) {
    struct Case { const char *day, *hour, *minute, *second; bool holds; } cases[] = {
        {"9", "23", "59", "59", true},   {"9", "24", "00", "00", true},   {"9", "", "", "", true},
        {"9", "24", "00", "01", false},  {"9", "25", "61", "61", false}, {"9", "12", "60", "00", false},
        {"9", "12", "00", "60", false},  {"9", "1000", "00", "00", false}, {"9", "x", "00", "00", false},
        {"9", "-1", "00", "00", false},  {"9", "12", "3a", "00", false},  {"9", "12", "00", "1.5", false},
        {"31", "24", "00", "00", false},  // past the last day a date can hold (31 December 9999)
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.day) + " " + c.hour + ":" + c.minute + ":" + c.second);
        LogFields f;
        f[kFldDay] = c.day, f[kFldMonthName] = "Dec", f[kFldYear2] = std::string(c.day) == "31" ? "9999" : "2007";
        f[kFldHour] = c.hour, f[kFldMinute] = c.minute, f[kFldSecond] = c.second;
        long date = -1;
        EXPECT_EQ(STTA_LineDateTimeHold(f, date), c.holds);
        EXPECT_EQ(date, c.holds ? long(core::vbDateSerial(2007, 12, 9)) : 0);
    }
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

#include <gtest/gtest.h>

#include "core/dates.h"
#include "platform/sys/clock.h"
#include "platform/sys/rt_error.h"
#include "tests/support/error_number.h"

using testsupport::errorOf;

namespace {

using core::DateTime;
using core::Variant;

double at(int y, int m, int d, int h = 0, int n = 0, int s = 0) {
    return core::vbDateSerial(y, m, d) + core::vbTimeSerial(h, n, s);
}

// Runs each test on a clock that shows the date the test sets.
class DatesOnClock : public ::testing::Test {
protected:
    void SetUp() override { sys::setClock(&clock_); }
    void TearDown() override { sys::setClock(nullptr); }
    void today(double serial) { clock_.setDateTimeSerial(serial); }
    sys::ManualClock clock_;
};

TEST(DateSerial, KnownDaysAndRollOver) {
    EXPECT_EQ(core::vbDateSerial(1899, 12, 30), 0);
    EXPECT_EQ(core::vbDateSerial(1900, 3, 1), 61);  // no 29 February 1900
    EXPECT_EQ(core::vbDateSerial(2000, 1, 1), 36526);
    EXPECT_EQ(core::vbDateSerial(2004, 1, 14), 38000);

    struct Case {
        const char* name;
        int y, m, d;
        int year, month, day;
    };
    for (const Case& c : {
             Case{"month 13", 2003, 13, 1, 2004, 1, 1},
             Case{"month 0", 2003, 0, 1, 2002, 12, 1},
             Case{"month -13", 2003, -13, 1, 2001, 11, 1},
             Case{"day 0 in a leap year", 2004, 3, 0, 2004, 2, 29},
             Case{"day 0 in a common year", 2003, 3, 0, 2003, 2, 28},
             Case{"day 0 of January", 2003, 1, 0, 2002, 12, 31},
             Case{"day 32 of December", 2003, 12, 32, 2004, 1, 1},
             Case{"29 February of a common year", 2003, 2, 29, 2003, 3, 1},
             Case{"29 February 2000", 2000, 2, 29, 2000, 2, 29},
             Case{"29 February 1900", 1900, 2, 29, 1900, 3, 1},
             Case{"day 366", 2004, 1, 366, 2004, 12, 31},
             Case{"two-digit year 29", 29, 1, 1, 2029, 1, 1},
             Case{"two-digit year 30", 30, 1, 1, 1930, 1, 1},
             Case{"two-digit year 99 into 2000", 99, 13, 1, 2000, 1, 1},
         }) {
        SCOPED_TRACE(c.name);
        double serial = core::vbDateSerial(c.y, c.m, c.d);
        core::DateParts p = core::dateParts(serial);
        EXPECT_EQ(p.year, c.year);
        EXPECT_EQ(p.month, c.month);
        EXPECT_EQ(p.day, c.day);
    }
    EXPECT_EQ(errorOf([] { core::vbDateSerial(10000, 1, 1); }), 5);
    EXPECT_EQ(errorOf([] { core::vbDateSerial(100, 1, 0); }), 5);
    EXPECT_EQ(errorOf([] { core::vbDateSerial(2003, 40000, 1); }), 6);
}

TEST(DateSerial, TimesRollOverAndRoundToTheSecond) {
    EXPECT_EQ(core::vbTimeSerial(24, 0, 0), 1.0);
    EXPECT_DOUBLE_EQ(core::vbTimeSerial(0, 90, 0), 1.5 / 24);
    EXPECT_NEAR(core::vbTimeSerial(10, 0, 1) - core::vbTimeSerial(10, 0, 0), 1.0 / 86400, 1e-12);

    struct Case {
        const char* name;
        double serial;
        core::DateParts expected;
    };
    for (const Case& c : {
             Case{"afternoon", at(2003, 1, 5, 14, 7, 9), {2003, 1, 5, 14, 7, 9}},
             Case{"seconds past 59 carry", at(2003, 12, 31, 23, 59, 60), {2004, 1, 1, 0, 0, 0}},
             Case{"a hair before midnight rounds up", 37627 - 1e-9, {2003, 1, 6, 0, 0, 0}},
             Case{"before the epoch keeps its time", -1.25, {1899, 12, 29, 6, 0, 0}},
             Case{"an hour before the epoch", core::vbTimeSerial(-1, 0, 0), {1899, 12, 29, 23, 0, 0}},
         }) {
        SCOPED_TRACE(c.name);
        core::DateParts p = core::dateParts(c.serial);
        EXPECT_EQ(std::tie(p.year, p.month, p.day, p.hour, p.minute, p.second),
                  std::tie(c.expected.year, c.expected.month, c.expected.day, c.expected.hour,
                           c.expected.minute, c.expected.second));
    }
    EXPECT_EQ(core::vbWeekday(at(2003, 1, 5, 23)), 1);  // a Sunday
    EXPECT_EQ(core::vbWeekday(0), 7);
    EXPECT_EQ(core::dayOfYear(at(2004, 12, 31)), 366);
    EXPECT_EQ(errorOf([] { core::dateParts(3e6); }), 5);
}

TEST(DateText, ReadsStoredAndTypedDates) {
    struct Case {
        const char* text;
        double expected;
    };
    for (const Case& c : {
             Case{"2003-01-05", 37626},
             Case{" 2003-1-5 ", 37626},
             Case{"5/1/2003", 37626},
             Case{"05/01/03", 37626},
             Case{"2004-02-29", 38046},
             Case{"37626", 37626},
             Case{"37626.5", 37626.5},
             Case{"2003-01-05 12:00", 37626.5},
             Case{"5/1/2003 18:00:00", 37626.75},
             Case{"06:00", 0.25},
             Case{"1/Dec/2000", 36861},
             Case{"9/december/07", 39425},
             Case{"01 Dec 2000", 36861},
             Case{"1 dec 2000 06:00", 36861.25},
         }) {
        SCOPED_TRACE(c.text);
        auto serial = core::parseDateText(c.text);
        ASSERT_TRUE(serial.has_value());
        EXPECT_DOUBLE_EQ(*serial, c.expected);
    }
    for (const char* bad : {"", "abc", "2003-02-29", "31/4/2003", "2003-13-01", "2003-01-05x",
                            "25:00", "12:60", "1/2", "9e9", "1/Decem/2000", "01 Dex 2000", "31 Apr 2000",
                            "3e913", "1e99999999999999999999"}) {
        SCOPED_TRACE(bad);
        EXPECT_FALSE(core::parseDateText(bad).has_value());
    }
}

TEST_F(DatesOnClock, NowDateAndTimeComeFromTheClock) {
    today(at(2003, 1, 5, 14, 7, 9));
    EXPECT_EQ(core::vbDate(), 37626);
    EXPECT_DOUBLE_EQ(core::vbTime(), core::vbTimeSerial(14, 7, 9));
    clock_.advance(10 * 3600);
    EXPECT_EQ(core::vbDate(), 37627);
    EXPECT_EQ(core::vbHour(core::vbNow()), 0);
    EXPECT_EQ(core::vbMinute(core::vbNow()), 7);
}

TEST(DateFromParts, WholeDayOrZero) {
    struct Case {
        const char* name;
        Variant value;
        long expected;
    };
    for (const Case& c : {
             Case{"date with time", DateTime{at(2003, 1, 5, 23, 59, 59)}, 37626},
             Case{"double", 37626.99, 37626},
             Case{"stored text", std::string("2003-01-05"), 37626},
             Case{"typed text", std::string("5/1/2003 10:00"), 37626},
             Case{"before the epoch", DateTime{-1.25}, -1},
             Case{"text that is no date", std::string("abc"), 0},
             Case{"empty text", std::string(), 0},
             Case{"empty value", Variant{}, 0},
             Case{"beyond the calendar", 1e9, 0},
         }) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(TXT_DateFromParts(c.value), c.expected);
    }
}

TEST(TimeShort, DropsDateAndSeconds) {
    Variant t = TXT_TimeShort(DateTime{at(2003, 1, 5, 10, 59, 50)});
    ASSERT_TRUE(std::holds_alternative<DateTime>(t));
    EXPECT_DOUBLE_EQ(std::get<DateTime>(t).serial, core::vbTimeSerial(10, 59, 0));
    EXPECT_TRUE(std::holds_alternative<std::monostate>(TXT_TimeShort(std::string("abc"))));
}

TEST(MaxDate, GivesTheEarlierAndIgnoresNonDates) {
    const double early = at(2003, 3, 1, 12), late = at(2003, 3, 9, 8);
    struct Case {
        const char* name;
        Variant a, b;
        double expected;
        bool isFirst;
    };
    for (const Case& c : {
             Case{"a earlier keeps its time", DateTime{early}, DateTime{late}, early, true},
             Case{"b earlier", DateTime{late}, DateTime{early}, early, false},
             Case{"same day takes a", DateTime{at(2003, 3, 1, 23)}, DateTime{early}, at(2003, 3, 1, 23), true},
             Case{"a no date", std::string("abc"), DateTime{late}, late, false},
             Case{"b no date", DateTime{late}, std::string(""), late, true},
             Case{"date texts", std::string("2003-03-09"), std::string("1/3/2003"), 37681, false},
             Case{"neither a date", std::string("x"), std::string("y"), 0, false},
         }) {
        SCOPED_TRACE(c.name);
        bool isFirst = !c.isFirst;
        EXPECT_DOUBLE_EQ(MINMAX_MaxDate(c.a, c.b, isFirst), c.expected);
        EXPECT_EQ(isFirst, c.isFirst);
    }
}

TEST(DateRangesOverlap, SharedDaysOverlapInEitherOrder) {
    const Variant m1 = DateTime{37681}, m9 = DateTime{37689}, m10 = DateTime{37690},
                  m20 = DateTime{37700};
    struct Case {
        const char* name;
        Variant s1, e1, s2, e2;
        bool expected;
    };
    for (const Case& c : {
             Case{"one shared day", m1, m10, m10, m20, true},
             Case{"adjacent days", m1, m9, m10, m20, false},
             Case{"second range first", m10, m20, m1, m10, true},
             Case{"second range first, apart", m10, m20, m1, m9, false},
             Case{"reversed ends, shared day", m10, m1, m20, m10, true},
             Case{"reversed ends, apart", m9, m1, m20, m10, false},
             Case{"one inside the other", m1, m20, m9, m10, true},
             Case{"typed texts", std::string("1/3/2003"), std::string("2003-03-10"),
                  std::string("10/3/2003"), std::string("20/3/2003"), true},
         }) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(TXT_DateRangesOverlap(c.s1, c.e1, c.s2, c.e2), c.expected);
    }
}

TEST_F(DatesOnClock, YearMonthRangeAcrossYearEndsAndLeapYears) {
    struct Case {
        const char* name;
        double today;
        double expected[8];
    };
    const Case cases[] = {
        {"15 January",
         at(2003, 1, 15, 9),
         {at(2003, 1, 1), at(2003, 12, 31), at(2003, 1, 1), at(2003, 1, 31), at(2002, 1, 1),
          at(2002, 12, 31), at(2002, 12, 1), at(2002, 12, 31)}},
        {"leap February",
         at(2004, 2, 10),
         {at(2004, 1, 1), at(2004, 12, 31), at(2004, 2, 1), at(2004, 2, 29), at(2003, 1, 1),
          at(2003, 12, 31), at(2004, 1, 1), at(2004, 1, 31)}},
        {"leap March",
         at(2004, 3, 31, 23, 59, 59),
         {at(2004, 1, 1), at(2004, 12, 31), at(2004, 3, 1), at(2004, 3, 31), at(2003, 1, 1),
          at(2003, 12, 31), at(2004, 2, 1), at(2004, 2, 29)}},
        {"December",
         at(2003, 12, 1),
         {at(2003, 1, 1), at(2003, 12, 31), at(2003, 12, 1), at(2003, 12, 31), at(2002, 1, 1),
          at(2002, 12, 31), at(2003, 11, 1), at(2003, 11, 30)}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        today(c.today);
        long r[8];
        TXT_YearMonthRange(r[0], r[1], r[2], r[3], r[4], r[5], r[6], r[7]);
        for (int k = 0; k < 8; ++k) EXPECT_EQ(r[k], long(c.expected[k])) << "out value " << k + 1;
    }
}

TEST(ElapsedText, CountsUnitBoundaries) {
    struct Case {
        const char* name;
        double t1, t2;
        const char* expected;
    };
    for (const Case& c : {
             Case{"forty seconds", at(2003, 1, 5, 10), at(2003, 1, 5, 10, 0, 40), "less than one minute"},
             Case{"a minute boundary", at(2003, 1, 5, 10, 59, 50), at(2003, 1, 5, 11, 0, 10), "1 minute"},
             Case{"minutes", at(2003, 1, 5, 10), at(2003, 1, 5, 10, 59, 59), "59 minutes"},
             Case{"an hour", at(2003, 1, 5, 10), at(2003, 1, 5, 11), "1 hour"},
             Case{"hours in either order", at(2003, 1, 5, 22), at(2003, 1, 5, 10, 30), "11 hours"},
             Case{"a day boundary", at(2003, 1, 5, 22), at(2003, 1, 6, 2), "1 day"},
             Case{"across a year end", at(2003, 12, 30, 12), at(2004, 1, 1, 1), "2 days"},
             Case{"same time", at(2003, 1, 5, 10), at(2003, 1, 5, 10), "less than one minute"},
         }) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(TXT_ElapsedText(c.t1, c.t2), c.expected);
    }
}

TEST(ElapsedText, WordsSecondsAndDirection) {
    const double t = at(2003, 1, 5, 10);
    EXPECT_EQ(TXT_ElapsedText(t + 3 / 24.0, t, "day", "hour", "minute", "now", true), "3 hours after");
    EXPECT_EQ(TXT_ElapsedText(t, t + 1, "day", "hour", "minute", "now", true), "1 day before");
    EXPECT_EQ(TXT_ElapsedText(t, t + 2, "Tag", "h", "m", "now", true, "vor|nach"), "2 Tags vor");
    const double s = 1.0 / 86400;
    EXPECT_EQ(TXT_ElapsedText(t, t + 40 * s, "d", "h", "m", "now", false, "", "second"), "40 seconds");
    EXPECT_EQ(TXT_ElapsedText(t, t + s, "d", "h", "m", "now", false, "", "second"), "1 second");
    EXPECT_EQ(TXT_ElapsedText(t, t, "d", "h", "m", "now", false, "", "second"), "now");
}

}  // namespace

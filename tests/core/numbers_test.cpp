#include <gtest/gtest.h>

#include <climits>
#include <cmath>

#include "core/numbers.h"
#include "platform/sys/rt_error.h"
#include "tests/support/error_number.h"

using testsupport::errorOf;

namespace {

TEST(Val, ReadsTheLeadingNumber) {
    struct Case {
        const char* text;
        double expected;
    };
    for (const Case& c : {
             Case{"12.5%", 12.5},
             Case{"abc", 0},
             Case{"1 2", 12},
             Case{" \t\n-3.5x", -3.5},
             Case{"1\t2\n3", 123},
             Case{"1\r2", 1},  // CR is not skipped
             Case{"1,5", 1},
             Case{"1.2.3", 1.2},
             Case{".5", 0.5},
             Case{"-.5", -0.5},
             Case{"- 5", -5},
             Case{"", 0},
             Case{"-", 0},
             Case{"12abc", 12},
             Case{"007", 7},
             Case{"999999999999999", 999999999999999.0},
             Case{"1234567890123456", 1234567890123456.0},
             Case{"1e3", 1000},
             Case{"1D2", 100},
             Case{"2.5e-1", 0.25},
             Case{"1e", 1},
             Case{"1e-999", 0},
             Case{"&H1F", 31},
             Case{"&h 1f", 31},
             Case{"&HFFFF", -1},
             Case{"&HFFFFF", 1048575},
             Case{"&HFFFFFFFF", -1},
             Case{"&O17", 15},
             Case{"&HG", 0},
             Case{"&12", 0},
         }) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(TXT_Val(c.text), c.expected);
    }
}

TEST(Val, ErrorsAreRetriedWithoutAmpersandsAndPercents) {
    EXPECT_EQ(errorOf([] { core::vbVal("&HFFFFFFFFF"); }), 6);
    // The retry reads "HFFFFFFFFF", which holds no number.
    EXPECT_EQ(TXT_Val("&HFFFFFFFFF"), 0);
    // An error of the retry reaches the caller.
    EXPECT_EQ(errorOf([] { TXT_Val("1e999"); }), 6);
    EXPECT_EQ(errorOf([] { TXT_Val("1e999%"); }), 6);
}

TEST(Val, AnExponentOfAnyLengthOverflowsOrUnderflowsAlike) {
    for (const char* big : {"1e999", "12e99999999999999999999", "0.5e400", "1e+2147483648"}) {
        SCOPED_TRACE(big);
        EXPECT_EQ(errorOf([&] { core::vbVal(big); }), 6);
    }
    EXPECT_EQ(errorOf([] { TXT_Val(std::string(400, '9')); }), 6);
    // CDbl takes a "+" before the exponent.
    EXPECT_EQ(errorOf([] { core::vbCDbl("9e+" + std::string(60, '1')); }), 6);
    for (const char* small : {"1e-999", "12e-99999999999999999999", "0.000e99999999999999999999"}) {
        SCOPED_TRACE(small);
        EXPECT_EQ(core::vbVal(small), 0);
    }
}

// Past a Double's range CDbl overflows, but the text is simply no number: callers
// that only ask (a grid's alignment and sort, a filter) never see an error.
TEST(Conversions, ANumberPastADoublesRangeIsNoNumberAndOverflowsCDbl) {
    for (const char* big : {"1e999", "-1e999", "&H1FFFFFFFF"}) {
        SCOPED_TRACE(big);
        double value = 0;
        EXPECT_FALSE(core::parseNumber(big, value));
        EXPECT_FALSE(core::isNumericText(big));
        EXPECT_EQ(errorOf([&] { core::vbCDbl(big); }), 6);
    }
}

TEST(StoredBooleans, OnlyOneIsTrue) {
    for (const char* yes : {"1", "1.0", " 1", "1%"}) {
        SCOPED_TRACE(yes);
        EXPECT_TRUE(TXT_IsTrue(yes));
        EXPECT_TRUE(TXT_IsTrueB(yes));
    }
    for (const char* no : {"-1", "True", "", "2", "0"}) {
        SCOPED_TRACE(no);
        EXPECT_FALSE(TXT_IsTrue(no));
    }
    EXPECT_EQ(TXT_BoolText(true) + TXT_BoolTextB(false), "10");
    EXPECT_TRUE(TXT_IsTrue(TXT_BoolText(true)));
    EXPECT_EQ(TXT_BoolChoice(true, "Yes|No"), "Yes");
    EXPECT_EQ(TXT_BoolChoice(false, "Yes|No"), "No");
    EXPECT_EQ(TXT_BoolChoice(false, "Yes"), "");
    EXPECT_EQ(TXT_BoolToInt(true), -1);
    EXPECT_EQ(TXT_BoolToInt(false), 0);
    EXPECT_TRUE(TXT_IsOne(1));
    EXPECT_FALSE(TXT_IsOne(-1));
}

TEST(NumberText, FormatChoiceAndListItems) {
    EXPECT_EQ(TXT_FormatChoice(true, "", "Yes|No"), "Yes");
    EXPECT_EQ(TXT_FormatChoice(false, "", "Yes|No"), "No");
    EXPECT_EQ(TXT_FormatChoice(true, "0", "Yes|No"), "-1");

    struct Case {
        const char* name;
        double value;
        const char* expected;
    };
    for (const Case& c : {
             Case{"zero gives its text", 0, "none"},
             Case{"item of the rounded value", 2.4, "b"},
             Case{"half rounds to even", 2.5, "b"},
             Case{"empty item falls back to the number", 4, "4.0"},
             Case{"past the list", 7, "7.0"},
             Case{"huge values have no name and no overflow", 1e12, "1000000000000.0"},
             Case{"negative", -1, "-1.0"},
             Case{"not a number has no name", std::nan(""), ""},
         }) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(TXT_FormatOrListItem(c.value, "0.0", "none", "a|b|c||e"), c.expected);
    }
}

TEST(NumberText, SafeDivideNeverDividesByZero) {
    double quotient = 42;
    EXPECT_EQ(TXT_SafeDivide(5, 0, "na", "0.0", quotient), "na");
    EXPECT_EQ(quotient, 42);
    EXPECT_EQ(TXT_SafeDivide(1, 3, "na", "0.00", quotient), "0.33");
    EXPECT_DOUBLE_EQ(quotient, 1.0 / 3);
}

TEST(Conversions, CIntAndCLngRoundHalfToEvenAndOverflow) {
    struct Case {
        double value;
        int expected;
    };
    for (const Case& c : {Case{2.5, 2}, Case{3.5, 4}, Case{-2.5, -2}, Case{0.5, 0}, Case{1.5, 2},
                          Case{2.4999, 2}, Case{-0.6, -1}, Case{32767.4, 32767},
                          Case{-32768.5, -32768}}) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(core::vbCInt(c.value), c.expected);
    }
    for (double over : {32767.5, -32768.6, 1e10, std::nan("")}) {
        SCOPED_TRACE(over);
        EXPECT_EQ(errorOf([&] { core::vbCInt(over); }), 6);
    }
    EXPECT_EQ(core::vbCLng(-2147483648.5), -2147483648L);
    EXPECT_EQ(core::vbCLng(2147483646.5), 2147483646L);
    EXPECT_EQ(errorOf([] { core::vbCLng(2147483647.5); }), 6);
    EXPECT_EQ(core::vbCInt(std::string_view("2003")), 2003);
    EXPECT_EQ(core::vbCLng(std::string_view(" 1,000.5 ")), 1000);
}

// Numbers read from files and logs become whole numbers cut toward zero, clamped to
// the type: no cast of a value out of range.
TEST(Conversions, WholeOfCutsTowardZeroAndClampsWhatDoesNotFit) {
    const double nan = std::nan(""), inf = HUGE_VAL;
    struct Case {
        const char* text;
        double value;
        long long asLongLong;
        long asLong;
        int asInt;
    } cases[] = {
        {"2.9", 2.9, 2, 2, 2},
        {"-2.9", -2.9, -2, -2, -2},
        {"1e30", TXT_Val("1e30"), LLONG_MAX, LONG_MAX, INT_MAX},
        {"-1e30", TXT_Val("-1e30"), LLONG_MIN, LONG_MIN, INT_MIN},
        {"2147483648", 2147483648.0, 2147483648LL, 2147483648L, INT_MAX},
        {"-2147483649", -2147483649.0, -2147483649LL, -2147483649L, INT_MIN},
        {"2^63", 9223372036854775808.0, LLONG_MAX, LONG_MAX, INT_MAX},
        {"infinity", inf, LLONG_MAX, LONG_MAX, INT_MAX},
        {"-infinity", -inf, LLONG_MIN, LONG_MIN, INT_MIN},
        {"NaN", nan, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(core::wholeOf<long long>(c.value), c.asLongLong);
        EXPECT_EQ(core::wholeOf<long>(c.value), c.asLong);
        EXPECT_EQ(core::wholeOf<int>(c.value), c.asInt);
    }
    EXPECT_EQ(core::wholeOf<unsigned>(-3.5), 0u);
    // A counter that must go on from the value overflows instead.
    for (double value : {1e30, -1e30, 2147483648.0, nan}) {
        SCOPED_TRACE(value);
        EXPECT_EQ(testsupport::errorOf([&] { core::wholeOf<int>(value, core::OutOfRange::Overflow); }), 6);
    }
    EXPECT_EQ(core::wholeOf<int>(-2147483648.5, core::OutOfRange::Overflow), INT_MIN);
    EXPECT_EQ(core::wholeOf<long>(2147483648.9, core::OutOfRange::Overflow), 2147483648L);
}

TEST(Conversions, CDblOfTextRefusesWhatIsNoNumber) {
    struct Case {
        const char* text;
        double expected;
    };
    for (const Case& c : {Case{"1,000", 1000}, Case{" 12.5 ", 12.5}, Case{"-3", -3},
                          Case{"&H10", 16}, Case{"1e3", 1000}, Case{".5", 0.5}}) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(core::vbCDbl(c.text), c.expected);
    }
    for (const char* bad : {"abc", "", "1.2.3", "12abc", "1 2", "&H", "&HZ", "1e", ",5"}) {
        SCOPED_TRACE(bad);
        EXPECT_EQ(errorOf([&] { core::vbCDbl(bad); }), 13);
    }
}

TEST(Conversions, StrGivesTheShortestForm) {
    EXPECT_EQ(core::vbStr(5), "5");
    EXPECT_EQ(core::vbStr(-0.0), "0");
    EXPECT_EQ(core::vbStr(12.5), "12.5");
    EXPECT_EQ(core::vbStr(0.1 + 0.2), "0.3");
    EXPECT_EQ(core::vbStr(123456789012345), "123456789012345");
    EXPECT_EQ(core::vbStr(-42), "-42");
    EXPECT_EQ(core::vbStr(1e15), "1E+15");
    EXPECT_EQ(core::vbStr(-1e-7), "-1E-07");
}

TEST(MinMax, PicksTheLargerOrSmaller) {
    EXPECT_EQ(MINMAX_MaxDbl(1.5, -2), 1.5);
    EXPECT_EQ(MINMAX_MinDbl(1.5, -2), -2);
    EXPECT_EQ(MINMAX_MaxInt(-3, -7), -3);
    EXPECT_EQ(MINMAX_MinInt(-3, -7), -7);
    EXPECT_EQ(MINMAX_MaxLng(3000000000L, 2), 3000000000L);
    EXPECT_EQ(MINMAX_MinLng(3000000000L, 2), 2);
}

}  // namespace

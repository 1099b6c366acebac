#include <gtest/gtest.h>

#include "core/dates.h"
#include "core/vb_format.h"
#include "platform/sys/rt_error.h"

namespace {

using core::DateTime;
using core::Variant;

struct FormatCase {
    const char* name;
    Variant value;
    const char* format;
    const char* expected;
};

void expectAll(std::initializer_list<FormatCase> cases) {
    for (const FormatCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(core::vbFormat(c.value, c.format), c.expected);
    }
}

TEST(VbFormat, NumbersRoundHalfAwayFromZeroAndGroup) {
    expectAll({
        {"grouping", 1234567.0, "#,###,##0", "1,234,567"},
        {"zero keeps its 0", 0.0, "#,###,##0", "0"},
        {"more digits than placeholders", 12345678901.0, "###,###,###,##0", "12,345,678,901"},
        {"long", 1234L, "#,###,##0", "1,234"},
        {"half up", 2.5, "0", "3"},
        {"half up odd", 3.5, "0", "4"},
        {"negative half away", -2.5, "0", "-3"},
        {"binary noise below the half", 2.675, "0.00", "2.68"},
        {"another noisy half", 1.005, "0.00", "1.01"},
        {"half at the first decimal", 0.05, "0.0", "0.1"},
        {"carry through nines", 9.996, "0.00", "10.00"},
        {"deviation value", 3.42, "#,###,##0.00", "3.42"},
        {"leading zeros", 12L, "000", "012"},
        {"fifteen digits", 20030105143000.0, "000000000000000", "020030105143000"},
        {"stamp with literals", 200301011230.0, "0000-00-00 00:00", "2003-01-01 12:30"},
        {"text after the number", 5L, "#,###,##0 bots.", "5 bots."},
        {"text with letters of date codes", 1234L, "#,###,##0 components.", "1,234 components."},
        {"only decimals", 1.5, ".00000000", "1.50000000"},
        {"only decimals below one", 0.25, ".00000000", ".25000000"},
        {"optional decimals", 1.5, "0.##", "1.5"},
        {"optional decimals all zero", 1.0, "0.##", "1."},
        {"hash drops a zero whole", 0.5, "#.0", ".5"},
        {"quoted and escaped literals", 5L, "\"n=\"0\\#", "n=5#"},
        {"a rounded zero has no minus", -0.4, "0", "0"},
        {"true is -1", true, "0", "-1"},
        {"standard", 1234.5, "Standard", "1,234.50"},
        {"empty value", Variant{}, "0", ""},
    });
}

TEST(VbFormat, PercentMultipliesByHundred) {
    expectAll({
        {"whole percent", 0.123, "0 %", "12 %"},
        {"one decimal", 0.1234, "0.0 %", "12.3 %"},
        {"half of a tenth", 0.0005, "0.0 %", "0.1 %"},
        {"negative", -0.05, "0 %", "-5 %"},
        {"above one", 1.5, "0 %", "150 %"},
    });
}

TEST(VbFormat, SectionsPickByTheSign) {
    expectAll({
        {"positive", 7L, "+0;(0);\"zero\"", "+7"},
        {"negative without its minus", -7L, "+0;(0);\"zero\"", "(7)"},
        {"zero", 0L, "+0;(0);\"zero\"", "zero"},
        {"empty negative section uses the first", -7L, "0;;z", "-7"},
    });
}

TEST(VbFormat, DatesUseEnglishNamesAndAnyCase) {
    Variant when = DateTime{core::vbDateSerial(2003, 1, 5) + core::vbTimeSerial(14, 7, 9)};
    expectAll({
        {"stamp", when, "yyyymmddhhnnss", "20030105140709"},
        {"day month year", when, "dd mmm yyyy", "05 Jan 2003"},
        {"upper-case year", when, "dd mmm YYYY", "05 Jan 2003"},
        {"short forms", when, "d mmm yy", "5 Jan 03"},
        {"month first", when, "mmm dd yyyy hh:nn", "Jan 05 2003 14:07"},
        {"dot before seconds", when, "yyyy-mm-dd hh:nn.ss", "2003-01-05 14:07.09"},
        {"time digits", when, "hhnnss", "140709"},
        {"long names", when, "dddd d mmmm", "Sunday 5 January"},
        {"short date", when, "short date", "2003-01-05"},
        {"short time", when, "Short time", "14:07"},
        {"a number is a serial", 38000.0, "yyyy-mm-dd", "2004-01-14"},
        {"a date text", std::string("5/1/2003"), "dd mmm yyyy", "05 Jan 2003"},
        {"a month read by name", std::string("1/Dec/2000"), "mm", "12"},
        {"a text that is no date", std::string("abc"), "yyyy", "abc"},
    });
}

TEST(VbFormat, TextsAsNumbersAndMasks) {
    expectAll({
        {"numeric text", std::string("12.5"), "0.00", "12.50"},
        {"sort key of a numeric text", std::string("123"), "00000000", "00000123"},
        {"non-numeric text unchanged", std::string("abc"), "0.00", "abc"},
        {"text past a Double's range unchanged", std::string("3e913"), "0.0 %", "3e913"},
        {"day mask", std::string("20030105"), "@@@@-@@-@@", "2003-01-05"},
        {"mask with trailing literal", std::string("20030105"), "@@@@-@@-@@ ]", "2003-01-05 ]"},
        {"short text fills from the right", std::string("123"), "@@@@@", "  123"},
        {"ampersand leaves no blank", std::string("123"), "&&&&&", "123"},
        {"surplus goes to the first placeholder", std::string("1234567"), "@@-@@", "12345-67"},
        {"number through a mask", 20030105L, "@@@@-@@-@@", "2003-01-05"},
    });
}

TEST(VbFormat, EmptyFormatGivesTheGeneralText) {
    expectAll({
        {"whole", 5.0, "", "5"},
        {"fraction", 0.25, "", "0.25"},
        {"fifteen digits", 1.0 / 3, "", "0.333333333333333"},
        {"large", 1e20, "", "1E+20"},
        {"small", 0.00001, "", "1E-05"},
        {"date only", DateTime{37626}, "", "2003-01-05"},
        {"date and time", DateTime{37626.5}, "", "2003-01-05 12:00:00"},
        {"time only", DateTime{0.75}, "", "18:00:00"},
        {"boolean", false, "", "False"},
        {"text", std::string("x"), "", "x"},
    });
}

TEST(VbFormat, ErrorsRaiseAndTheWrappersGiveEmptyText) {
    struct Bad {
        const char* name;
        Variant value;
        const char* format;
    };
    for (const Bad& c : {Bad{"date beyond 9999", 1e9, "yyyy"}, Bad{"exponent format", 1.5, "0.00E+00"},
                         Bad{"numeric text beyond 9999", std::string("20030105"), "dd mmm yyyy"}}) {
        SCOPED_TRACE(c.name);
        try {
            core::vbFormat(c.value, c.format);
            ADD_FAILURE() << "no error";
        } catch (const sys::RtError& e) {
            EXPECT_EQ(e.number(), 5);
        }
        EXPECT_EQ(TXT_FormatVar(c.value, c.format), "");
    }
    EXPECT_EQ(TXT_FormatDbl(1e9, "dd mmm yyyy"), "");
    EXPECT_EQ(TXT_FormatDbl(0.125, "0.00"), "0.13");
    EXPECT_EQ(TXT_FormatLng(1234567, "#,###,##0"), "1,234,567");
    EXPECT_EQ(TXT_FormatStr("3100001", "@@@.@@@.@@@.@"), "   .310.000.1");
}

}  // namespace

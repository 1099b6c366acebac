#include <gtest/gtest.h>

#include "platform/dao/schema.h"
#include "platform/dao/value.h"
#include "platform/sys/rt_error.h"

using dao::ColumnType;
using dao::FieldType;
using dao::Value;

TEST(DaoValue, TextOfNumbersHasNoExponentAndNoTrailingZeros) {
    struct Case { double v; const char* text; } cases[] = {
        {20261231235950.0, "20261231235950"}, {2.5, "2.5"}, {-0.125, "-0.125"},
        {1e20, "100000000000000000000"}, {1.5e-7, "0.00000015"}, {0.1 + 0.2, "0.3"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(Value(c.v).asText(), c.text);
    }
    EXPECT_EQ(Value(static_cast<long long>(9007199254740993LL)).asText(), "9007199254740993");
}

TEST(DaoValue, NullAndNonNumbersRaise) {
    try {
        Value().asText();
        FAIL();
    } catch (const sys::RtError& e) {
        EXPECT_EQ(e.number(), 94);
    }
    EXPECT_THROW(Value("12abc").asDouble(), sys::RtError);
    EXPECT_DOUBLE_EQ(Value(" 12.5 ").asDouble(), 12.5);
    EXPECT_EQ(Value(true), Value(-1));
}

TEST(DaoCoerce, ValuesTakeTheColumnsType) {
    const ColumnType lng{FieldType::Long, 0}, integer{FieldType::Integer, 0}, byte{FieldType::Byte, 0},
        boolean{FieldType::Boolean, 0}, text5{FieldType::Text, 5}, dbl{FieldType::Double, 0};
    struct Case { const char* name; Value in; ColumnType col; Value out; } cases[] = {
        {"half rounds to even", Value(2.5), lng, Value(2)},
        {"odd half rounds up", Value(3.5), lng, Value(4)},
        {"negative half", Value(-2.5), lng, Value(-2)},
        {"stamp stays whole", Value(20261231235959.0), lng, Value(20261231235959LL)},
        {"huge clamps", Value(1e30), lng, Value(9223372036854775807LL)},
        {"integer clamps", Value(40000), integer, Value(32767)},
        {"byte clamps at zero", Value(-5), byte, Value(0)},
        {"numeric text", Value(" 12 "), lng, Value(12)},
        {"boolean from number", Value(5), boolean, Value(-1)},
        {"boolean from word", Value("False"), boolean, Value(0)},
        {"number to text", Value(12.5), text5, Value("12.5")},
        {"text that fits", Value("abcde"), text5, Value("abcde")},
        {"text to double", Value("0.25"), dbl, Value(0.25)},
        {"null stays null", Value(), lng, Value()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(dao::coerceForColumn(c.in, c.col, "f"), c.out);
    }
}

TEST(DaoCoerce, RefusesWhatTheColumnCannotHold) {
    struct Case { const char* name; Value in; ColumnType col; int err; } cases[] = {
        {"word in a number", Value("abc"), {FieldType::Long, 0}, 3421},
        {"empty text in a number", Value(""), {FieldType::Double, 0}, 3421},
        {"text too long", Value("abcdef"), {FieldType::Text, 5}, 3163},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            dao::coerceForColumn(c.in, c.col, "f");
            ADD_FAILURE() << "no error";
        } catch (const sys::RtError& e) {
            EXPECT_EQ(e.number(), c.err);
        }
    }
}

TEST(DaoNames, OnlyWordCharacters) {
    EXPECT_TRUE(dao::isValidName("LogLnID_2"));
    for (const char* bad : {"", "a b", "a;b", "x\"", "drop--", "a.b"}) {
        SCOPED_TRACE(bad);
        EXPECT_FALSE(dao::isValidName(bad));
    }
    EXPECT_FALSE(dao::isValidName(std::string(65, 'a')));
}

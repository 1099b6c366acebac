#include <gtest/gtest.h>

#include "core/dates.h"
#include "shell/time_stamps.h"

TEST(TimeStamps, DifferencesInSeconds) {
    struct Case { const char* name; double a, b; long seconds; } cases[] = {
        {"across midnight at a year's end", 20261231235950.0, 20270101000010.0, 20},
        {"swapped", 20270101000010.0, 20261231235950.0, -20},
        {"across a month's end", 20260228235959.0, 20260301000000.0, 1},
        {"leap day", 20240228120000.0, 20240301120000.0, 2 * 86400},
        {"equal", 20260101000000.0, 20260101000000.0, 0},
        {"both zero", 0, 0, 0},
        {"first zero", 0, 20260101000000.0, 2147483647},
        {"second zero", 20260101000000.0, 0, -2147483647},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(TBL_StampDiff(c.a, c.b), c.seconds);
    }
}

TEST(TimeStamps, AddingSecondsRollsOverEveryUnit) {
    struct Case { const char* stamp; double seconds; const char* result; } cases[] = {
        {"20261231235959", 1, "20270101000000"},
        {"20270101000000", -1, "20261231235959"},
        {"20260131120000", 7200, "20260131140000"},
        {"20260228230000", 3600, "20260301000000"},
        {"20260315101010", -14400, "20260315061010"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stamp);
        EXPECT_EQ(TBL_StampAddSeconds(c.stamp, c.seconds), c.result);
    }
}

TEST(TimeStamps, PartsAreReadAtFixedPositions) {
    EXPECT_EQ(TBL_StampDatePart("20261210"), static_cast<long>(core::vbDateSerial(2026, 12, 10)));
    // Seven characters: the day is the single seventh character.
    EXPECT_EQ(TBL_StampDatePart("2026121"), static_cast<long>(core::vbDateSerial(2026, 12, 1)));
    // Month 13 rolls into the next year, day 0 back into the month before.
    EXPECT_EQ(TBL_StampDatePart("20261301"), static_cast<long>(core::vbDateSerial(2027, 1, 1)));
    EXPECT_EQ(TBL_StampDatePart("20260300"), static_cast<long>(core::vbDateSerial(2026, 2, 28)));
    EXPECT_DOUBLE_EQ(TBL_StampTimePart("20261210063000"), 0.2708333333333333);
    EXPECT_DOUBLE_EQ(TBL_StampTimePart(""), 0.0);
    EXPECT_DOUBLE_EQ(TBL_StampToDate("20261210120000"), core::vbDateSerial(2026, 12, 10) + 0.5);
}

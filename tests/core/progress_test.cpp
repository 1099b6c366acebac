#include "core/progress.h"

#include <gtest/gtest.h>

#include "platform/sys/rt_error.h"

namespace {

// Without the window toolkit, reports still number themselves, raise the caller's
// count and deliver a pending Stop, so Qt-free operations behave the same in tests.
TEST(WindowlessProgressTest, CountsAndDeliversAPendingStop) {
    long n = 0;
    PIS_Start("Reading.", "rows", 10, "", n, 0, 2, false);
    EXPECT_EQ(n, 1);
    int64_t done = 0;
    PIS_Update(done, "", n, {.increment = true});
    EXPECT_EQ(done, 1);

    gPISAbort = sys::kErrUserAbort;
    try {
        PIS_Update(done, "", n);
        FAIL() << "no abort";
    } catch (const sys::RtError& e) {
        EXPECT_EQ(e.number(), 1066);
    }
    EXPECT_EQ(gPISAbort, 0);
    PIS_End(n);

    gPISOff = true;
    n = 5;
    PIS_Start("Reading.", "rows", 10, "", n, 0, 2, false);
    EXPECT_EQ(n, 5);
    gPISOff = false;
}

TEST(WindowlessProgressTest, QuietLastsOneScope) {
    {
        PIS_QuietScope quiet;
        EXPECT_TRUE(gPISQuiet);
    }
    EXPECT_FALSE(gPISQuiet);
}

}  // namespace

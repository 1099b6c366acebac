#include <cerrno>

#include <gtest/gtest.h>

#include "platform/sys/rt_error.h"

TEST(RtError, ErrnoMapsToVbNumbers) {
    struct Case { int err; bool missingIsPath; int vb; } cases[] = {
        {ENOENT, false, 53}, {ENOENT, true, 76}, {EACCES, false, 70}, {EPERM, false, 70},
        {EBUSY, false, 70},  {EEXIST, false, 58}, {ENOSPC, false, 61}, {EIO, false, 57},
        {EXDEV, false, 75},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.err);
        EXPECT_EQ(sys::vbErrorFromErrno(c.err, c.missingIsPath), c.vb);
    }
}

TEST(RtError, CarriesNumberDescriptionAndSource) {
    try {
        sys::raiseErrno(ENOSPC, "/data/x.db", "LogLnRaw_Add");
        FAIL() << "no throw";
    } catch (const sys::RtError& e) {
        EXPECT_EQ(e.number(), 61);
        EXPECT_EQ(e.source(), "LogLnRaw_Add");
        EXPECT_NE(e.description().find("Disk full: /data/x.db"), std::string::npos);
    }
    EXPECT_EQ(sys::vbErrorDescription(424242), "Application-defined or object-defined error");
}

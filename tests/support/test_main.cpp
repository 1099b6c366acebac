// Every test program starts here. Each test may run in a process of its own, so the
// process is set up as the program sets itself up at start, never by an earlier test.
#include <gmock/gmock.h>

#include <cstdlib>

#include "core/text.h"

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("DRAVOLIN_SOURCE_DIR", DRAVOLIN_TEST_SOURCE_DIR, 0);
    TXT_CrLfInit();
    testing::InitGoogleMock(&argc, argv);
    return RUN_ALL_TESTS();
}

#include "tests/support/qt_test_application.h"

static auto* const qtEnvironment =
    testing::AddGlobalTestEnvironment(new testsupport::QtApplicationEnvironment);

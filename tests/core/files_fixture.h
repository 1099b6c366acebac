#pragma once
// A temporary program folder, the headless user interface and a scripted responder,
// with the line-break strings set, for the file-service tests.
#include <gtest/gtest.h>

#include <string>

#include "core/text.h"
#include "tests/support/fake_user_interface.h"
#include "tests/support/scripted_responder.h"
#include "tests/support/temp_home.h"

class FilesTest : public ::testing::Test {
protected:
    void SetUp() override { TXT_CrLfInit(); }
    void TearDown() override { EXPECT_EQ(responder.pending(), 0u) << "boxes expected but not shown"; }

    std::string path(const std::string& name) const { return home / name; }

    testsupport::TempHome home;
    testsupport::FakeUserInterface ui;
    testsupport::ScriptedResponder responder;
};

#pragma once
// Window tests run with the real Qt user interface, answer the few boxes from a
// queue, and let the error handler log to a temporary file and report through the
// system box, which the test interface answers with OK and records.
#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "core/dialog_responder.h"
#include "core/error_handler.h"
#include "core/text.h"
#include "core/user_interface.h"
#include "platform/ui/qt_user_interface.h"
#include "tests/support/temp_home.h"

class TestUserInterface : public ui::QtUserInterface {
public:
    int msgBox(const std::string& message, const std::string&, const std::string&,
               const std::string& caption) override {
        messages.push_back(message);
        if (answers.empty()) throw core::UnexpectedDialog(caption + ": " + message);
        const int a = answers.front();
        answers.pop_front();
        return a;
    }
    int listDlg(const std::vector<std::string>& rows, const std::string& header, const std::string&,
                const std::string&, const std::string&, const std::string&) override {
        listRows = rows;
        listHeader = header;
        return 1;
    }
    bool systemOkCancel(const std::string& message, const std::string&) override {
        errorReports.push_back(message);
        return true;
    }
    void doEvents() override {
        ++yields;
        if (onYield) onYield();
        ui::QtUserInterface::doEvents();
    }

    std::deque<int> answers;
    std::vector<std::string> messages;
    std::vector<std::string> errorReports;
    std::vector<std::string> listRows;
    std::string listHeader;
    int yields = 0;
    std::function<void()> onYield;
};

class WindowTest : public testing::Test {
protected:
    void SetUp() override {
        TXT_CrLfInit();
        core::setUserInterface(&qt_);
        savedLog_ = gPAFN_Errorlog;
        gPAFN_Errorlog = home_ / "errors.log";
    }
    void TearDown() override {
        gPAFN_Errorlog = savedLog_;
        core::setUserInterface(nullptr);
        core::gInDoEvents = false;
    }

    testsupport::TempHome home_;
    std::string savedLog_;
    TestUserInterface qt_;
};

#pragma once
// Window tests run with the real Qt user interface, answer the few boxes from a
// queue, and collect what reaches the central error handler.
#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "core/dialog_responder.h"
#include "core/handler_error.h"
#include "core/user_interface.h"
#include "platform/ui/qt_user_interface.h"

struct HandledError {
    int number;
    std::string description;
    core::UiHandle form;
    std::string procName;
};

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
    void doEvents() override {
        ++yields;
        if (onYield) onYield();
        ui::QtUserInterface::doEvents();
    }

    std::deque<int> answers;
    std::vector<std::string> messages;
    std::vector<std::string> listRows;
    std::string listHeader;
    int yields = 0;
    std::function<void()> onYield;
};

class WindowTest : public testing::Test {
protected:
    void SetUp() override {
        core::setUserInterface(&qt_);
        core::setHandlerErrorSink([this](const sys::RtError& e, core::UiHandle form, const std::string& proc,
                                         const std::string&) {
            errors.push_back({e.number(), e.description(), form, proc});
        });
    }
    void TearDown() override {
        core::setHandlerErrorSink({});
        core::setUserInterface(nullptr);
        core::gInDoEvents = false;
    }

    TestUserInterface qt_;
    std::vector<HandledError> errors;
};

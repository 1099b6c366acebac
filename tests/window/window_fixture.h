#pragma once
// Window tests run with the real Qt user interface and collect what reaches the
// central error handler.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/handler_error.h"
#include "core/user_interface.h"
#include "platform/ui/qt_user_interface.h"

struct HandledError {
    int number;
    std::string description;
    void* form;
    std::string procName;
};

class WindowTest : public testing::Test {
protected:
    void SetUp() override {
        core::setUserInterface(&qt_);
        core::setHandlerErrorSink([this](const sys::RtError& e, void* form, const std::string& proc,
                                         const std::string&) {
            errors.push_back({e.number(), e.description(), form, proc});
        });
    }
    void TearDown() override {
        core::setHandlerErrorSink({});
        core::setUserInterface(nullptr);
        core::gInDoEvents = false;
    }

    ui::QtUserInterface qt_;
    std::vector<HandledError> errors;
};

#pragma once
// A QApplication for the whole test program. Include in one .cpp of a Qt test
// executable and register it there:
//   static auto* const env = testing::AddGlobalTestEnvironment(new testsupport::QtApplicationEnvironment);
#include <gtest/gtest.h>

#include <QApplication>
#include <memory>

namespace testsupport {

class QtApplicationEnvironment : public testing::Environment {
public:
    void SetUp() override { app_ = std::make_unique<QApplication>(argc_, argv_); }
    void TearDown() override { app_.reset(); }

private:
    int argc_ = 1;
    char name_[8] = "tests";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QApplication> app_;
};

}  // namespace testsupport

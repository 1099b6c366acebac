// Widgets need a QApplication; one lives for the whole test run.
#include <QApplication>
#include <gtest/gtest.h>

namespace {

class QtApplication : public ::testing::Environment {
public:
    void SetUp() override { app_ = new QApplication(argc_, argv_); }
    void TearDown() override { delete app_; }

private:
    int argc_ = 1;
    char name_[16] = "window_tests";
    char* argv_[2] = {name_, nullptr};
    QApplication* app_ = nullptr;
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new QtApplication);

}  // namespace

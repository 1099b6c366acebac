#include "window/event_guard.h"

#include <QApplication>
#include <QDialog>
#include <QEventLoop>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <stdexcept>

#include "platform/sys/rt_error.h"
#include "platform/ui/controls.h"
#include "platform/ui/forms.h"
#include "platform/ui/screen_pointer.h"
#include "window_fixture.h"

namespace {

using window::Guard;
using window::guarded;

class EventGuardTest : public WindowTest {};

TEST_F(EventGuardTest, PointerStaysWhileAButtonIsHeldUntilTheModalShowRestoresIt) {
    QWidget surface;
    surface.show();
    MSE_Hourglass();
    ASSERT_EQ(qt_.mousePointer(), ui::kPointerHourglass);

    QTest::mousePress(&surface, Qt::LeftButton);
    MSE_PointerDefault();
    EXPECT_EQ(gMousePointer, ui::kPointerDefault);           // recorded
    EXPECT_EQ(qt_.mousePointer(), ui::kPointerHourglass);  // but the screen is left alone

    QDialog box(&surface);
    QTimer::singleShot(0, [&] {
        EXPECT_TRUE(gInModalShow);
        EXPECT_EQ(box.windowModality(), Qt::WindowModal);
        qt_.setMousePointer(ui::kPointerDefault);  // something inside resets the pointer
        box.hide();
    });
    MSE_ShowModal(&box);
    EXPECT_FALSE(gInModalShow);
    EXPECT_FALSE(gMsePointerForce);
    EXPECT_EQ(qt_.mousePointer(), ui::kPointerHourglass);  // restored despite the button
    QTest::mouseRelease(&surface, Qt::LeftButton);
    MSE_PointerDefault();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(EventGuardTest, HandlersSkipWhileYieldingExceptTheStopKind) {
    bool normalRan = false, stopRan = false, normalResult = true, nestedKeptFlag = false;
    QTimer::singleShot(0, [&] {
        normalResult = guarded(nullptr, "fMnu_Click", Guard::SkipWhileYielding, [&] { normalRan = true; });
        guarded(nullptr, "fCancel_Click", Guard::RunWhileYielding, [&] {
            stopRan = true;
            MSE_DoEvents();  // a nested yield
            nestedKeptFlag = gInDoEvents;
        });
    });
    EXPECT_GE(MSE_DoEvents(), 0);
    EXPECT_FALSE(normalRan);
    EXPECT_FALSE(normalResult);
    EXPECT_TRUE(stopRan);
    EXPECT_TRUE(nestedKeptFlag);
    EXPECT_FALSE(gInDoEvents);

    EXPECT_TRUE(guarded(nullptr, "fMnu_Click", Guard::SkipWhileYielding, [&] { normalRan = true; }));
    EXPECT_TRUE(normalRan);
}

TEST_F(EventGuardTest, ErrorsOfAClickedHandlerReachTheErrorHandlerAndNothingEscapes) {
    struct Case {
        const char* name;
        std::function<void()> fault;
        std::string detail;
    };
    const Case cases[] = {
        {"run-time error", [] { sys::raise(53); }, "<< 53 - File not found>>."},
        {"own description", [] { throw sys::RtError(1331, "Report 1 ended early."); },
         "<< 1331 - Report 1 ended early.>>."},
        {"standard exception", [] { throw std::runtime_error("bad state"); }, "<< 51 - bad state>>."},
        {"anything", [] { throw 42; }, "<< 51 - unknown exception>>."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        qt_.errorReports.clear();
        auto* form = new ui::Form;
        QPointer<ui::Form> ref(form);
        auto* button = new QPushButton("OK", form);
        form->show();
        QObject::connect(button, &QPushButton::clicked, [&] {
            guarded(form, "fOK_Click", Guard::SkipWhileYielding, c.fault);
        });
        QTest::mouseClick(button, Qt::LeftButton);
        ASSERT_EQ(qt_.errorReports.size(), 1u);
        EXPECT_NE(qt_.errorReports[0].find(c.detail), std::string::npos) << qt_.errorReports[0];
        EXPECT_NE(qt_.errorReports[0].find("INTERNAL. Proc: fOK_Click"), std::string::npos);
        EXPECT_FALSE(ui::isLoaded(ref));  // OK abandons the action and unloads the window
    }
    EXPECT_FALSE(testsupport::readFile(gPAFN_Errorlog).empty());
}

TEST_F(EventGuardTest, CancelInTheErrorBoxEndsTheEventLoopsInsteadOfThrowing) {
    struct CancellingInterface : TestUserInterface {
        bool systemOkCancel(const std::string&, const std::string&) override { return false; }
    } cancelling;
    core::setUserInterface(&cancelling);
    QEventLoop loop;
    QTimer::singleShot(0, [&] {
        guarded(nullptr, "fMnu_Click", Guard::SkipWhileYielding, [] { sys::raise(53); });
    });
    QTimer::singleShot(5000, &loop, [&] { loop.exit(99); });  // a guard, never expected
    EXPECT_EQ(loop.exec(), 0);  // ended by the program end, not by the guard
    core::setUserInterface(&qt_);
    // The application now refuses new event loops, as it should before main() returns.
    // One run of the main loop clears that for the tests that follow.
    QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    QCoreApplication::exec();
}

TEST_F(EventGuardTest, PointerYieldRunsHandlersInFullAndHandsBackTheirPointer) {
    bool yielding = true;
    QTimer::singleShot(0, [&] {
        yielding = gInDoEvents;
        MSE_PointerSet(ui::kPointerDefault);
    });
    int pointer = ui::kPointerHourglass;
    MSE_PointerYield(pointer);
    EXPECT_FALSE(yielding);
    EXPECT_EQ(pointer, ui::kPointerDefault);
    EXPECT_EQ(gMousePointer, ui::kPointerHourglass);
    EXPECT_EQ(qt_.mousePointer(), ui::kPointerHourglass);
}

TEST_F(EventGuardTest, HandlerRestoresThePointerItFound) {
    MSE_PointerDefault();
    EXPECT_TRUE(guarded(nullptr, "Form_Load", Guard::SkipWhileYielding,
                        [&] { EXPECT_EQ(qt_.mousePointer(), ui::kPointerHourglass); }));
    EXPECT_EQ(qt_.mousePointer(), ui::kPointerDefault);
}

}  // namespace

#include "window/event_guard.h"

#include <QApplication>
#include <QDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <stdexcept>

#include "platform/sys/rt_error.h"
#include "platform/ui/controls.h"
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
        int number;
        std::string description;
    };
    const Case cases[] = {
        {"run-time error", [] { sys::raise(53); }, 53, "File not found"},
        {"abort", [] { sys::raise(sys::kErrUserAbort); }, 1066, ""},
        {"standard exception", [] { throw std::runtime_error("bad state"); }, 51, "bad state"},
        {"anything", [] { throw 42; }, 51, "unknown exception"},
    };
    QWidget form;
    auto* button = new QPushButton("OK", &form);
    form.show();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        errors.clear();
        gMousePointer = ui::kPointerDefault;
        auto connection = QObject::connect(button, &QPushButton::clicked, [&] {
            guarded(&form, "fOK_Click", Guard::SkipWhileYielding, c.fault);
        });
        QTest::mouseClick(button, Qt::LeftButton);
        QObject::disconnect(connection);
        ASSERT_EQ(errors.size(), 1u);
        EXPECT_EQ(errors[0].number, c.number);
        if (!c.description.empty()) {
            EXPECT_EQ(errors[0].description, c.description);
        }
        EXPECT_EQ(errors[0].procName, "fOK_Click");
        EXPECT_EQ(ui::object(errors[0].form), &form);
    }
}

TEST_F(EventGuardTest, HandlerRestoresThePointerItFound) {
    MSE_PointerDefault();
    EXPECT_TRUE(guarded(nullptr, "Form_Load", Guard::SkipWhileYielding,
                        [&] { EXPECT_EQ(qt_.mousePointer(), ui::kPointerHourglass); }));
    EXPECT_EQ(qt_.mousePointer(), ui::kPointerDefault);
}

}  // namespace

#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QWidget>

#include "platform/ui/colours.h"
#include "platform/ui/controls.h"
#include "platform/ui/qt_text.h"
#include "platform/ui/twips.h"
#include "platform/sys/rt_error.h"

#include <functional>
#include "tests/support/error_number.h"

using testsupport::errorOf;

namespace {

TEST(TwipsTest, ControlRectangleRoundTripsAtNinetySixDpi) {
    ASSERT_DOUBLE_EQ(ui::twipsPerPixelX(), 15.0);  // offscreen screen is 96 DPI
    QWidget parent;
    QWidget child(&parent);
    const ui::TwipsRect r{150, 300, 1500, 450};
    ui::setTwipsGeometry(&child, r);
    EXPECT_EQ(child.geometry(), QRect(10, 20, 100, 30));
    EXPECT_EQ(ui::twipsGeometry(&child), r);
    // Twips that are not a whole pixel go to the nearest pixel.
    EXPECT_EQ(ui::toPixelsX(7), 0);
    EXPECT_EQ(ui::toPixelsX(8), 1);
}

TEST(TwipsTest, WindowSizeIsTheOuterFrame) {
    QWidget window;
    window.show();
    ui::setTwipsGeometry(&window, {1500, 1500, 6000, 3000});
    const QRect frame = window.frameGeometry();
    EXPECT_EQ(frame.topLeft(), QPoint(100, 100));
    EXPECT_EQ(frame.size(), QSize(400, 200));
    EXPECT_EQ(ui::twipsGeometry(&window), (ui::TwipsRect{1500, 1500, 6000, 3000}));
}

TEST(QtTextTest, BytesBecomeUtf8OrLatin1AndLineBreaksForDisplay) {
    EXPECT_EQ(ui::toQString("caf\xc3\xa9"), QString::fromUtf8("café"));
    EXPECT_EQ(ui::toQString("caf\xe9"), QString::fromLatin1("caf\xe9"));  // invalid UTF-8
    EXPECT_EQ(ui::toDisplayText("a\rb\r\nc\nd"), QString("a\nb\nc\nd"));
    EXPECT_EQ(ui::toDisplayText("a\r\rb"), QString("a\n\nb"));
    EXPECT_EQ(ui::fromQString(ui::toQString("caf\xc3\xa9")), "caf\xc3\xa9");
}

TEST(ColoursTest, LongsAreBgrAndKeepTheirValue) {
    EXPECT_EQ(ui::rgb(255, 0, 0), 0xFF);
    EXPECT_EQ(ui::rgb(0, 0, 255), 0xFF0000);
    EXPECT_EQ(ui::toQColor(0xC0C0FF, QPalette()), QColor(255, 192, 192));
    QPalette palette;
    palette.setColor(QPalette::Button, QColor(1, 2, 3));
    EXPECT_EQ(ui::toQColor(ui::kSysButtonFace, palette), QColor(1, 2, 3));

    QLabel label;
    EXPECT_EQ(ui::backColor(&label), ui::kSysButtonFace);  // design default
    ASSERT_TRUE(ui::setBackColor(&label, ui::kSysWindowBackground));
    EXPECT_EQ(ui::backColor(&label), ui::kSysWindowBackground);  // the system code, not a colour
    ASSERT_TRUE(ui::setForeColor(&label, 0x0000FF));
    EXPECT_EQ(label.palette().color(QPalette::WindowText), QColor(255, 0, 0));

    QPushButton button;
    EXPECT_FALSE(ui::setForeColor(&button, 0));  // a command button has no ForeColor
}

TEST(ControlsTest, VbTypeComesFromThePropertyElseTheClass) {
    QPushButton button;
    EXPECT_EQ(ui::vbType(&button), "CommandButton");
    QWidget box;
    EXPECT_EQ(ui::vbType(&box), "");
    ui::setVbType(&box, "PictureBox");
    EXPECT_EQ(ui::vbType(&box), "PictureBox");
}

TEST(ControlArrayTest, MembersAreLoadedHiddenAndAddressedByIndex) {
    QWidget form;
    form.show();
    ui::ControlArray buttons(&form, "fButton", "CommandButton",
                             [](QWidget* parent) { return new QPushButton(parent); });
    EXPECT_TRUE(buttons[0]->isHidden());
    buttons[0]->setGeometry(5, 6, 70, 20);

    QWidget* third = buttons.load(3);
    EXPECT_TRUE(third->isHidden());
    EXPECT_EQ(third->size(), QSize(70, 20));
    EXPECT_EQ(third->objectName(), "fButton");
    EXPECT_EQ(ui::controlIndex(third), 3);
    EXPECT_EQ(buttons[3], third);
    EXPECT_EQ(buttons.ubound(), 3);
    EXPECT_EQ(buttons.count(), 2);
    EXPECT_FALSE(buttons.exists(2));

    EXPECT_EQ(errorOf([&] { buttons.load(3); }), 360);
    EXPECT_EQ(errorOf([&] { buttons[2]; }), 340);
    EXPECT_EQ(errorOf([&] { buttons.unload(0); }), 362);
    buttons.unload(3);
    EXPECT_FALSE(buttons.exists(3));
    EXPECT_EQ(buttons.ubound(), 0);
}

}  // namespace

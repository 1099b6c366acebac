#include "platform/ui/forms.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMainWindow>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <vector>

#include "core/dialog_responder.h"
#include "core/user_interface.h"
#include "platform/ui/controls.h"
#include "platform/ui/qt_user_interface.h"
#include "platform/ui/screen_pointer.h"

namespace {

TEST(FormRegistryTest, KeepsLoadOrderAndForgetsUnloadedFormsAtOnce) {
    const size_t before = ui::loadedForms().size();
    auto* a = new ui::Form;
    auto* b = new ui::Form;
    auto* c = new ui::Form;
    ui::setTag(b, "Progress report no: 2");
    std::vector<QWidget*> loaded = ui::loadedForms();
    ASSERT_EQ(loaded.size(), before + 3);
    EXPECT_EQ(loaded[before], a);
    EXPECT_EQ(loaded[before + 1], b);
    EXPECT_EQ(ui::tag(loaded[before + 1]), "Progress report no: 2");

    QPointer<QWidget> gone(b);
    ui::unloadForm(b);
    // Not deleted yet (no event loop ran), yet no longer loaded.
    ASSERT_FALSE(gone.isNull());
    EXPECT_FALSE(ui::isLoaded(gone));
    EXPECT_EQ(ui::loadedForms().size(), before + 2);

    delete c;  // destroyed without unloading
    EXPECT_EQ(ui::loadedForms().size(), before + 1);
    EXPECT_FALSE(ui::isLoaded(nullptr));
    ui::unloadForm(a);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(gone.isNull());
}

TEST(FormTest, RefusesToCloseWhileALongOperationYields) {
    ui::Form form;
    form.show();
    core::gInDoEvents = true;
    EXPECT_FALSE(form.close());
    ui::Form box;  // a box answered during the yield
    box.setRefusesCloseWhileYielding(false);
    box.show();
    EXPECT_TRUE(box.close());
    core::gInDoEvents = false;
    EXPECT_TRUE(form.close());
}

// A real key event through the form's key preview.
TEST(FormTest, KeyPreviewSeesEachKeyOnceAndCanSwallowIt) {
    ui::Form form;
    auto* edit = new QLineEdit(&form);
    std::vector<std::pair<int, int>> seen;
    form.setKeyDownHandler([&](int& keyCode, int shift) {
        seen.emplace_back(keyCode, shift);
        if (keyCode == 'X') keyCode = 0;
    });
    form.show();
    edit->setFocus();

    QTest::keyClick(edit, Qt::Key_A);
    QTest::keyClick(edit, Qt::Key_X);
    // The line edit ignores F5, so Qt passes it on to the parents: still seen once.
    QTest::keyClick(edit, Qt::Key_F5, Qt::ShiftModifier);
    QTest::keyClick(edit, Qt::Key_F5);

    EXPECT_EQ(edit->text(), "a");  // "x" was swallowed
    // QTest presses Shift itself before F5.
    const std::vector<std::pair<int, int>> expected{{65, 0}, {88, 0}, {16, 1}, {116, 1}, {116, 0}};
    EXPECT_EQ(seen, expected);
}

TEST(FormTest, KeysOfABoxOpenedByAPreviewedKeyAreStillPreviewed) {
    ui::Form outer;
    auto* edit = new QLineEdit(&outer);
    outer.setKeyDownHandler([](int&, int) {});
    std::vector<int> innerSeen;
    QObject::connect(edit, &QLineEdit::returnPressed, [&] {
        ui::Form inner;
        auto* innerEdit = new QLineEdit(&inner);
        inner.setKeyDownHandler([&](int& keyCode, int) { innerSeen.push_back(keyCode); });
        QTimer::singleShot(0, [&] {
            QTest::keyClick(innerEdit, Qt::Key_B);
            inner.hide();
        });
        inner.exec();
    });
    outer.show();
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(innerSeen, std::vector<int>{66});
}

TEST(QtUserInterfaceTest, PointerActiveControlAndClipboard) {
    ui::QtUserInterface qt;
    qt.setMousePointer(ui::kPointerHourglass);
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    qt.setMousePointer(ui::kPointerHourglass);  // one value, not a stack
    qt.setMousePointer(ui::kPointerDefault);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(qt.mousePointer(), 0);

    ui::Form form;
    form.setWindowTitle("Caption");
    auto* edit = new QLineEdit(&form);
    edit->setObjectName("fText");
    form.show();
    QApplication::setActiveWindow(&form);
    edit->setFocus();
    EXPECT_EQ(qt.activeWindowCaption(), "Caption");
    EXPECT_EQ(qt.activeControlName(), "TextBox");

    qt.clipboardSetText("caf\xc3\xa9");
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QString::fromUtf8("café"));
    qt.clipboardClear();
    EXPECT_TRUE(QGuiApplication::clipboard()->text().isEmpty());

    EXPECT_THROW(qt.msgBox("m", "0", "", "c"), core::UnexpectedDialog);

    QMainWindow main;
    EXPECT_TRUE(qt.mainWindowEnabled());  // none loaded yet
    ui::registerForm(&main);
    main.setEnabled(false);
    EXPECT_FALSE(qt.mainWindowEnabled());

    // The error handler recovers windows by their handles.
    EXPECT_TRUE(qt.isMainWindow(ui::handle(&main)));
    EXPECT_FALSE(qt.isMainWindow(ui::handle(&form)));
    auto* failing = new ui::Form;
    EXPECT_TRUE(qt.formIsLoaded(ui::handle(failing)));
    qt.unloadForm(ui::handle(failing));
    EXPECT_FALSE(qt.formIsLoaded(ui::handle(failing)));
    EXPECT_FALSE(qt.formIsLoaded(nullptr));

    // Core reads and writes Tags through handles.
    qt.setTag(ui::handle(edit), "a|b");
    EXPECT_EQ(ui::tag(edit), "a|b");
    EXPECT_EQ(qt.tag(ui::handle(edit)), "a|b");
    EXPECT_EQ(qt.tag(nullptr), "");
}

}  // namespace

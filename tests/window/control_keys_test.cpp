#include "window/control_keys.h"

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <gtest/gtest.h>

#include "core/ini_store.h"
#include "core/program_paths.h"
#include "core/text.h"
#include "tests/support/scripted_responder.h"
#include "tests/support/temp_home.h"

namespace {

TEST(KeypadNormalize, MapsKeypadKeysToTheMainKeyboard)
{
    struct Case {
        int key, shift, keyOut, shiftOut;
    } cases[] = {
        {96, 0, 48, 0},  {105, 2, 57, 2},  {106, 0, 56, 1},  {107, 0, 187, 1}, {109, 1, 189, 0},
        {110, 3, 190, 2}, {111, 1, 220, 0}, {65, 1, 65, 1},   {108, 0, 108, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        int key = c.key, shift = c.shift;
        KEYS_KeypadNormalize(key, shift);
        EXPECT_EQ(key, c.keyOut);
        EXPECT_EQ(shift, c.shiftOut);
    }
    int shift = 0;
    std::string text = "x", element = "y";
    EXPECT_EQ(KEYS_KeyForAction("DblClick", 1, shift, text, element), -1);
    EXPECT_EQ(shift, -1);
    EXPECT_EQ(text, "");
    EXPECT_EQ(element, "");
}

TEST(KeyForAction, FindsTheLowestBoundKeyOfTheActionOnTheScreen)
{
    testsupport::TempHome home;
    const std::string saved = gIniScreens;
    gIniScreens = home / "screens.ini";
    // Screen 1 keeps "88" off the plain key; Shift states are named by number.
    testsupport::writeFile(gIniScreens, "[Keys]\nReqd Key defns={|x|}|{|DblClick|88|}\nShiftDescs=None|Shift|Ctrl|Shift Ctrl\n");
    KEYS_KeyTable.bind(65, 1, 0, "88");
    KEYS_KeyTable.bind(71, 1, 2, "88|sort");
    KEYS_KeyTable.bind(68, 0, 0, "DblClick");
    KEYS_KeyTable.bind(66, 0, 3, "DblClick|again");
    struct Case {
        const char* action;
        int screen;
        long key;
        int shift;
        const char* text;
        const char* element;
    } cases[] = {
        {"DblClick", 0, 66, 3, "Shift Ctrl+B", "DblClick|again"},
        {"88", 1, 71, 2, "Ctrl+G", "88|sort"},
        {"DblClick", 1, -1, -1, "", ""},
        {"88", 0, -1, -1, "", ""},
        {"Nothing", 1, -1, -1, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.action) + " on " + std::to_string(c.screen));
        int shift = 9;
        std::string text = "x", element = "y";
        EXPECT_EQ(KEYS_KeyForAction(c.action, c.screen, shift, text, element), c.key);
        EXPECT_EQ(shift, c.shift);
        EXPECT_EQ(text, c.text);
        EXPECT_EQ(element, c.element);
    }
    core::StrArray reqd;
    KEYS_ReqdKeyDefnsGet(reqd);
    EXPECT_TRUE(KEYS_ActionInList(1, "88|whatever", reqd));
    EXPECT_FALSE(KEYS_ActionInList(0, "88", reqd));
    EXPECT_FALSE(KEYS_ActionInList(7, "88", reqd));
    KEYS_KeyTable.clear();
    gIniScreens = saved;
}

TEST(FindInControl, ListScansFromTheNextItemAndWraps)
{
    QListWidget list;
    list.addItems({"alpha", "Beta one", "gamma", "beta two"});
    std::string message;

    list.setCurrentRow(3);
    EXPECT_TRUE(window::findInControl(&list, "BETA", message));
    EXPECT_EQ(list.currentRow(), 1);
    EXPECT_EQ(message, "At No: 2. Found >>BETA<< In Text Segment: Beta one");

    list.setCurrentRow(2);
    EXPECT_TRUE(window::findInControl(&list, "gam", message));
    EXPECT_EQ(list.currentRow(), 2);
    EXPECT_EQ(message.substr(0, 42), "Only one occurrence of that string in list");

    list.setCurrentRow(0);
    EXPECT_FALSE(window::findInControl(&list, "delta", message));
    EXPECT_EQ(message, "Not Found: >>delta<< Entire List [** currect SECTION only **] searched.");
    EXPECT_EQ(list.currentRow(), 0);
}

TEST(FindInControl, TextBoxScansAfterTheSelectionAndNeverFailsOnAnEmptyBox)
{
    QPlainTextEdit box;
    std::string message;
    EXPECT_FALSE(window::findInControl(&box, "x", message));
    EXPECT_EQ(message, "Not Found: >>x<<");

    // The box keeps line breaks as single LF characters.
    box.setPlainText("one two\r\nthree two four");
    EXPECT_TRUE(window::findInControl(&box, "TWO", message));
    EXPECT_EQ(box.textCursor().selectionStart(), 4);
    EXPECT_EQ(box.textCursor().selectedText(), "two");
    EXPECT_EQ(message, "At Byte No: 5. Found >>TWO<< In Text Segment: one twothree t");

    // Next from there finds the second, then wraps back to the first.
    EXPECT_TRUE(window::findInControl(&box, "two", message));
    EXPECT_EQ(message.substr(0, 15), "At Byte No: 15.");
    EXPECT_TRUE(window::findInControl(&box, "two", message));
    EXPECT_EQ(message.substr(0, 14), "At Byte No: 5.");

    QLineEdit line("only once here");
    line.setSelection(5, 4);
    EXPECT_TRUE(window::findInControl(&line, "once", message));
    EXPECT_EQ(message.substr(0, 42), "Only one occurrence of that string in list");
}

TEST(FontKeys, SizesStepAndTheChangedFontIsStored)
{
    TXT_CrLfInit();
    testsupport::TempHome home;
    const std::string ini = home / "screens.ini";
    QLineEdit control;
    QFont font = control.font();
    font.setPointSizeF(1);
    control.setFont(font);
    CTL_FontSizeDecrease(&control);
    EXPECT_EQ(control.font().pointSizeF(), 1);
    font.setPointSizeF(10);
    control.setFont(font);
    CTL_FontSizeIncrease(&control);
    EXPECT_EQ(control.font().pointSizeF(), 11);

    window::CommonDialog dialog;
    bool handled = true;
    EXPECT_TRUE(KEYS_FontKeyHandle(&control, 'D', 0, "MB formats", "MB all ", ini, dialog, handled, -1));
    EXPECT_FALSE(handled);
    EXPECT_EQ(control.font().pointSizeF(), 10);
    EXPECT_EQ(INI_Get("MB formats", "MB all Size", ini, 1), "10");

    EXPECT_TRUE(KEYS_FontKeyHandle(&control, 'I', 0, "MB formats", "NoSaveFont", ini, dialog, handled, -1));
    EXPECT_EQ(INI_Get("MB formats", "MB all Size", ini, 1), "10");
    EXPECT_FALSE(KEYS_FontKeyHandle(&control, 'I', 2, "MB formats", "MB all ", ini, dialog, handled, 2));
    EXPECT_FALSE(KEYS_FontKeyHandle(&control, 'X', 0, "MB formats", "MB all ", ini, dialog, handled, -1));

    testsupport::ScriptedResponder responder;
    responder.press("", "Cancel");
    EXPECT_FALSE(KEYS_FontKeyHandle(&control, 'F', 0, "MB formats", "MB all ", ini, dialog, handled, -1));
    EXPECT_TRUE(handled);
}

TEST(TabOrder, FocusGoesToTheNextControlThatTakesIt)
{
    QWidget form;
    auto* first = new QLineEdit(&form);
    auto* second = new QLineEdit(&form);
    auto* third = new QLineEdit(&form);
    QWidget::setTabOrder(first, second);
    QWidget::setTabOrder(second, third);
    form.show();
    form.activateWindow();
    QApplication::processEvents();

    CTL_FocusNextInTabOrder(&form, second);
    EXPECT_EQ(form.focusWidget(), second);
    second->setEnabled(false);
    CTL_FocusNextInTabOrder(&form, second);
    EXPECT_EQ(form.focusWidget(), third);

    first->setGeometry(10, 20, 30, 40);
    std::array<long, 4> rect{};
    CTL_ControlRectGet(rect, first);
    EXPECT_EQ(rect, (std::array<long, 4>{150, 300, 600, 900}));
}

}  // namespace

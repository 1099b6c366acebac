#include "dialogs/show_item_dialog.h"

#include <QListWidget>
#include <QPlainTextEdit>
#include <QTest>

#include "core/delimited_lists.h"
#include "core/text.h"
#include "platform/ui/qt_text.h"
#include "platform/sys/rt_error.h"
#include "tests/dialogs_qt/box_fixture.h"
#include "tests/support/arrays.h"

using dlgtest::BoxTest;
using dlgtest::nth;
using dlgtest::spec;
using testsupport::ScriptedResponder;
using testsupport::strArray;

namespace {

class ShowItemTest : public BoxTest {
protected:
    void SetUp() override {
        BoxTest::SetUp();
        TXT_CrLfInit();
        items = strArray({"", "combined", "common", "custom"});
        texts = strArray({"", "%h %l %u %t \"%r\" %>s %b \"%{Referer}i\"", "%h %l %u %t \"%r\" %>s %b", "%h %t"});
    }

    long run(std::function<void(const core::DlgView&, core::DlgDriver&)> act, long selected = -1) {
        ScriptedResponder responder;
        responder.expect({.act = std::move(act)});
        const long r = MBX_ShowListItem("Log Format", message, items, texts, 1, "&Edit", chosen, selected, "");
        views = responder.shown();
        return r;
    }

    core::StrArray items, texts;
    std::string message;
    long chosen = 0;
};

}  // namespace

TEST_F(ShowItemTest, ClickShowsTheItemsFullTextAndTheChoiceComesBackInTheCallersIndexes) {
    const long r = run([](const core::DlgView& v, core::DlgDriver& d) {
        EXPECT_EQ(v.caption, "Show Log Format");
        EXPECT_EQ(nth(v, "TextBox", 0).value, "%h %l %u %t \"%r\" %>s %b");  // the selected item's
        d.click(nth(v, "ListBox", 0).entry, 2);
        EXPECT_EQ(ui::fromQString(static_cast<QPlainTextEdit*>(gMBForm->fTextBoxM[nth(v, "TextBox", 0).member])
                                      ->toPlainText()),
                  "%h %t");
        d.press("&Edit");
    }, 2);
    EXPECT_EQ(r, 1);
    EXPECT_EQ(chosen, 3);
    EXPECT_EQ(message, "Select a Log Format to display it." + gCR + "Press OK to exit." + gCR);
}

TEST_F(ShowItemTest, EscIsOkAndTheFirstIndexIsChosenWithoutASelection) {
    message = "Pick.";
    EXPECT_EQ(run([](const core::DlgView& v, core::DlgDriver& d) {
                  EXPECT_EQ(nth(v, "ListBox", 0).selection, "0");
                  d.key(27, 0);
              }),
              0);
    EXPECT_EQ(chosen, 1);
    EXPECT_EQ(message, "Pick.");
}

TEST_F(ShowItemTest, ASecondDialogWhileOneIsShownFailsAndAFailedShowFreesTheNext) {
    // The first call fails inside: its end still lets the next one show.
    EXPECT_THROW(run([&](const core::DlgView&, core::DlgDriver&) {
                     try {
                         MBX_ShowListItem("x", message, items, texts, 1, "", chosen, -1, "");
                     } catch (const sys::RtError& e) {
                         EXPECT_EQ(e.number(), 1424);
                         throw;
                     }
                 }),
                 sys::RtError);
    MB_UnloadStray("");
    EXPECT_EQ(run([](const core::DlgView&, core::DlgDriver& d) { d.press("&OK"); }), 0);
}

TEST(ShownItemText, TooLongATextShowsItsStartAndSaysItWasCut) {
    TXT_CrLfInit();
    bool cut = true;
    EXPECT_EQ(MBX_ShownItemText("short", 10, cut), "short");
    EXPECT_FALSE(cut);
    const std::string longText(40000, 'a');
    const std::string shown = MBX_ShownItemText(longText, 30001, cut);
    EXPECT_TRUE(cut);
    EXPECT_EQ(shown, std::string(30000, 'a') + gCR + gLF + gCR + gLF + ".... TRUNCATED due to error.");
}

TEST_F(BoxTest, AListClickPressesTheButtonItsSpecNamesAndOtherListsIgnoreClicks) {
    const long pressing = MB_AddListCtl(strArray({"a", "b"}), "", -1, "ListBox", spec({{19, "2"}}), ctl, true);
    const long plain = MB_AddListCtl(strArray({"c", "d"}), "", -1, "ListBox", "", ctl, false);
    const long none = MB_AddListCtl(strArray({"e"}), "", -1, "ListBox", spec({{19, "-1"}}), ctl, false);
    const int r = show("Click", "&One|&Two|&Three", "", "", [&](const core::DlgView&, core::DlgDriver& d) {
        d.click(static_cast<int>(plain), 1);
        d.click(static_cast<int>(none), 0);
        EXPECT_FALSE(gMBForm->resultWritten());
        d.click(static_cast<int>(pressing), 0);
    });
    EXPECT_EQ(r, 2);
}

TEST_F(BoxTest, ARealMouseClickOnAListReachesItsClickHandler) {
    const long k = MB_AddListCtl(strArray({"a", "b"}), "", -1, "ListBox", spec({{19, "3"}}), ctl, true);
    ScriptedResponder responder;
    responder.expect({.act = [&](const core::DlgView&, core::DlgDriver&) {
        const std::string map = gMBForm->entryMap[k];
        auto* list = qobject_cast<QListWidget*>(
            (*gMBForm->arrayOfKind(static_cast<int>(CHUNKS_GetNum(1, map))))[static_cast<int>(CHUNKS_GetNum(2, map))]);
        ASSERT_NE(list, nullptr);
        gMBForm->show();
        const QRect row = list->visualItemRect(list->item(1));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier, row.center());
        EXPECT_EQ(gMBForm->dMouseDownShift, 2);
    }});
    Msgbxform* form = nullptr;
    EXPECT_EQ(MB_Show("Click", "&One|&Two|&Three", "", "", ctl, state, form), 3);
}

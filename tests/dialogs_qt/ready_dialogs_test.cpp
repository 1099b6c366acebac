#include "dialogs/ready_dialogs.h"

#include <QLineEdit>
#include <cstdlib>

#include "core/delimited_lists.h"
#include "core/ini_store.h"
#include "core/text.h"
#include "core/user_interface.h"
#include "tests/dialogs_qt/box_fixture.h"
#include "tests/support/temp_home.h"

using dlgtest::BoxTest;
using testsupport::Answer;
using testsupport::ScriptedResponder;

namespace {

const core::CtlView* ctlByCaption(const core::DlgView& v, const std::string& caption) {
    for (const auto& c : v.ctls)
        if (core::sameCaption(c.caption, caption)) return &c;
    return nullptr;
}

std::string readText(const std::string& path) { return testsupport::readFile(path); }

}  // namespace

TEST_F(BoxTest, InputReturnsTheTextOnlyForOk) {
    struct Case {
        const char* name;
        std::string press;
        std::string text;
        long button;
    } cases[] = {{"ok", "&OK", "typed", 1}, {"cancel", "&Cancel", "", 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedResponder responder;
        responder.expect({.expectCaption = "Ask", .expectMessage = "Name?", .sets = {{"#1", "typed"}}, .press = c.press});
        long button = 0;
        EXPECT_EQ(MB_Input("Name?", "Ask", "old", nullptr, &button), c.text);
        EXPECT_EQ(button, c.button);
        EXPECT_EQ(responder.shown().at(0).ctls.at(0).value, "old");
    }
}

TEST_F(BoxTest, InputExNumbersFirstAsMinusOneCancelAsZeroAndExtrasFromOne) {
    struct Case {
        const char* name;
        std::string first, cancel;
        std::vector<std::string> buttons;
        std::string press;
        long button;
        std::string text;
    } cases[] = {
        {"first", "&Go", "&Stop", {"&Go", "&Stop", "A", "B"}, "&Go", -1, "typed"},
        {"cancel", "&Go", "&Stop", {"&Go", "&Stop", "A", "B"}, "&Stop", 0, ""},
        {"extra", "&Go", "&Stop", {"&Go", "&Stop", "A", "B"}, "B", 2, "typed"},
        // Without the two captions the list starts with an empty caption.
        {"noCaptions", "", "", {"", "A", "B"}, "A", 2, "typed"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedResponder responder;
        responder.expect({.sets = {{"#1", "typed"}}, .press = c.press});
        long button = 99;
        const std::string text = MB_InputEx("Value?", "Ask", "", {.extraCaptions = "A|B", .firstCaption = c.first,
                                                                 .cancelCaption = c.cancel},
                                            button);
        EXPECT_EQ(responder.shown().at(0).buttons, c.buttons);
        EXPECT_EQ(button, c.button);
        EXPECT_EQ(text, c.text);
    }
}

TEST_F(BoxTest, ShowTextBoxHandsTheEditedTextBack) {
    ScriptedResponder responder;
    responder.expect({.sets = {{"#1", "new text"}}, .press = "&OK"});
    std::string text = "old text";
    EXPECT_EQ(MB_ShowTextBox("Edit", "", "", "T", "", text), 1);
    EXPECT_EQ(text, "new text");
    EXPECT_EQ(responder.shown().at(0).buttons, std::vector<std::string>{"&OK"});
}

class RememberedBoxTest : public BoxTest {
protected:
    void SetUp() override {
        BoxTest::SetUp();
        TXT_CrLfInit();
        ini = home / "box.ini";
        // A text box (number 4) that must be numeric and a check box (number 7) that
        // starts with the focus.
        testsupport::writeFile(ini,
                               "[Box]\n"
                               "Ctls=Defs|List\n"
                               "4=Vals|Count\n"
                               "7=Vals|Flag\n"
                               "C4={N|Count must be a number}\n"
                               "[Defs]\n"
                               "List={CheckBox|FlagSpec|FlagVal|7}|{TextBox|CountSpec|CountVal|4}\n"
                               "FlagSpec=&Flag||||||True\n"
                               "CountSpec=3000\n"
                               "[Vals]\n"
                               "Count=12\n"
                               "Flag=True\n");
    }
    testsupport::TempHome home;
    std::string ini;
};

TEST_F(RememberedBoxTest, ShowExAsksAgainUntilTheEntriesPassThenSavesThem) {
    ScriptedResponder responder;
    responder.expect({.act = [](const core::DlgView& v, core::DlgDriver& d) {
        EXPECT_EQ(v.notice, "");
        EXPECT_EQ(v.ctls.at(0).value, "1");   // remembered True
        EXPECT_EQ(v.ctls.at(1).value, "12");
        d.setCheck(1, 0);
        d.setText(2, "abc");
        d.press("&OK");
    }});
    responder.expect({.act = [](const core::DlgView& v, core::DlgDriver& d) {
        EXPECT_EQ(v.notice, "Count must be a number");
        // The failing entry has the focus now, and the edits are kept.
        auto* box = qobject_cast<QLineEdit*>(gMBFocusCtl.data());
        ASSERT_NE(box, nullptr) << (gMBFocusCtl ? gMBFocusCtl->metaObject()->className() : "none");
        EXPECT_EQ(box->text().toStdString(), "abc");
        EXPECT_EQ(v.ctls.at(0).value, "0");
        d.press("OK");  // the problem panel's
        d.setText(2, "42");
        d.press("&OK");
    }});
    EXPECT_EQ(MB_ShowEx("Options", "", "", "Box", {.controls = {.section = "Box", .entry = "Ctls", .iniFile = ini}}), 1);
    EXPECT_EQ(responder.pending(), 0u);
    EXPECT_EQ(INI_Get("Vals", "Count", ini, 1), "42");
    EXPECT_EQ(INI_Get("Vals", "Flag", ini, 1), "False");
}

TEST_F(RememberedBoxTest, ShowExCancelSavesNothing) {
    ScriptedResponder responder;
    responder.expect({.sets = {{"#2", "abc"}}, .press = "&Cancel"});
    EXPECT_EQ(MB_ShowEx("Options", "", "", "Box", {.controls = {.section = "Box", .entry = "Ctls", .iniFile = ini}}), 2);
    EXPECT_EQ(INI_Get("Vals", "Count", ini, 1), "12");
}

TEST_F(RememberedBoxTest, ShippedAddDataDefinitionsBuildTheirButtonsAndRules) {
    const std::string screens = home / "screens.ini";
    testsupport::writeFile(screens, readText(std::string(std::getenv("DRAVOLIN_SOURCE_DIR")) + "/resources/param/screens.ini"));
    ScriptedResponder responder;
    responder.expect({.act = [](const core::DlgView& v, core::DlgDriver& d) {
        EXPECT_EQ(v.buttons, (std::vector<std::string>{"&Main Filter ...", "&Robot Filters ...",
                                                        "Com&ponent Filter ...", "&OK", "&Cancel"}));
        const core::CtlView* all = ctlByCaption(v, "Add all log lines [main filter not used]");
        const core::CtlView* only = ctlByCaption(v, "Add only the lines that satisfy the main filter [clear: add all lines except those]");
        ASSERT_TRUE(all && only);
        EXPECT_EQ(all->value, "1");
        // The main-filter choice follows "all lines": enabled only while it is clear.
        EXPECT_FALSE(only->enabled);
        d.press("&OK");
    }});
    long extras = 0;
    EXPECT_EQ(MB_ShowEx("Add", "", "", "Add Log Data",
                        {.controls = {.section = "Main", .entry = "AddLogData_SelFltrs", .iniFile = screens},
                         .shift = true},
                        nullptr, &extras),
              1);
    EXPECT_EQ(extras, 3);
}

TEST_F(BoxTest, RememberedValuesOfEveryKindComeBackUnchangedThroughTheBox) {
    TXT_CrLfInit();
    testsupport::TempHome home;
    const std::string ini = home / "kinds.ini";
    const std::string values = "[Vals]\nText=some text\nFlag=True\nPick=b\nDrop=z\n";
    testsupport::writeFile(ini,
                           "[Box]\nCtls=Defs|List\n1=Vals|Text\n2=Vals|Flag\n3=Vals|Pick\n4=Vals|Drop\n"
                           "[Defs]\nList={TextBox|S|T|1}|{CheckBox|C|F|2}|{ListBox|S|L|3|oparr}|{ComboBox|K|D|4|oparr}\n"
                           "S=3000\nC=Flag\nT=x\nF=0\nL=a|a|b|c\nK=3000|||||||||2\nD=x|x|y|z\n" + values);
    const std::string saved = home / "saved.ini";
    testsupport::writeFile(saved, values);
    ScriptedResponder responder;
    responder.expect({.press = "&OK"});
    MB_ShowExArgs args{.controls = {.section = "Box", .entry = "Ctls", .iniFile = ini, .valuesFile = saved}};
    EXPECT_EQ(MB_ShowEx("Kinds", "", "", "", args), 1);
    EXPECT_EQ(readText(saved), values);
    EXPECT_EQ(responder.shown().at(0).ctls.at(2).selection, "1");  // "b" is chosen
}

TEST_F(BoxTest, InputBoxOfTheUserInterfaceShowsTheNotice) {
    dlg::installMessageBoxes();
    ScriptedResponder responder;
    responder.expect({.act = [](const core::DlgView& v, core::DlgDriver& d) {
        EXPECT_EQ(v.notice, "Name taken");
        d.press("OK");  // the notice's own
        d.setText(1, "site2");
        d.press("&Create");
    }});
    std::string value = "site1";
    EXPECT_EQ(core::ui().inputBox("Site name?", "&Create|&Cancel", "New site", "Name taken", value), 1);
    EXPECT_EQ(value, "site2");
    core::setUserInterface(nullptr);
}

TEST_F(BoxTest, DontShowAgainAndOnce) {
    TXT_CrLfInit();
    testsupport::TempHome home;
    const std::string ini = home / "once.ini";
    bool suppressed = true;
    EXPECT_EQ(MB_DontShowAgain("Hello", suppressed, "0", "", "Note"), -1);
    EXPECT_EQ(gMBCancelNo, -4);

    ScriptedResponder responder;
    responder.expect({.expectMessage = "Hello", .sets = {{"cap:Do not Show this Message again", "1"}}, .press = "&OK"});
    EXPECT_EQ(MB_Once(1, "Hello", "Main", "Seen", ini, 7, "0", "", "Note"), 1);
    EXPECT_TRUE(INI_GetFlag("Main", "Seen", ini, 7, "False"));
    // Ticked once, never shown again.
    EXPECT_EQ(MB_Once(1, "Hello", "Main", "Seen", ini, 7, "0", "", "Note"), -1);
    EXPECT_EQ(responder.shown().size(), 1u);

    // The user interface's box for core's callers is the same box.
    dlg::installMessageBoxes();
    responder.expect({.expectMessage = "Again", .sets = {{"cap:Do not Show this Message again", "1"}}, .press = "&Retry"});
    bool noMore = false;
    EXPECT_EQ(core::ui().msgBoxDontShowAgain("Again", "&Retry|&Skip", "", "", noMore), 1);
    EXPECT_TRUE(noMore);
    core::setUserInterface(nullptr);
}

TEST_F(BoxTest, SequenceMovesTheChosenItemAndKeepsTheEnds) {
    core::StrArray items;
    items.redim(0, 3);
    items.set(1, "a");
    items.set(2, "b");
    items.set(3, "c");
    ScriptedResponder responder;
    responder.expect({.sets = {{"#1", "1"}}, .press = "&Up"});   // b above a
    responder.expect({.press = "&Up"});                          // b is first: nothing moves
    responder.expect({.sets = {{"#1", "2"}}, .press = "Do&wn"}); // c is last: nothing moves
    responder.expect({.press = "&Done"});
    long selected = -1;
    EXPECT_EQ(MB_Sequence("Order", "Pages", items, 1, selected, {.closingCaption = "&Done"}), 3);
    EXPECT_EQ(CHUNKS_Join(items, 1), "b|a|c");
    EXPECT_EQ(selected, 3);
    EXPECT_EQ(responder.shown().at(0).caption.find("Sequence for Pages") != std::string::npos, true);
    EXPECT_EQ(responder.shown().at(1).ctls.at(0).items, (std::vector<std::string>{"b", "a", "c"}));
}

TEST_F(BoxTest, ASequenceWithoutMovesNumbersItsButtonsFromOne) {
    core::StrArray items;
    items.redim(0, 1);
    items.set(1, "a");
    gMBListCount = 3;  // left by an earlier box's list of buttons
    ScriptedResponder responder;
    responder.expect({.press = "&Two"});
    long selected = -1;
    EXPECT_EQ(MB_Sequence("Words", "|", items, 1, selected, {.extraButtons = "&One|&Two", .escOffset = 1, .noMove = true}),
              2);
}

TEST(ReadyDialogHelpers, SpecToTagFormKeepsBraceGroupsWhole) {
    EXPECT_EQ(MB_SpecToTagForm("100|200"), "100|~~|200");
    core::StrArray fields;
    CHUNKS_SplitEx(MB_SpecToTagForm("9500|{7800|900}|x"), "|~~|", "", fields, 1);
    ASSERT_EQ(fields.ubound(), 3);
    EXPECT_EQ(fields[3], "x");
}

TEST(ReadyDialogHelpers, ResultRecordAndListState) {
    bool anyKey = true;
    float width = 0, height = 0;
    int code = 0, shift = 0;
    std::string third, fourth;
    core::StrArray key, record;
    CHUNKS_Split("67|2|TextBox|abc", key, 1);
    key.redimPreserve(4);
    record.redim(1, 4);
    record.set(1, "False");
    record.set(2, "4800");
    record.set(3, "2400");
    record.set(4, "67|2|TextBox|abc");
    MB_ResultRecParse(CHUNKS_Join(record, 1), anyKey, width, height, code, shift, third, fourth);
    EXPECT_FALSE(anyKey);
    EXPECT_EQ(width, 4800);
    EXPECT_EQ(height, 2400);
    EXPECT_EQ(code, 67);
    EXPECT_EQ(shift, 2);
    EXPECT_EQ(third, "TextBox");
    EXPECT_EQ(fourth, "abc");

    core::Table2D rows;
    rows.redim(0, 1, 0, 1);
    MB_ListStateSet(1, rows, 3, {"t1", "t2", "t3", "", "t5", "t6", "t7"});
    EXPECT_EQ(ARR_Item2D(rows, 1, 0), "3|t1|t2|t3||t5|t6|t7");
    MB_ListStateSet(1, rows, 0, {"t1", "t2", "t3", "t4", "", "", ""}, true, 10, 20);
    EXPECT_EQ(ARR_Item2D(rows, 1, 0), "0|t1|10|t3|20");
}

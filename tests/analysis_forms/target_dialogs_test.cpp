#include "analysis/forms/target_dialogs.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "core/delimited_lists.h"
#include "core/ini_store.h"
#include "core/program_paths.h"
#include "core/text.h"
#include "core/user_interface.h"
#include "dialogs/list_dialog.h"
#include "dialogs/msgbox.h"
#include "logimport/targets.h"
#include "tests/support/scripted_responder.h"
#include "tests/support/temp_home.h"

namespace {

using testsupport::Answer;

constexpr const char* kCaption = "Enter Target Specification.";
constexpr const char* kSimple = "Enter filename for page(s) required to achieve target.";
constexpr const char* kComplex = "Select type of target and ";

// Entries of the complex dialog: three type options, the bytes, then per rule its
// name, match case and equals.
std::string ruleName(int n) { return "#" + std::to_string(7 + 3 * n); }
std::string ruleCase(int n) { return "#" + std::to_string(8 + 3 * n); }
std::string ruleEquals(int n) { return "#" + std::to_string(9 + 3 * n); }

const core::CtlView& control(const core::DlgView& v, const std::string& address) {
    for (const core::CtlView& c : v.ctls)
        if ("#" + std::to_string(c.entry) == address) return c;
    throw std::logic_error("no control " + address);
}

// The shipped screens file, an empty targets.ini and the dialog builder's boxes.
class TargetDialogs : public ::testing::Test {
protected:
    void SetUp() override {
        TXT_CrLfInit();
        gIniScreens = home / "screens.ini";
        testsupport::writeFile(gIniScreens, testsupport::readFile(std::string(std::getenv("DRAVOLIN_SOURCE_DIR")) +
                                                                  "/resources/param/screens.ini"));
        gIniTargets = home / "targets.ini";
        testsupport::writeFile(gIniTargets, "[Main]\n");
        dlg::installMessageBoxes();
    }
    void TearDown() override {
        core::setUserInterface(nullptr);
        gIniScreens.clear();
        gIniTargets.clear();
    }

    static TargetSpec load(const std::string& section) {
        TargetSpec t;
        STTA_FltrLstLoad(section, t);
        return t;
    }
    static std::string listed() { return INI_Get("Main", "LstTgts", gIniTargets, 3); }
    // A target of one page name, listed.
    static void simpleTarget(const std::string& section, const std::string& page) {
        TargetSpec t;
        t.Typ = 4;
        t.Rules.resize(1);
        t.Rules[0].Val = page;
        t.Rules[0].Typ = kFltrContains;
        STTA_FltrLstSave(section, t);
    }
    void simpleAnswer(const std::string& page, const std::string& button = "&OK") {
        Answer a{.expectCaption = kCaption, .expectMessage = kSimple, .press = button};
        if (!page.empty()) a.sets = {{"#1", page}};
        responder.expect(a);
    }
    void listAnswer(const std::string& button, int position = -1) {
        Answer a{.expectCaption = "- Target Pages or Files", .press = button};
        if (position >= 0) a.sets = {{"#1", std::to_string(position)}};
        responder.expect(a);
    }

    testsupport::TempHome home;
    testsupport::ScriptedResponder responder;
};

TEST_F(TargetDialogs, ASimpleTargetIsWrittenToANewSection) {
    simpleAnswer("BuyNow");
    std::string item;
    STTA_TargetDefine(item);
    EXPECT_EQ(item, "Target 1 : buynow");
    const TargetSpec t = load("Target 1");
    EXPECT_EQ(t.Typ, 4);
    ASSERT_GE(t.Rules.size(), 1u);
    EXPECT_EQ(t.Rules[0].Val, "buynow");
    EXPECT_EQ(t.Rules[0].Typ, kFltrContains);
    EXPECT_EQ(INI_Get("Main", "Parm", gIniTargets, 3), "1");
    EXPECT_EQ(responder.pending(), 0u);
}

TEST_F(TargetDialogs, ANewTargetNeverTakesTheSectionOfAnotherOne) {
    simpleTarget("Target 1", "cart");  // a counter lost, or a targets.ini from elsewhere
    simpleAnswer("basket");
    std::string item;
    STTA_TargetDefine(item);
    EXPECT_EQ(item, "Target 2 : basket");
    EXPECT_EQ(load("Target 1").Rules[0].Val, "cart");
    EXPECT_EQ(INI_Get("Main", "Parm", gIniTargets, 3), "2");
}

TEST_F(TargetDialogs, AComplexTargetKeepsItsRulesAndTypeAndShowsThemAgain) {
    simpleAnswer("order", "Com&plex Target");
    responder.expect({.expectCaption = kCaption,
                      .expectMessage = kComplex,
                      .sets = {{"cap:pages matching a&ll of the names below", "1"},
                               {ruleName(1), "Thanks"},
                               {ruleCase(1), "1"},
                               {ruleName(2), "done.html"},
                               {ruleEquals(2), "1"}},
                      .press = "&OK",
                      .act = [](const core::DlgView& v, core::DlgDriver&) {
                          // The name typed into the simple dialog comes along.
                          EXPECT_EQ(control(v, ruleName(0)).value, "order");
                      }});
    std::string item;
    STTA_TargetDefine(item);
    EXPECT_EQ(item, "Target 1 : order & Thanks & done.html");
    TargetSpec t = load("Target 1");
    EXPECT_EQ(t.Typ, 3);
    ASSERT_GE(t.Rules.size(), 3u);
    EXPECT_EQ(t.Rules[0].Typ, kFltrContains);
    EXPECT_EQ(t.Rules[1].Val, "Thanks");
    EXPECT_TRUE(t.Rules[1].MC);
    EXPECT_EQ(t.Rules[2].Typ, kFltrEquals);

    // Opened again it shows the complex dialog as it was left; made a size target.
    responder.expect({.expectCaption = kCaption,
                      .expectMessage = kComplex,
                      .act =
                          [](const core::DlgView& v, core::DlgDriver& d) {
                              EXPECT_EQ(control(v, "#3").value, "True");
                              EXPECT_EQ(control(v, ruleName(1)).value, "Thanks");
                              EXPECT_EQ(control(v, ruleCase(1)).value, "1");
                              EXPECT_EQ(control(v, ruleCase(2)).value, "0");
                              EXPECT_EQ(control(v, ruleEquals(2)).value, "1");
                              d.setCheck(4, 1);
                              d.setText(5, "5000");
                              d.press("&OK");
                          }});
    STTA_TargetDefine(item);
    EXPECT_EQ(item, "Target 1 : *B order / Thanks / done.html");
    t = load("Target 1");
    EXPECT_EQ(t.Typ, 1);
    EXPECT_EQ(t.TagOpBytes, 5000);
    EXPECT_EQ(INI_Get("Main", "Parm", gIniTargets, 3), "1");
    EXPECT_EQ(responder.pending(), 0u);
}

TEST_F(TargetDialogs, SwitchingBackToSimpleMakesAOnePageTargetAndCancelChangesNothing) {
    simpleTarget("Target 7", "cart");
    responder.expect({.expectCaption = kCaption, .expectMessage = kSimple, .press = "Com&plex Target"});
    responder.expect({.expectCaption = kCaption,
                      .expectMessage = kComplex,
                      .sets = {{ruleName(0), "basket"}},
                      .press = "Sim&ple Target"});
    simpleAnswer("");
    std::string item = "Target 7 : cart";
    STTA_TargetDefine(item);
    EXPECT_EQ(item, "Target 7 : basket");
    EXPECT_EQ(load("Target 7").Typ, 4);

    simpleAnswer("shoes", "&Cancel");
    STTA_TargetDefine(item);
    EXPECT_EQ(item, "Target 7 : basket");
    EXPECT_EQ(load("Target 7").Rules[0].Val, "basket");
    EXPECT_EQ(INI_Get("Main", "Parm", gIniTargets, 3), "");
}

TEST_F(TargetDialogs, TheListAddsEditsInPlaceAndCopiesTargets) {
    simpleTarget("Target 1", "cart");
    simpleTarget("Target 2", "shoes");
    INI_Put("Main", "LstTgts", "Target 1 : cart|Target 2 : shoes", gIniTargets);
    INI_Put("Main", "Parm", "2", gIniTargets);
    struct Case {
        const char* name;
        int position;             // the item chosen, -1 none
        const char* button;       // pressed in the list ("" none before Done)
        std::vector<std::pair<std::string, std::string>> definition;  // simple dialog: typed name, button
        std::string listAfter;
        long returned;            // 2 when the targets file changed
    } cases[] = {
        {"new", -1, "&New ", {{"Thanks", "&OK"}}, "Target 1 : cart|Target 2 : shoes|Target 3 : thanks", 2},
        {"new cancelled", -1, "&New ", {{"x", "&Cancel"}}, "Target 1 : cart|Target 2 : shoes|Target 3 : thanks", 1},
        {"edit keeps the place", 0, "Edi&t ", {{"basket", "&OK"}},
         "Target 1 : basket|Target 2 : shoes|Target 3 : thanks", 2},
        // OK stores the target again, in its full form.
        {"edit unchanged", 1, "Edi&t ", {{"", "&OK"}}, "Target 1 : basket|Target 2 : shoes|Target 3 : thanks", 2},
        {"copy", 1, "Cop&y ", {{"", "&Cancel"}},
         "Target 1 : basket|Target 2 : shoes|Target 3 : thanks|Target 4 : shoes", 2},
        {"nothing done", -1, "", {}, "Target 1 : basket|Target 2 : shoes|Target 3 : thanks|Target 4 : shoes", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (*c.button) listAnswer(c.button, c.position);
        for (const auto& [page, button] : c.definition) simpleAnswer(page, button);
        listAnswer("&Done");
        EXPECT_EQ(STTA_TargetsEdit(), c.returned);
        EXPECT_EQ(listed(), c.listAfter);
        EXPECT_EQ(responder.pending(), 0u);
    }
    // The copy is a target of its own with the rules of the one copied.
    EXPECT_EQ(load("Target 4").Rules[0].Val, "shoes");
    EXPECT_EQ(load("Target 4").Typ, 4);
}

TEST_F(TargetDialogs, TheListShowsEachTargetsCommentWhichAnEditKeeps) {
    simpleTarget("Target 1", "cart");
    INI_Put("Main", "LstTgts", "Target 1 : cart", gIniTargets);
    INI_Put("Main", "Parm", "1", gIniTargets);
    MB_ListCommentPut("Main", "LstCmnts", gIniTargets, "Target 1 : cart", "checkout");
    std::vector<std::string> shown;
    responder.expect({.expectCaption = "- Target Pages or Files",
                      .sets = {{"#1", "0"}},
                      .press = "Edi&t ",
                      .act = [&](const core::DlgView& v, core::DlgDriver&) { shown = v.ctls.at(0).items; }});
    simpleAnswer("basket");
    listAnswer("&Done");
    STTA_TargetsEdit();
    EXPECT_EQ(responder.pending(), 0u);
    EXPECT_EQ(shown, (std::vector<std::string>{"Target 1 : cart   [checkout]"}));
    EXPECT_EQ(listed(), "Target 1 : basket");
    EXPECT_EQ(MB_ListComment("Main", "LstCmnts", gIniTargets, "Target 1 : basket"), "checkout");
    EXPECT_EQ(MB_ListComment("Main", "LstCmnts", gIniTargets, "Target 1 : cart"), "");
}

TEST_F(TargetDialogs, ACopyOfATargetWithoutLabelEndsInTheSeparator) {
    INI_Put("Main", "LstTgts", "Target 1 : ", gIniTargets);
    INI_Put("Main", "Parm", "1", gIniTargets);
    simpleTarget("Target 1", "");
    listAnswer("Cop&y ", 0);
    simpleAnswer("", "&Cancel");
    listAnswer("&Done");
    STTA_TargetsEdit();
    core::StrArray items;
    CHUNKS_Split(listed(), items, 1);
    ASSERT_EQ(items.ubound(), 2);
    EXPECT_EQ(items[2], "Target 2 : ");
}

}  // namespace

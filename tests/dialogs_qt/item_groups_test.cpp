#include "dialogs/item_groups.h"

#include <functional>
#include <string>
#include <vector>

#include "core/ini_store.h"
#include "core/shell_hooks.h"
#include "core/text.h"
#include "core/user_interface.h"
#include "dialogs/list_dialog.h"
#include "tests/dialogs_qt/box_fixture.h"
#include "tests/support/arrays.h"
#include "tests/support/temp_home.h"

using dlgtest::leftList;
using dlgtest::nth;
using dlgtest::rightList;
using testsupport::ScriptedResponder;
using testsupport::strArray;

namespace {

using Step = std::function<void(const core::DlgView&, core::DlgDriver&)>;
using Texts = std::vector<std::string>;

// "::*" stands for the site's group file in section "Groups", as the shell routes it.
class GroupsRouting : public core::ShellHooks {
public:
    std::string iniSectFileGet(const std::string& section, const std::string&) override {
        return section == "Groups" ? file : std::string();
    }
    std::string file;
};

Step press(const std::string& caption) {
    return [caption](const core::DlgView&, core::DlgDriver& d) { d.press(caption); };
}

// Chooses rows of the box's first control (a list from 0, a grid's items from 1).
Step chooseAndPress(std::vector<int> rows, const std::string& caption) {
    return [rows, caption](const core::DlgView& v, core::DlgDriver& d) {
        d.choose(v.ctls.at(0).entry, rows);
        d.press(caption);
    };
}

Step chooseLeftAndPress(std::vector<int> rows, const std::string& caption) {
    return [rows, caption](const core::DlgView& v, core::DlgDriver& d) {
        d.choose(leftList(v).entry, rows);
        d.press(caption);
    };
}

Step type(const std::string& text, const std::string& caption) {
    return [text, caption](const core::DlgView& v, core::DlgDriver& d) {
        d.setText(nth(v, "TextBox", 0).entry, text);
        d.press(caption);
    };
}

class GroupsTest : public dlgtest::BoxTest {
protected:
    void SetUp() override {
        BoxTest::SetUp();
        TXT_CrLfInit();
        dlg::installMessageBoxes();
        useFiles("");
        p.itemWord = "Term";
        p.hideNumbers = true;
        p.groupListSection = "Groups";
        p.groupListEntry = "STgrps";
        p.groupListFile = "::*";
        p.groupsSection = "Groups";
        p.currentGroup = "Shoes";
        p.groupsFile = "::*";
        p.wordFilterTarget = "Groups|Shoes|::*";
    }
    void TearDown() override {
        core::setUserInterface(nullptr);
        BoxTest::TearDown();
    }

    // Fresh files for each scenario of a table.
    void useFiles(const std::string& prefix) {
        groupsFile = home / (prefix + "STgroups.ini");
        filtersFile = home / (prefix + "STfilters.ini");
        routing.file = groupsFile;
        p.savedFilterFile = filtersFile;
        testsupport::writeFile(groupsFile, "[Groups]\nSTgrps=Shoes|Boots\nShoes=red shoes\nBoots=black boots\n");
    }

    std::string group(const std::string& entry) { return INI_Get("Groups", entry, groupsFile, 3); }
    std::string rule(long n, const std::string& entry) {
        return INI_Get(std::to_string(n), entry, MBX_FilterFileName(filtersFile, n), 3);
    }
    void writeRules(const std::string& rules) {
        testsupport::writeFile(filtersFile, "[Main]\nMaxNo=3\n");
        testsupport::writeFile(MBX_FilterFileName(filtersFile, 1), rules);
    }

    testsupport::TempHome home;
    std::string groupsFile, filtersFile;
    GroupsRouting routing;
    core::ScopedShellHooks routed{&routing};
    MBX_SelectParams p;
    const core::StrArray all = strArray({"red shoes", "blue shoes", "black boots", "brown boots", "hat"});
};

}  // namespace

TEST(SavedFilterFiles, HundredRulesShareAFileNamedAfterTheBaseFile) {
    struct Case {
        const char* base;
        long n;
        const char* file;
    } cases[] = {
        {"/d/name.ext", 7, "/d/name000.ext"},
        {"/d/name.ext", 99, "/d/name000.ext"},
        {"/d/name.ext", 100, "/d/name001.ext"},
        {"/d/name.ext", 250, "/d/name002.ext"},
        {"/Site.A/Sav.Filters.ini", 1, "/Site.A/Sav.Filters000.ini"},
        {"/d.x/rules", 1, "/d.x/rules000"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.base) + " " + std::to_string(c.n));
        EXPECT_EQ(MBX_FilterFileName(c.base, c.n), c.file);
    }
}

TEST_F(GroupsTest, AnItemIsFoundOnlyInTheGroupHoldingItExactly) {
    testsupport::writeFile(groupsFile, "[Groups]\nSTgrps=A|B\nA=Abc|x\nB=abc\n");
    struct Case {
        const char* text;
        bool found;
        const char* group;
    } cases[] = {{"abc", true, "B"}, {"Abc", true, "A"}, {"ABC", false, ""}, {"x", true, "A"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        std::string g = "stale";
        EXPECT_EQ(MBX_FindItemGroup(c.text, g, p), c.found);
        EXPECT_EQ(g, c.group);
    }
}

TEST_F(GroupsTest, SavingWordFiltersAsksOnlyForMoreThanEightItems) {
    const FltrRule word{.Typ = kFltrContains, .Val = "Shoe", .MC = false};
    struct Case {
        const char* name;
        bool fromFind;
        int items;
        const char* answer;  // "" no box expected
        std::vector<std::pair<long, std::string>> rules;
    } cases[] = {
        {"fromFind", true, 3, "", {{2, "shoe"}}},
        {"eightSilently", false, 8, "", std::vector<std::pair<long, std::string>>(8, {3, "Item"})},
        {"nineYes", false, 9, "&Yes", std::vector<std::pair<long, std::string>>(9, {3, "Item"})},
        {"nineNo", false, 9, "&No", {}},
        {"nineWordOnly", false, 9, "Sa&ve 1x Select Word Filter: Contains <Shoe>", {{2, "shoe"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> moved;
        for (int i = 0; i < c.items; ++i) moved.push_back("Item");
        useFiles(c.name);
        ScriptedResponder responder;
        if (*c.answer) responder.press("9 values selected.", c.answer);
        MBX_SaveWordFilters(c.fromFind, p, word, moved, "Groups|Shoes|::*");
        EXPECT_EQ(responder.pending(), 0u);
        EXPECT_EQ(INI_Get("Main", "MaxNo", filtersFile, 7, "0"), std::to_string(c.rules.size()));
        for (std::size_t n = 1; n <= c.rules.size(); ++n) {
            EXPECT_EQ(rule(static_cast<long>(n), "Typ"), std::to_string(c.rules[n - 1].first));
            EXPECT_EQ(rule(static_cast<long>(n), "Val"), core::lowerAscii(c.rules[n - 1].second));
            EXPECT_EQ(INI_Get("Main", std::to_string(n), MBX_FilterFileName(filtersFile, 1), 3), "Groups|Shoes|::*");
        }
    }
    p.savedFilterFile.clear();
    MBX_SaveWordFilters(true, p, word, {}, "t");  // no saved-filter file: nothing, no box
}

TEST_F(GroupsTest, SavedWordsMoveTheirHitsOnceAndMarkLaterHitsOfTheSameItem) {
    writeRules("[1]\nTyp=2\nVal=red\n[2]\nTyp=3\nVal=hat\n[3]\nTyp=2\nVal=shoe\n"
               "[Main]\n1=Groups|Red|f\n2=Groups|Hats|f\n3=Groups|Shoes|f\n");
    std::vector<std::string> hits, targets;
    std::vector<long> sources;
    ScriptedResponder responder;
    responder.expect({.act = [](const core::DlgView& v, core::DlgDriver& d) {
        // The "equals" rule of hat takes no part; the grid sorts on the item.
        EXPECT_EQ(v.ctls.at(0).items, (Texts{"\tShoe Horn\tShoes\tR\tContains <shoe>\t3",
                                             "\tred shoes\tRed\tL\tContains <red>\t1",
                                             "**DUPL**\tred shoes\tShoes\tL\tContains <shoe>\t2"}));
        d.press("&OK");
    }});
    ASSERT_TRUE(MBX_ApplySavedFilters({"red shoes", "hat"}, {"Shoe Horn"}, hits, targets, sources, p));
    EXPECT_EQ(hits, (Texts{"red shoes", "Shoe Horn"}));
    EXPECT_EQ(targets, (Texts{"Groups|Red|f", "Groups|Shoes|f"}));
    EXPECT_EQ(sources, (std::vector<long>{0, -1}));
}

TEST_F(GroupsTest, RemovingARuleFromTheHitsAsksAndErasesItForGood) {
    writeRules("[1]\nTyp=2\nVal=red\n[3]\nTyp=2\nVal=shoe\n[Main]\n1=Groups|Red|f\n3=Groups|Shoes|f\n");
    std::vector<std::string> hits, targets;
    std::vector<long> sources;
    ScriptedResponder responder;
    responder.expect({.act = chooseAndPress({1}, "Remove &Rule")});
    responder.expect({.expectMessage = "Rule: Contains <red>", .press = "&Yes"});
    responder.expect({.act = press("&Cancel")});
    EXPECT_FALSE(MBX_ApplySavedFilters({"red shoes"}, {}, hits, targets, sources, p));
    EXPECT_TRUE(hits.empty());
    EXPECT_EQ(rule(1, "Typ"), "");
    EXPECT_EQ(INI_Get("Main", "1", MBX_FilterFileName(filtersFile, 1), 3), "");
    EXPECT_EQ(rule(3, "Val"), "shoe");
}

// The selector with named groups and saved word filters, one scenario a row: how the
// group editor reaches it, the steps of the user, and what the groups file holds after.
TEST_F(GroupsTest, SelectorWithGroupsAndSavedFilters) {
    enum class Entry { EditShoes, GroupList };
    struct Scenario {
        const char* name;
        Entry entry;
        std::string rules;  // saved filters, "" none
        std::vector<Step> steps;
        int result;
        std::vector<std::pair<std::string, std::string>> groups;  // entries of [Groups] after
        std::string maxNo;                                        // saved rules after
    };
    const Step selectorOk = press("&OK");
    const std::vector<Scenario> scenarios = {
        {"createGroupAndAddItems", Entry::GroupList, "",
         {press("&New "), type("Hats", "&OK"),
          [](const core::DlgView& v, core::DlgDriver& d) {
              EXPECT_NE(v.message.find("Selected Group: Hats"), std::string::npos);
              // Items already in a group are not offered for another one.
              EXPECT_EQ(leftList(v).items, (Texts{"blue shoes", "brown boots", "hat"}));
              d.choose(leftList(v).entry, {2});
              d.press("&Add -->");
          },
          selectorOk, press("&Cancel")},
         1, {{"STgrps", "Shoes|Boots|Hats"}, {"Hats", "hat"}, {"Shoes", "red shoes"}}, "1"},
        {"addItemsFoundByWordSavesTheWord", Entry::EditShoes, "",
         {type("SHOE", "Find all Terms with Wo&rd"),
          [](const core::DlgView& v, core::DlgDriver& d) {
              EXPECT_EQ(leftList(v).selection, "0");
              d.press("&Add -->");
          },
          selectorOk},
         2, {{"Shoes", "red shoes|blue shoes"}}, "1"},
        {"findAnItemsGroupAndMoveIt", Entry::EditShoes, "",
         {press("Fi&nd List Name"), type("Black Boots", "&OK"),
          [](const core::DlgView& v, core::DlgDriver& d) {
              // Not there as typed; found lower-cased.
              EXPECT_NE(v.message.find(">>black boots<< currently in group:" + gCR + "Boots"), std::string::npos);
              d.press("&Yes");
          },
          chooseAndPress({0}, "&OK"), press("&Cancel")},
         1, {{"Boots", ""}, {"Shoes", "red shoes|black boots"}}, ""},
        {"findInAllGroupsMovesTheChosenHits", Entry::EditShoes, "",
         {type("boots", "Find Terms with Word in ALL &Groups"),
          [](const core::DlgView& v, core::DlgDriver& d) {
              EXPECT_EQ(v.ctls.at(0).items, (Texts{"brown boots\tNot Found", "black boots\tBoots"}));
              d.choose(v.ctls.at(0).entry, {1});
              d.press("&OK");
          },
          chooseAndPress({1}, "&OK"),
          [](const core::DlgView& v, core::DlgDriver& d) {
              EXPECT_EQ(v.ctls.at(0).items, (Texts{"black boots\tBoots"}));
              EXPECT_EQ(v.buttons.back(), "&1 To: Boots");
              d.press("&Cancel");
          },
          [](const core::DlgView& v, core::DlgDriver& d) {
              EXPECT_EQ(leftList(v).items, (Texts{"blue shoes", "black boots", "hat"}));
              d.press("&OK");
          }},
         2, {{"Boots", "black boots|brown boots"}}, "1"},
        {"applySavedFilterMovesHitsToTheirGroup", Entry::EditShoes,
         "[1]\nTyp=2\nVal=boot\n[2]\nTyp=3\nVal=hat\n[Main]\n1=Groups|Boots|::*\n2=Groups|Boots|::*\n",
         {chooseLeftAndPress({0, 1, 2, 3}, "Appl&y Saved Filters - Auto Move"),
          [](const core::DlgView& v, core::DlgDriver& d) {
              EXPECT_EQ(v.ctls.at(0).items.size(), 2u);
              d.press("&OK");
          },
          [](const core::DlgView& v, core::DlgDriver& d) {
              EXPECT_EQ(leftList(v).items, (Texts{"blue shoes", "hat"}));
              d.press("&OK");
          }},
         2, {{"Boots", "black boots|brown boots"}, {"Shoes", "red shoes"}}, "2"},
        {"moveToTheOtherList", Entry::EditShoes, "",
         {[](const core::DlgView& v, core::DlgDriver& d) {
              d.choose(rightList(v).entry, {0});
              d.press("Mo&ve --> Other List");
          },
          [](const core::DlgView& v, core::DlgDriver& d) {
              EXPECT_NE(nth(v, "Label", 0).caption.find("Add from RHS [1]: red shoes"), std::string::npos);
              d.choose(v.ctls.at(0).entry, {1});
              d.press("&OK");
          },
          [](const core::DlgView& v, core::DlgDriver& d) {
              EXPECT_EQ(rightList(v).items, Texts{});
              d.press("&OK");
          }},
         2, {{"Boots", "black boots|red shoes"}, {"Shoes", ""}}, "1"},
        {"cancelWritesNothingBack", Entry::EditShoes, "",
         {chooseLeftAndPress({0}, "&Add -->"),
          [](const core::DlgView& v, core::DlgDriver& d) {
              EXPECT_EQ(rightList(v).items, (Texts{"red shoes", "blue shoes"}));
              d.press("&Cancel");
          }},
         1, {{"Shoes", "red shoes"}}, "1"},
    };
    for (const Scenario& s : scenarios) {
        SCOPED_TRACE(s.name);
        useFiles(s.name);
        MB_UnloadStray("");
        if (!s.rules.empty()) {
            testsupport::writeFile(filtersFile, "[Main]\nMaxNo=2\n");
            testsupport::writeFile(MBX_FilterFileName(filtersFile, 1), s.rules);
        }
        ScriptedResponder responder;
        for (const Step& step : s.steps) responder.expect({.act = step});
        core::StrArray items;
        int result = 0;
        if (s.entry == Entry::EditShoes) {
            result = MBX_EditGroupItems(items, all, {}, {}, p, "Groups", "Shoes", "::*", 10000);
        } else {
            MBX_SelectParams fresh;
            fresh.itemWord = "Term";
            fresh.hideNumbers = true;
            fresh.savedFilterFile = filtersFile;
            MB_ListDlgArgs list{.further = true, .furtherCaption = "&Cancel"};
            dlg::useStandardListButtons(list);
            std::string chosen;
            result = MBX_SelectGroup("Groups", "STgrps", all, {}, fresh, "Group", list, chosen);
        }
        EXPECT_EQ(responder.pending(), 0u);
        EXPECT_EQ(result, s.result);
        for (const auto& [entry, value] : s.groups) EXPECT_EQ(group(entry), value) << entry;
        EXPECT_EQ(INI_Get("Main", "MaxNo", filtersFile, 3), s.maxNo) << "rules saved";
    }
}

TEST_F(GroupsTest, ANewGroupNameIsAskedAgainWhileItIsTakenInAnyCase) {
    ScriptedResponder responder;
    responder.expect({.act = press("&New ")});
    responder.expect({.expectMessage = "Enter name for new group of Group", .act = type("BOOTS", "&OK")});
    responder.expect({.expectMessage = "Item already exists.", .press = "&OK"});
    responder.expect({.expectMessage = "Enter name for new group of Group", .act = type("Hats", "&OK")});
    EXPECT_EQ(MBX_ChooseGroup("Groups", "STgrps", "::*", "Group", "Move to:"), "Hats");
    EXPECT_EQ(group("STgrps"), "Shoes|Boots|Hats");

    responder.expect({.act = press("&Cancel")});
    EXPECT_EQ(MBX_ChooseGroup("Groups", "STgrps", "::*", "Group", "Move to:"), "");
    EXPECT_EQ(responder.pending(), 0u);
}

TEST_F(GroupsTest, ALongCandidateListIsCutToTheMaximumAfterSayingSo) {
    ScriptedResponder responder;
    responder.expect({.expectMessage = "4 values. Will be restricted to first 2", .press = "&OK"});
    responder.expect({.act = [](const core::DlgView& v, core::DlgDriver& d) {
        EXPECT_EQ(leftList(v).items, (Texts{"blue shoes", "black boots"}));
        d.press("&OK");
    }});
    core::StrArray items;
    EXPECT_EQ(MBX_EditGroupItems(items, all, {}, {}, p, "Groups", "Shoes", "::*", 2), 2);
    EXPECT_EQ(responder.pending(), 0u);
    EXPECT_EQ(MBX_EditGroupItems(items, all, {}, {}, p, "Groups", "", "::*", 2), 0);  // no group, no box
}

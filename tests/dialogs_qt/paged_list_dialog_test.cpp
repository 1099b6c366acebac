#include "dialogs/paged_list_dialog.h"

#include <string>
#include <vector>

#include "core/delimited_lists.h"
#include "core/ini_store.h"
#include "tests/dialogs_qt/box_fixture.h"
#include "tests/support/temp_home.h"

using dlgtest::BoxTest;
using testsupport::Answer;
using testsupport::ScriptedResponder;

namespace {

core::StrArray numbered(long count) {
    core::StrArray items;
    items.redim(0, count);
    for (long i = 1; i <= count; ++i) items.set(i, "i" + std::to_string(i));
    return items;
}

std::vector<std::string> itemsOf(const core::StrArray& items) {
    std::vector<std::string> out;
    for (long i = 1; i <= items.ubound(); ++i) out.push_back(items[i]);
    return out;
}

std::string repeated(const std::string& text, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) out += text;
    return out;
}

MB_PagedListArgs textList(long pageSize) {
    MB_PagedListArgs a;
    a.message = "Edit";
    a.caption = "Paged";
    a.typeWords = "TextBox";
    a.pageSize = pageSize;
    return a;
}

class PagedListTest : public BoxTest {
protected:
    bool run(const MB_PagedListArgs& a, core::StrArray& items, std::string& states, std::vector<Answer> answers) {
        ScriptedResponder responder;
        for (auto& answer : answers) responder.expect(std::move(answer));
        const bool ended = MB_CheckListPaged(a, items, states, ctl, result);
        views = responder.shown();
        EXPECT_EQ(responder.pending(), 0u);
        return ended;
    }
    long result = 0;
};

}  // namespace

TEST_F(PagedListTest, PagingButtonsMoveBetweenPages) {
    struct Step {
        std::string press;
        std::string top;  // the first control's text on the page shown
        std::vector<std::string> buttons;
    };
    struct Case {
        const char* name;
        long count, pageSize, first;
        std::string lastPageCaption;
        std::vector<Step> steps;
    } cases[] = {
        {"wholeListNoPaging", 25, 30, 1, "", {{"&OK", "i1", {"&OK"}}}},
        {"lastPageCaptionShownWithoutNext", 25, 30, 1, "&Add Line", {{"&OK", "i1", {"&OK", "&Add Line"}}}},
        {"nextThenLastIsAFullPage",
         65,
         30,
         1,
         "",
         {{"&Next >", "i1", {"&OK", "&Next >", "Las&t >>"}},
          {"Las&t >>", "i31", {"&OK", "< &Prev", "&Next >", "Las&t >>"}},
          {"&OK", "i36", {"&OK", "< &Prev"}}}},
        {"nextFrom31GoesTo61", 65, 30, 31, "", {{"&Next >", "i31", {}}, {"< &Prev", "i61", {}}, {"&OK", "i31", {}}}},
        {"prevFrom10GoesTo1", 65, 30, 10, "", {{"< &Prev", "i10", {}}, {"&OK", "i1", {}}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MB_PagedListArgs a = textList(c.pageSize);
        a.firstItem = c.first;
        a.lastPageCaption = c.lastPageCaption;
        core::StrArray items = numbered(c.count);
        std::string states;
        std::vector<Answer> answers;
        for (const Step& s : c.steps) answers.push_back({.press = s.press});
        EXPECT_TRUE(run(a, items, states, answers));
        ASSERT_EQ(views.size(), c.steps.size());
        for (std::size_t i = 0; i < views.size(); ++i) {
            SCOPED_TRACE(i);
            EXPECT_EQ(views[i].ctls.at(0).value, c.steps[i].top);
            if (!c.steps[i].buttons.empty()) {
                EXPECT_EQ(views[i].buttons, c.steps[i].buttons);
            }
        }
        EXPECT_EQ(items.ubound(), c.count);
    }
}

TEST_F(PagedListTest, CheckBoxColumnShowsTheTickedCountAndTakesTicksBack) {
    struct Case {
        const char* name;
        std::string states;
        std::string prefix;
    } cases[] = {
        {"none", "0|0|0", "None checked. Pick"},
        // Only the states are counted, so three items can carry a long list.
        {"grouped", "0|1|0" + repeated("|1", 1233), "1,234 checked. Pick"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string states = c.states;
        MB_PagedListArgs a;
        a.message = "Pick";
        a.showCount = true;
        core::StrArray items = numbered(3);
        EXPECT_TRUE(run(a, items, states, {{.sets = {{"cap:i2", "1"}}, .press = "&OK"}}));
        EXPECT_EQ(views.at(0).message.rfind(c.prefix, 0), 0u) << views.at(0).message;
        EXPECT_EQ(CHUNKS_Get(2, states), "1");
        EXPECT_EQ(itemsOf(items), (std::vector<std::string>{"i1", "i2", "i3"}));
    }
}

TEST_F(PagedListTest, ResultLeavesThePagingButtonsOutOfTheNumbering) {
    struct Case {
        std::string press;
        long result;
    } cases[] = {{"&Save", 1}, {"&Cancel", 2}, {"&OK", 3}, {"&Help", 4}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.press);
        MB_PagedListArgs a = textList(30);
        a.firstItem = 31;
        a.firstCaption = "&Save";
        a.secondCaption = "&Cancel";
        a.furtherCaptions = "&OK|&Help";
        core::StrArray items = numbered(65);
        std::string states;
        EXPECT_TRUE(run(a, items, states, {{.press = c.press}}));
        EXPECT_EQ(views.at(0).buttons, (std::vector<std::string>{"&Save", "&Cancel", "< &Prev", "&Next >",
                                                                 "Las&t >>", "&OK", "&Help"}));
        EXPECT_EQ(views.at(0).escButton, 2);
        EXPECT_EQ(result, c.result);
    }
}

TEST_F(PagedListTest, EditsOnEveryPageSurvivePaging) {
    MB_PagedListArgs a = textList(30);
    core::StrArray items = numbered(65);
    std::string states;
    EXPECT_TRUE(run(a, items, states,
                    {{.sets = {{"#1", "first page"}}, .press = "&Next >"},
                     {.sets = {{"#2", "second page"}}, .press = "< &Prev"},
                     {.press = "&OK"}}));
    EXPECT_EQ(views.at(2).ctls.at(0).value, "first page");
    EXPECT_EQ(items.ubound(), 65);
    EXPECT_EQ(items[1], "first page");
    EXPECT_EQ(items[32], "second page");
    EXPECT_EQ(items[65], "i65");
}

TEST_F(PagedListTest, EmptiedTextBoxRemovesItsItemUnlessKept) {
    struct Case {
        const char* name;
        bool keepEmpty;
        std::vector<std::string> items;
        std::string states;
    } cases[] = {
        {"removed", false, {"i1", "i3", "i4"}, "1|0|1"},
        {"kept", true, {"i1", "", "i3", "i4"}, "1|1|0|1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MB_PagedListArgs a = textList(2);
        a.keepEmpty = c.keepEmpty;
        core::StrArray items = numbered(4);
        // States stay beside their items when one is dropped.
        std::string states = "1|1|0|1";
        EXPECT_TRUE(run(a, items, states, {{.sets = {{"#2", ""}}, .press = "&Next >"}, {.press = "&OK"}}));
        EXPECT_EQ(itemsOf(items), c.items);
        EXPECT_EQ(states, c.states);
        // The items after the page moved up: the second page began with what was item 3.
        EXPECT_EQ(views.at(1).ctls.at(0).value, c.keepEmpty ? "i3" : "i4");
    }
    // The last item emptied leaves an empty list.
    core::StrArray items = numbered(1);
    std::string states = "1";
    EXPECT_TRUE(run(textList(2), items, states, {{.sets = {{"#1", ""}}, .press = "&OK"}}));
    EXPECT_EQ(items.ubound(), 0);
    EXPECT_EQ(states, "");
}

TEST_F(PagedListTest, LastPageButtonAddsNewItemsThroughTheExtraRow) {
    MB_PagedListArgs a = textList(12);
    a.lastPageCaption = "&Add Line";
    a.focusOnEmpty = true;
    core::StrArray items = numbered(2);
    std::string states;
    EXPECT_TRUE(run(a, items, states,
                    {{.sets = {{"#3", "new"}}, .press = "&Add Line"}, {.press = "&OK"}}));
    ASSERT_EQ(views.size(), 2u);
    EXPECT_EQ(views[0].ctls.size(), 3u);
    EXPECT_EQ(views[1].ctls.size(), 4u);
    EXPECT_EQ(views[1].ctls.at(2).value, "new");
    // The untouched empty row of the last showing adds nothing.
    EXPECT_EQ(itemsOf(items), (std::vector<std::string>{"i1", "i2", "new"}));
}

TEST_F(PagedListTest, LastPageLeavesRoomForANewItem) {
    // A full page is not the last one: the last page starts one item later.
    MB_PagedListArgs a = textList(2);
    a.lastPageCaption = "&Add Line";
    core::StrArray items = numbered(2);
    std::string states;
    EXPECT_TRUE(run(a, items, states, {{.press = "&Next >"}, {.sets = {{"#2", "i3"}}, .press = "&OK"}}));
    EXPECT_EQ(views.at(0).buttons, (std::vector<std::string>{"&OK", "&Next >", "Las&t >>"}));
    EXPECT_EQ(views.at(1).buttons, (std::vector<std::string>{"&OK", "< &Prev", "&Add Line"}));
    EXPECT_EQ(views.at(1).ctls.size(), 2u);
    EXPECT_EQ(views.at(1).ctls.at(0).value, "i2");
    EXPECT_EQ(itemsOf(items), (std::vector<std::string>{"i1", "i2", "i3"}));
}

TEST_F(PagedListTest, TwoColumnPagesNeverEraseItemsWithFillers) {
    // Last starts at 36 and Prev then at 6: pages off the row grid of the whole list.
    MB_PagedListArgs a = textList(30);
    a.columns = 2;
    core::StrArray items = numbered(65);
    std::string states;
    EXPECT_TRUE(run(a, items, states, {{.press = "Las&t >>"}, {.press = "< &Prev"}, {.press = "&OK"}}));
    EXPECT_EQ(views.at(2).ctls.at(0).value, "i6");
    EXPECT_EQ(itemsOf(items), itemsOf(numbered(65)));

    // The filler completing the last row is no item, even with empty items kept.
    a.keepEmpty = true;
    items = numbered(5);
    EXPECT_TRUE(run(a, items, states, {{.press = "&OK"}}));
    EXPECT_EQ(views.at(0).ctls.size(), 6u);
    EXPECT_EQ(items.ubound(), 5);

    // A new row keeps its empty second cell when empty items are kept.
    a.lastPageCaption = "&Add Line";
    items = numbered(4);
    EXPECT_TRUE(run(a, items, states, {{.sets = {{"#5", "x"}}, .press = "&OK"}}));
    EXPECT_EQ(itemsOf(items), (std::vector<std::string>{"i1", "i2", "i3", "i4", "x", ""}));
}

TEST_F(PagedListTest, EndOnSecondButtonDropsThePageEdits) {
    MB_PagedListArgs a = textList(30);
    a.secondCaption = "&Cancel";
    a.endOnSecond = true;
    core::StrArray items = numbered(3);
    std::string states;
    EXPECT_FALSE(run(a, items, states, {{.sets = {{"#1", "changed"}}, .press = "&Cancel"}}));
    EXPECT_EQ(result, 2);
    EXPECT_EQ(items[1], "i1");
}

TEST_F(PagedListTest, RememberedControlsSitBelowTheListAndAreSaved) {
    testsupport::TempHome home;
    const std::string ini = home / "box.ini";
    testsupport::writeFile(ini, "[Box]\nCtls=Defs|List\n1=Vals|Flag\n[Defs]\nList={CheckBox|C|F|1}\nC=Flag\nF=0\n"
                                "[Vals]\nFlag=False\n");
    MB_PagedListArgs a = textList(30);
    a.remembered = {.section = "Box", .entry = "Ctls", .iniFile = ini};
    core::StrArray items = numbered(3);
    std::string states;
    EXPECT_TRUE(run(a, items, states, {{.sets = {{"cap:Flag", "1"}, {"#1", "edited"}}, .press = "&OK"}}));
    EXPECT_EQ(views.at(0).ctls.size(), 4u);
    EXPECT_EQ(INI_Get("Vals", "Flag", ini, 1), "True");
    EXPECT_EQ(items[1], "edited");
}

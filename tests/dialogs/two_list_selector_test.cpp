#include "dialogs/two_list_selector.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "tests/support/arrays.h"

namespace {

using testsupport::strArray;
using testsupport::lngArray;

std::vector<std::string> itemsOf(const core::StrArray& a) { return a.items(); }

}  // namespace

TEST(TwoListLeftList, DropsChosenAndSkippedItemsThenOrders) {
    struct Case {
        const char* name;
        bool hideNumbers, sortByText, matchCase;
        std::vector<std::string> left;
    } cases[] = {
        // "Alpha" is chosen as "alpha" and "delta" skipped as "DELTA" unless case counts.
        {"byNumber", false, false, false, {"Gamma - 1", "beta - 4"}},
        {"byText", false, true, false, {"beta - 4", "Gamma - 1"}},
        {"bare", true, true, false, {"beta", "Gamma"}},
        {"matchCase", true, false, true, {"Gamma", "Alpha", "delta", "beta"}},
    };
    const core::StrArray all = strArray({"Alpha", "beta", "Gamma", "delta"});
    const core::LngArray numbers = lngArray({2, 4, 1, 3});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        core::StrArray left;
        MBX_BuildLeftList(all, numbers, strArray({"DELTA"}), strArray({"alpha"}), left, c.hideNumbers, " - ", c.sortByText,
                          c.matchCase);
        EXPECT_EQ(itemsOf(left), c.left);
        EXPECT_EQ(left.lbound(), 0);
    }
}

TEST(TwoListLeftList, NothingLeftIsOneEmptyItem) {
    core::StrArray left = strArray({"stale"});
    core::StrArray noSkip;
    MBX_BuildLeftList(strArray({"a", "B"}), lngArray({1, 2}), noSkip, strArray({"A", "b"}), left, false, " - ", false, false);
    EXPECT_EQ(itemsOf(left), std::vector<std::string>{""});
}

TEST(TwoListFindByWord, FindsContainedWordsLastItemFirst) {
    const core::StrArray list = strArray({"Googlebot", "msnBOT - 3", "Slurp", "bot-net", "net_bot", "net ## bot"});
    struct Case {
        const char* word;
        std::vector<std::string> matches;
    } cases[] = {
        {"bot", {"net ## bot", "net_bot", "bot-net", "msnBOT - 3", "Googlebot"}},
        {"slurp", {"Slurp"}},
        // Each joint and order is a scan of its own, so one item can match twice.
        {"NET[]bot", {"net_bot", "net ## bot", "bot-net"}},
        {"bot[]x[]net", {"bot-net", "net_bot", "net ## bot"}},
        {"", {}},
        {"yahoo", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.word);
        EXPECT_EQ(MBX_FindByWord(c.word, list), c.matches);
    }
    EXPECT_EQ(MBX_FindByWord("a[]b", strArray({"ab", "b a"})), (std::vector<std::string>{"ab", "b a"}));
    EXPECT_EQ(MBX_FindByWord("a[]b", strArray({"a-b-a"})), (std::vector<std::string>{"a-b-a", "a-b-a"}));
}

TEST(TwoListDefaults, FillOnlyWhatIsEmptyAndCaptionsGivenAsAmpersand) {
    MBX_SelectParams p;
    p.selectThenAddCaption = "&";
    p.enterItemCaption = "Type it";
    p.bottomText2 = " ";
    MBX_SelectDefaults(p);
    EXPECT_EQ(p.separator, " - ");
    EXPECT_EQ(p.minWidth, 10000);
    EXPECT_EQ(p.bottomText, "Press OK to save changes.");
    EXPECT_EQ(p.bottomText2, " ");
    EXPECT_EQ(p.selectThenAddCaption, "Selec&t then Add -->");
    EXPECT_EQ(p.enterItemCaption, "Type it");
    EXPECT_EQ(p.copyToSkipCaption, "");
    MBX_SelectParams q;
    MBX_SelectDefaults(q);
    EXPECT_EQ(q.bottomText2, " Press Cancel to ignore changes and keep original selection.");
}

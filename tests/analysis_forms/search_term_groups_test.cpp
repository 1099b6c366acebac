#include "analysis/forms/search_term_groups.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/program_paths.h"
#include "shell/hooks.h"
#include "tests/support/scripted_responder.h"
#include "tests/support/temp_home.h"

namespace {

using testsupport::ScriptedResponder;
using Texts = std::vector<std::string>;

const core::CtlView& nthList(const core::DlgView& v, int n) {
    for (const core::CtlView& c : v.ctls)
        if (c.type == "ListBox" && n-- == 0) return c;
    throw std::logic_error("no list " + std::to_string(n));
}

// Search terms of an analysis; the groups go to the site's STgroups.ini through "::*".
class SearchTermGroups : public ::testing::Test {
protected:
    void SetUp() override {
        gIniSTgroups = home_ / "STgroups.ini";
        testsupport::writeFile(gIniSTgroups, "[Groups]\n");
        results_.Analyzed_Field = kRkSearchTerm;
        STTA_ValueListAlloc(*results_.Vals, 3, 1, 3, {});
        for (const auto& [term, visitors] : {std::pair{"red shoes", 5L}, {"blue boots", 3L}, {"hats", 1L}}) {
            ValueListIncrements inc;
            inc.cnt = visitors;
            STTA_ValueListAdd(-1, *results_.Vals, term, inc, -1);
        }
    }
    void TearDown() override {
        gIniSTgroups.clear();
    }

    testsupport::TempHome home_;
    shell::AppShellHooks hooks_;
    core::ScopedShellHooks hooksInstalled_{&hooks_};
    STTA_Results results_;
};

TEST_F(SearchTermGroups, ANewGroupOfChosenTermsIsWrittenToTheSitesGroups) {
    ScriptedResponder responder;
    responder.expect({.act = [](const core::DlgView& v, core::DlgDriver& d) {
        EXPECT_EQ(v.caption, "Dravolin - Select Search Term Group");
        d.press("&New ");
    }});
    responder.expect({.expectMessage = "Enter name for new Group", .sets = {{"#1", "footwear"}}, .press = "&OK"});
    responder.expect({.act = [](const core::DlgView& v, core::DlgDriver& d) {
        EXPECT_NE(v.message.find("to group when create reports and plot:"), std::string::npos) << v.message;
        EXPECT_NE(v.message.find("Selected Group: footwear"), std::string::npos) << v.message;
        // Terms are offered with their visitors.
        EXPECT_EQ(nthList(v, 0).items, (Texts{"hats - 1", "blue boots - 3", "red shoes - 5"}));
        d.choose(nthList(v, 0).entry, {2, 1});
        d.press("&Add -->");
    }});
    responder.expect({.act = [](const core::DlgView& v, core::DlgDriver& d) {
        EXPECT_EQ(nthList(v, 1).items, (Texts{"blue boots", "red shoes"}));
        d.press("&OK");
    }});
    responder.expect({.act = [](const core::DlgView& v, core::DlgDriver& d) {
        EXPECT_EQ(nthList(v, 0).items, Texts{"footwear"});
        d.press("&Cancel");
    }});
    EXPECT_EQ(STTA_STGroupsEdit(results_, "STgrps", "Groups"), 1);
    EXPECT_EQ(responder.pending(), 0u);
    const std::string stored = testsupport::readFile(gIniSTgroups);
    EXPECT_NE(stored.find("STgrps=footwear\n"), std::string::npos) << stored;
    EXPECT_NE(stored.find("footwear=blue boots|red shoes\n"), std::string::npos) << stored;
}

}  // namespace

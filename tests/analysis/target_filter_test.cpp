#include "analysis/target_filter.h"

#include <gtest/gtest.h>

#include "core/program_paths.h"
#include "logimport/visit_building.h"
#include "tests/analysis/hand_made_site.h"

namespace {

// The hand-made site with two targets: "contact" (reached by visits 2, 5 and 6) and
// "shoes" (visits 1, 4 and 6 reach products/shoes.html after their start page).
class TargetFilter : public testsupport::HandMadeSite {
protected:
    void SetUp() override {
        HandMadeSite::SetUp();
        gIniTargets = site.home / "targets.ini";
        testsupport::writeFile(gIniTargets,
                               "[Main]\nLstTgts=Target 1 : contact|Target 2 : shoes\n"
                               "[Target 1]\nTyp=4\nFltrLst=Target 1TFltr0\n[Target 1TFltr0]\nTyp=2\nVal=contact\n"
                               "[Target 2]\nTyp=4\nFltrLst=Target 2TFltr0\n[Target 2TFltr0]\nTyp=2\nVal=shoes\n");
    }
    void TearDown() override {
        gIniTargets.clear();
        HandMadeSite::TearDown();
    }
    void answer(const std::string& target, const std::string& kind) {
        responder.expect({.expectMessage = "select only items that satisfy target no [-1 for none]",
                          .sets = {{"#1", target}},
                          .press = "&OK"});
        responder.expect({.expectMessage = "select search term=1, start page=2", .sets = {{"#1", kind}}, .press = "&OK"});
    }
};

TEST_F(TargetFilter, KindTenCountsTheAskedValuesOfTheVisitsThatReachedTheTarget) {
    struct Case {
        const char* target;
        const char* kind;
        std::string parms;
        std::vector<std::pair<std::string, std::int64_t>> counts;  // -1: not listed
    } cases[] = {
        {"-1", "2", "-1|2", {{"index.html", 3}, {"products/shoes.html", 2}, {"contact.html", 1}}},
        {"2", "2", "2|2", {{"index.html", 2}, {"products/shoes.html", 1}, {"contact.html", -1}}},
        {"1", "1", "1|1", {{"red shoes", 2}, {kNotSearchEngine, 1}, {"blue shoes", -1}}},
        // A kind out of range counts search terms; a target that is no number lets no visit through.
        {"abc", "12", "0|1", {{"red shoes", -1}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.target) + " " + c.kind);
        answer(c.target, c.kind);
        const STTA_Results r = analyse(kRkTargetsReached);
        EXPECT_EQ(r.pSvCustomRepParms, c.parms);
        EXPECT_EQ(r.Analyzed_Field, kRkTargetsReached);
        for (const auto& [item, count] : c.counts) EXPECT_EQ(cnt(r, item), count) << item;
        EXPECT_EQ(responder.pending(), 0u);
    }
}

TEST_F(TargetFilter, NoneCountsEveryVisitAndItsTargetsUnderOneValue) {
    answer("-1", "10");
    const STTA_Results r = analyse(kRkTargetsReached);
    const long all = r.Vals->find("");
    ASSERT_GE(all, 0);
    EXPECT_EQ(STTA_ValueList::at(r.Vals->Cnt, all), 6);
    EXPECT_EQ(STTA_ValueList::at(r.Vals->CntTgt(1), all), 3);
    EXPECT_EQ(STTA_ValueList::at(r.Vals->CntTgt(2), all), 3);
    EXPECT_EQ(r.Vals->Items.size(), 1u);
}

}  // namespace

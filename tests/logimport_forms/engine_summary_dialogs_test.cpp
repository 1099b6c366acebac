// The summary per search engine with its detail per day, as the user sees it.
#include "logimport/forms/engine_summary_dialogs.h"

#include <gtest/gtest.h>

#include "core/text.h"
#include "tests/support/fake_user_interface.h"
#include "tests/support/scripted_responder.h"

namespace {

using Texts = std::vector<std::string>;

const core::CtlView& gridIn(const core::DlgView& v) {
    for (const auto& c : v.ctls)
        if (c.type == "Grid") return c;
    throw std::runtime_error("no grid in " + v.caption);
}

TEST(EngineSummaryDialogs, AChosenEngineShowsItsDaysThenTheSummaryAgain) {
    TXT_CrLfInit();
    core::StrArray keys;
    core::LngArray counts;
    keys.redim(0, 0);
    counts.redim(0, 0);
    for (const auto& [key, n] : std::vector<std::pair<std::string, long>>{
             {"20240301|Finder", 1}, {"20240302|Finder", 3}, {"20240301|Seeker", 4}}) {
        keys.append(key);
        counts.append(n);
    }
    Texts summary, detail;
    std::string detailCaption;
    testsupport::ScriptedResponder boxes;
    boxes
        .expect({.act =
                     [&](const core::DlgView& v, core::DlgDriver& d) {
                         summary = gridIn(v).items;
                         d.choose(gridIn(v).entry, {2});
                         d.press("SE to display &detail");
                     }})
        .expect({.act =
                     [&](const core::DlgView& v, core::DlgDriver& d) {
                         detail = gridIn(v).items;
                         detailCaption = v.caption;
                         d.press("Don&e");
                     }})
        .expect({.expectCaption = "SE to display detail", .press = "Don&e"});
    STTA_SESummaryShow(keys, counts);
    EXPECT_EQ(boxes.pending(), 0u);
    EXPECT_EQ(summary, (Texts{"Finder\t2 days. [2024-03-01 to 2024-03-02 ]\t4\t2.0\t50.0 %",
                              "Seeker\t1 days. [2024-03-01 to 2024-03-01 ]\t4\t4.0\t50.0 %"}));
    EXPECT_EQ(detail, (Texts{"Seeker\t2024-03-01\t4\t0 %"}));
    EXPECT_NE(detailCaption.find("Detail for SE: Seeker."), std::string::npos) << detailCaption;

    core::StrArray none;
    boxes.press("No SE referrals found.", "&OK");
    STTA_SESummaryShow(none, counts);
    boxes.press("Files were all read without problems.", "&OK");
    STTA_ProblemFilesShow(none, none);
    EXPECT_EQ(boxes.pending(), 0u);
}

}  // namespace

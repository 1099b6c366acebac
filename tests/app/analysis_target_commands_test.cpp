// Analysis > Targets and Select Site Area from the menus: each opens its list, and a
// change offers a new analysis.
#include <gtest/gtest.h>

#include <QAction>

#include "app/analysis_commands.h"
#include "app/analysis_target_commands.h"
#include "core/ini_store.h"
#include "core/program_paths.h"
#include "shell/forms/main_window.h"
#include "shell/sites.h"
#include "tests/shell/shell_home.h"

namespace {

class TargetCommands : public ShellHome {
protected:
    void SetUp() override {
        ShellHome::SetUp();
        startWithFirstSite("Shop");
        // One visit: an empty site is told so instead of being offered an analysis.
        gDB.execute("INSERT INTO visit (VisitID, StartTimeStamp, EndTimeStamp) VALUES (1, 20260301100000, 20260301100500)",
                    {});
        analysis = std::make_unique<AnalysisCommands>(frame);
        wireAnalysisTargetCommands(frame, analysis->dispatch());
    }
    void TearDown() override {
        analysis.reset();
        ShellHome::TearDown();
    }
    Mainfrm frame;
    std::unique_ptr<AnalysisCommands> analysis;
};

TEST_F(TargetCommands, TheTargetAndSiteAreaListsOfferANewAnalysisAfterAChange) {
    boxes.expect({.expectCaption = "Target Pages or Files", .press = "&New "})
        .expect(answer("Enter filename for page(s) required to achieve target.", "order", "&OK"))
        .expect({.expectCaption = "Target Pages or Files", .press = "&Done"})
        .press("To use changed targets you must analyse now.", "&Cancel");
    frame.menuItem("ST")->trigger();
    EXPECT_EQ(boxes.pending(), 0u);
    EXPECT_EQ(INI_Get("Main", "LstTgts", gIniTargets, 3), "Target 1 : order");
    // Leaving the target list with no change asks for nothing more.
    boxes.expect({.expectCaption = "Target Pages or Files", .press = "&Done"});
    frame.menuItem("ST")->trigger();
    EXPECT_EQ(boxes.pending(), 0u);
    EXPECT_TRUE(boxes.refused().empty());

    boxes.expect({.expectCaption = "Area of Site", .press = "&New "})
        .expect(answer("Enter name for new Area of Site", "Checkout", "&OK"))
        .press("Selected Group: Checkout", "&OK")
        .expect({.expectCaption = "Area of Site", .sets = {{"#1", "0"}}, .press = "&OK"})
        .press("To use site area selected you must analyse now.", "&Cancel");
    frame.menuItem("SE")->trigger();
    EXPECT_EQ(boxes.pending(), 0u);
    EXPECT_EQ(INI_Get("Main", "ShowOnlySelSiteAreaParm", "::*", 3), "Checkout");

    // Leaving the area list without a choice, and analysing all areas, asks for nothing more.
    boxes.expect({.expectCaption = "Area of Site", .press = "&Cancel"})
        .press("Press No to analyse all site areas.", "&No");
    frame.menuItem("SE")->trigger();
    EXPECT_EQ(boxes.pending(), 0u);
    EXPECT_FALSE(INI_GetFlag("Main", "ShowOnlySelSiteArea", "::*", 3));
}

}  // namespace

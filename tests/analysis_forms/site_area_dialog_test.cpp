#include "analysis/forms/site_area_dialog.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "core/program_paths.h"
#include "tests/analysis/hand_made_site.h"

namespace {

using Texts = std::vector<std::string>;

const core::CtlView& listBox(const core::DlgView& v, int n) {
    for (const core::CtlView& c : v.ctls)
        if (c.type == "ListBox" && n-- == 0) return c;
    throw std::logic_error("no list box");
}

// The hand-made site with its own Siteareas.ini.
class SiteAreas : public testsupport::HandMadeSite {
protected:
    void SetUp() override {
        HandMadeSite::SetUp();
        gIniSiteareas = site.home / "Siteareas.ini";
    }
    void TearDown() override {
        gIniSiteareas.clear();
        HandMadeSite::TearDown();
    }
    void listAnswer(const std::string& button) {
        responder.expect({.expectCaption = "Area of Site", .press = button});
    }
};

TEST_F(SiteAreas, AChosenAreaLimitsTheAnalysisToTheVisitsOfItsPages) {
    listAnswer("&New ");
    responder.expect({.expectMessage = "Enter name for new Area of Site", .sets = {{"#1", "Shop"}}, .press = "&OK"});
    responder.expect({.expectMessage = "Selected Group: Shop", .act = [](const core::DlgView& v, core::DlgDriver& d) {
                          // The site's pages, in text order.
                          const Texts pages = listBox(v, 0).items;
                          EXPECT_EQ(pages, (Texts{".. Page does not exist ..", "contact.html", "img/logo.gif",
                                                  "index.html", "products/shoes.html"}));
                          d.choose(listBox(v, 0).entry, {4});
                          d.press("&Add -->");
                      }});
    responder.expect({.expectMessage = "Selected Group: Shop", .press = "&OK"});
    responder.expect({.expectCaption = "Area of Site",
                      .sets = {{"#1", "0"}},
                      .press = "&OK",
                      .act = [](const core::DlgView& v, core::DlgDriver&) {
                          EXPECT_EQ(listBox(v, 0).items, Texts{"Shop"});
                      }});
    EXPECT_EQ(STTA_SiteAreaSelect(site.db), 2);
    EXPECT_EQ(responder.pending(), 0u);
    EXPECT_EQ(INI_Get("Main", "ShowOnlySelSiteAreaParm", "::*", 3), "Shop");
    EXPECT_TRUE(INI_GetFlag("Main", "ShowOnlySelSiteArea", "::*", 3));
    EXPECT_EQ(INI_Get("SiteAreas", "Shop", gIniSiteareas, 3), "products/shoes.html");

    // Visits 1, 4 and 6 went to products/shoes.html after their start page.
    const STTA_Results r = analyse(kRkStartPage);
    EXPECT_EQ(r.SiteArea, "Shop");
    EXPECT_EQ(cnt(r, "index.html"), 2);
    EXPECT_EQ(cnt(r, "products/shoes.html"), 1);
    EXPECT_EQ(cnt(r, "contact.html"), -1);
}

TEST_F(SiteAreas, LeavingTheListOfALimitedAnalysisAsksUntilNoEndsTheLimit) {
    setMain("ShowOnlySelSiteArea", "True");
    setMain("ShowOnlySelSiteAreaParm", "Shop");
    testsupport::writeFile(gIniSiteareas, "[SiteAreas]\nSiteareas=Shop\nShop=products/shoes.html\n");
    const std::string question = "You must select a site area to analyse only visitors to that site area.";
    listAnswer("&Cancel");
    responder.press(question, "&Yes");
    listAnswer("&Cancel");
    responder.press(question, "&No");
    EXPECT_EQ(STTA_SiteAreaSelect(site.db), 1);
    EXPECT_EQ(responder.pending(), 0u);
    EXPECT_FALSE(INI_GetFlag("Main", "ShowOnlySelSiteArea", "::*", 3));
    EXPECT_EQ(cnt(analyse(kRkStartPage), "contact.html"), 1);
}

}  // namespace

#include <gtest/gtest.h>

#include "core/delimited_lists.h"
#include "core/ini_store.h"
#include "core/text.h"
#include "logimport/filter_descriptions.h"
#include "logimport/read_record.h"
#include "tests/logimport/filter_fixture.h"
#include "tests/support/temp_home.h"

namespace {

using testsupport::TempHome;
using testsupport::writeFile;

// Two multiple filters over the same two rules, listed in this order, and a protected
// name with no section.
const std::string kFilters =
    "[Filters]\n"
    "SelLst=All lines|shop pages|shop|cart|both\n" +
    kShopCartFilters;

const std::string kShop = "File Name Contains </shop/>";
const std::string kCart = "User agent (browser) Starts with <Mozilla> MC";

std::vector<std::string> items(const core::StrArray& a) {
    std::vector<std::string> out;
    for (long i = 1; i <= a.ubound(); ++i) out.push_back(a[i]);
    return out;
}

core::StrArray array(const std::vector<std::string>& v) {
    core::StrArray a;
    a.redim(0, 0);
    for (const auto& s : v) a.append(s);
    return a;
}

class FilterDescriptions : public ::testing::Test {
protected:
    void SetUp() override {
        TXT_CrLfInit();
        file_ = home_ / "LdLnFltr.ini";
        writeFile(file_, kFilters);
        STTA_FltrColTypeCaptions(captions_);
    }

    TempHome home_;
    std::string file_;
    core::StrArray captions_;
};

}  // namespace

TEST_F(FilterDescriptions, DescribeSingleMultipleAndProtectedFilters) {
    core::StrArray names, descs;
    FLTR_FilterListDescs("SelLst", file_, captions_, "all LINES", false, names, descs);
    EXPECT_EQ(items(names), (std::vector<std::string>{"All lines", "shop pages", "shop", "cart", "both"}));
    EXPECT_EQ(items(descs), (std::vector<std::string>{
                                "All lines",
                                "<" + kShop + "> / <" + kCart + ">",
                                kShop,
                                kCart,
                                "<" + kCart + "> & <" + kShop + ">",
                            }));

    // The chooser of a multiple filter is offered the plain rules only.
    FLTR_FilterListDescs("SelLst", file_, captions_, "All lines", true, names, descs);
    EXPECT_EQ(items(names), (std::vector<std::string>{"shop", "cart"}));
    EXPECT_EQ(items(descs), (std::vector<std::string>{kShop, kCart}));
}

TEST_F(FilterDescriptions, RuleTextNamesTheFieldByItsCaption) {
    FltrRule rule{kFltrIsNumber, "", false};
    EXPECT_EQ(FLTR_FilterRuleText(rule, 3, captions_), "RC (200=OK, 404=Page not found, etc.) Is a number<>");
    // A code without a caption, as a hand-edited file may hold.
    EXPECT_EQ(FLTR_FilterRuleText(rule, 9, captions_), " Is a number<>");
    EXPECT_EQ(FLTR_CondsArrText(array({}), file_, captions_, true), "");
    EXPECT_EQ(FLTR_CondsText("both", file_, captions_), "<" + kCart + "> & <" + kShop + ">");
}

TEST_F(FilterDescriptions, ReorderedDescriptionsGiveBackTheirNames) {
    core::StrArray names, descs;
    FLTR_FilterListDescs("SelLst", file_, captions_, "All lines", false, names, descs);
    const core::StrArray moved = array({kCart, "All lines", kShop, "<" + kCart + "> & <" + kShop + ">",
                                        "<" + kShop + "> / <" + kCart + ">"});
    const core::StrArray result = FLTR_DescsToNames(names, descs, moved, "SelLst", file_);
    EXPECT_EQ(items(result), (std::vector<std::string>{"cart", "All lines", "shop", "both", "shop pages"}));
    EXPECT_EQ(INI_Get("Filters", "SelLst", file_, 3), "cart|All lines|shop|both|shop pages");
}

TEST_F(FilterDescriptions, EqualDescriptionsTakeTheNamesOfTheirPlacesInTurn) {
    const core::StrArray oldNames = array({"a", "b", "c"});
    const core::StrArray oldDescs = array({"same", "other", "same"});
    const core::StrArray result =
        FLTR_DescsToNames(oldNames, oldDescs, array({"other", "same", "same"}), "SelLst", file_);
    EXPECT_EQ(items(result), (std::vector<std::string>{"b", "a", "c"}));
}

TEST_F(FilterDescriptions, MultiUseFindNamesTheFirstMultipleFilterInListOrder) {
    std::string desc;
    EXPECT_EQ(FLTR_MultiUseFind("CART", fltr::listNames("SelLst", file_), file_, captions_, desc), "shop pages");
    EXPECT_EQ(desc, "<" + kShop + "> / <" + kCart + ">");

    INI_Put("Filters", "SelLst", "both|shop pages|shop|cart", file_);
    EXPECT_EQ(FLTR_MultiUseFind("shop", fltr::listNames("SelLst", file_), file_, captions_, desc), "both");

    EXPECT_EQ(FLTR_MultiUseFind("All lines", fltr::listNames("SelLst", file_), file_, captions_, desc), "");
    EXPECT_EQ(desc, "");
}

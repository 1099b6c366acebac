#include "analysis/forms/word_combinations_dialog.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>

#include "analysis/forms/results_window.h"
#include "platform/grid/flex_grid.h"
#include "tests/analysis/hand_made_site.h"

namespace {

class WordFrequencies : public testsupport::HandMadeSite {
protected:
    // The All report of the site's kind; the results window's grid menu opened on it.
    std::unique_ptr<SrchTmLstFrm> window(long kind) {
        gResults = analyse(kind);
        const IfrmPtr form = forms.STTA_IfrmShow();
        ReportTable table;
        STTA_ReportGridSetup(gResults.Targets, table, gResults.Analyzed_Field, gResults.AnalOpts);
        STTA_AllRowsWrite(gResults, table);
        auto w = std::make_unique<SrchTmLstFrm>(std::move(table), form, "All");
        emit w->fSearchTerms()->mouseUp(Qt::RightButton, {}, 0, 0);
        w->fPUMnu()->close();
        return w;
    }
    void TearDown() override {
        gResultsIfrmKey.clear();
        HandMadeSite::TearDown();
    }
    void expectList(const std::string& message, const std::vector<std::string>& lines, const std::string& button) {
        responder.expect({.expectMessage = message,
                          .press = button,
                          .act = [lines](const core::DlgView& v, core::DlgDriver&) {
                              ASSERT_EQ(v.ctls.size(), 1u);
                              EXPECT_EQ(v.ctls[0].items, lines);
                          }});
    }
    DataForms forms;
};

TEST_F(WordFrequencies, ASearchTermReportTotalsItsUsersPerWordCombination) {
    setMain("ThresholdST", "1");
    const auto w = window(kRkSearchTerm);
    QAction* item = w->findChild<QAction*>("fMnu_W");
    ASSERT_TRUE(item);
    EXPECT_TRUE(item->isVisible());
    // Terms: red shoes (4 users), blue shoes (1); the visit from no engine has no words.
    expectList("Total users for each 1 word combination in Search term", {"shoes - 5", "red - 4", "blue - 1"},
               "&2 Words");
    expectList("Total users for each 2 word combination in Search term", {"red shoes - 4", "blue shoes - 1"},
               "&1 Word");
    expectList("Total users for each 1 word combination", {"shoes - 5", "red - 4", "blue - 1"}, "&OK");
    item->trigger();
    EXPECT_EQ(responder.pending(), 0u);
}

TEST_F(WordFrequencies, OnlySearchTermReportsOfferThem) {
    const auto w = window(kRkStartPage);
    EXPECT_FALSE(w->findChild<QAction*>("fMnu_W")->isVisible());
}

}  // namespace

// The main road as a user walks it from the menus: a log added, a report read and
// sorted, a row plotted, and a second report made from the same analysis.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <algorithm>
#include <fstream>
#include <map>
#include <regex>
#include <set>

#include "analysis/forms/results_window.h"
#include "app/analysis_commands.h"
#include "app/analysis_option_commands.h"
#include "app/log_import_commands.h"
#include "core/numbers.h"
#include "core/site_name.h"
#include "core/text.h"
#include "logimport/visit_building.h"
#include "logimport/forms/log_file_entry_dialog.h"
#include "platform/chart/chart_view.h"
#include "platform/grid/flex_grid.h"
#include "shell/main_window.h"
#include "shell/menu_tree.h"
#include "tests/logimport/generated_site.h"
#include "tests/shell/shell_home.h"

namespace {

class MainRoad : public ShellHome {
protected:
    void SetUp() override {
        ShellHome::SetUp();
        startWithFirstSite("Shop");
        wireLogImportCommands(frame);
        analysis = std::make_unique<AnalysisCommands>(frame);
        wireAnalysisOptionCommands(frame, analysis->dispatch());
        frame.show();
    }
    void TearDown() override {
        analysis.reset();
        ShellHome::TearDown();
    }
    // A generated log added from File > Add new raw log data; the generator's truth file.
    std::string addGeneratedLog(int lines, int seed) {
        const std::string src = std::getenv("DRAVOLIN_SOURCE_DIR");
        const std::string log = home / "gen.log", truthFile = home / "gen.truth";
        EXPECT_EQ(std::system(("python3 '" + src + "/tests/fixtures/genlog.py' " + std::to_string(lines) + " --seed " +
                               std::to_string(seed) + " -o '" + log + "' --truth '" + truthFile + "'")
                                  .c_str()),
                  0);
        INI_Put("Main", "PAFNlog", STTA_LogFileEntryJoin(log, "Combined (Apache, NGINX)"), "::*");
        INI_Put("Main", "DoAdd", "1", "::*");
        boxes.press("Select File to add", "Sta&rt. Read Log File")
            .press("Main Processing [add lines]", "&OK")
            .press("Total log lines read", "&OK")
            .press("Data added.", "Don&e");
        frame.menuItem("FW")->trigger();
        EXPECT_EQ(boxes.pending(), 0u);
        return truthFile;
    }
    SrchTmLstFrm* activeResults() {
        QMdiSubWindow* sub = frame.mdiArea()->activeSubWindow();
        return sub ? qobject_cast<SrchTmLstFrm*>(sub->widget()) : nullptr;
    }
    // The generator's search visits that make a visit on a new site, which skips
    // requests that failed with 404: a search landing on a missing page makes none.
    testsupport::SearchTruth searchVisits(const std::string& truthFile) {
        static const std::regex failed(
            R"(^(\S+) \S+ \S+ \[(\d\d)/(\w{3})/(\d{4}):(\d\d):(\d\d):(\d\d) [^\]]*\] "[^"]*" 404 )");
        static const std::string months = "JanFebMarAprMayJunJulAugSepOctNovDec";
        testsupport::SearchTruth visits = testsupport::readTruth(truthFile);
        std::ifstream log(home / "gen.log");
        std::size_t missed = 0;
        for (std::string line; std::getline(log, line);) {
            std::smatch m;
            if (!std::regex_search(line, m, failed)) continue;
            const std::size_t month = months.find(m[3].str()) / 3 + 1;
            const std::string stamp = m[4].str() + (month < 10 ? "0" : "") + std::to_string(month) + m[2].str() +
                                      m[5].str() + m[6].str() + m[7].str();
            missed += visits.erase({m[1].str(), stamp});
        }
        EXPECT_GT(missed, 0u);  // the generator writes such landings; the check must see them
        return visits;
    }
    // Users per term as the generator wrote them, the way the analysis writes terms.
    std::map<std::string, long> termUsers(const std::string& truthFile) {
        std::map<std::string, long> users;
        for (const auto& [visit, search] : searchVisits(truthFile))
            if (!search.term.empty()) {
                std::string term;
                STTA_StzdSearchTermMake(search.term, term);
                ++users[term];
            }
        return users;
    }

    Mainfrm frame;
    std::unique_ptr<AnalysisCommands> analysis;
};

TEST_F(MainRoad, AddALogReadTheTopTermsSortPlotAndReportAgainFromTheAnalysis) {
    const std::string truthFile = addGeneratedLog(5000, 11);

    // Reports > Top Search Terms: the first report analyses, after the dates are confirmed.
    boxes.press("for new analysis below", " &OK - Start New Analysis ");
    frame.menuItem("RT")->trigger();
    ASSERT_EQ(boxes.pending(), 0u);
    SrchTmLstFrm* terms = activeResults();
    ASSERT_NE(terms, nullptr);
    grid::FlexGrid* grid = terms->fSearchTerms();
    const auto users = termUsers(truthFile);
    const auto top = std::max_element(users.begin(), users.end(),
                                      [](const auto& a, const auto& b) { return a.second < b.second; });
    EXPECT_EQ(grid->TextMatrix(1, 0), top->first);
    EXPECT_EQ(grid->TextMatrix(1, 1), std::to_string(top->second));
    EXPECT_EQ(grid->TextMatrix(grid->Rows() - 1, 0), ".. Total ..");

    // View > Sort by left column, then by visitors again.
    frame.menuItem("VF")->trigger();
    for (long r = 2; r < grid->Rows() - 2; ++r) EXPECT_LE(grid->TextMatrix(r - 1, 0), grid->TextMatrix(r, 0)) << r;
    frame.menuItem("VV")->trigger();
    EXPECT_EQ(grid->TextMatrix(1, 0), top->first);

    // A click on the top row plots its users per day; their sum is the row's count.
    ASSERT_TRUE(terms->pPlotRow(1));
    const core::Table2D& plot = terms->fChart()->ChartData();
    long plotted = 0;
    for (long r = 1; r <= plot.rowUBound(); ++r) plotted += static_cast<long>(TXT_Val(ARR_Item2D(plot, r, 1)));
    EXPECT_EQ(plotted, top->second);
    frame.menuItem("VE")->trigger();
    EXPECT_EQ(terms->dPlotColsToRemove, 1);
    frame.menuItem("VS")->trigger();
    EXPECT_EQ(terms->dPlotColsToRemove, 0);

    // F2 saves the report as CSV, the cells as shown.
    const std::string csv = home / "top-terms.csv";
    boxes.expect({.expectMessage = "Enter Full Path and file name to save grid contents as CSV",
                  .sets = {{"#1", csv}},
                  .press = "&OK"});
    boxes.press("Data written successfully", "&OK");
    QKeyEvent f2(QEvent::KeyPress, Qt::Key_F2, Qt::NoModifier);
    QCoreApplication::sendEvent(grid, &f2);
    ASSERT_EQ(boxes.pending(), 0u);
    std::ifstream saved(csv);
    std::vector<std::string> lines;
    for (std::string line; std::getline(saved, line);) lines.push_back(line);
    // Between the file's header and footer lines, one line per grid row.
    ASSERT_EQ(static_cast<long>(lines.size()), grid->Rows() + 2);
    EXPECT_EQ(lines[2].substr(0, top->first.size() + 1), top->first + ",");
    EXPECT_EQ(lines[2].substr(top->first.size() + 1, std::to_string(top->second).size() + 1),
              std::to_string(top->second) + ",");
    const std::string total = ".. Total ..," + grid->TextMatrix(grid->Rows() - 1, 1) + ",";
    EXPECT_EQ(lines[lines.size() - 2].substr(0, total.size()), total);

    // Reports > All Search Terms comes from the same analysis, without a question.
    frame.menuItem("RA")->trigger();
    SrchTmLstFrm* all = activeResults();
    ASSERT_NE(all, nullptr);
    ASSERT_NE(all, terms);
    EXPECT_EQ(all->dIfrmData(), terms->dIfrmData());
    EXPECT_GE(all->fSearchTerms()->Rows(), grid->Rows());
    EXPECT_EQ(boxes.pending(), 0u);
}

TEST_F(MainRoad, EveryReportCommandOpensItsWindowAnalysingEachKindOnce) {
    const std::string truthFile = addGeneratedLog(5000, 11);
    INI_Put("Main", "ThresholdTrk", "0", "::*");  // tracks repeat rarely in a small log
    std::map<std::string, long> engines;
    for (const auto& [visit, search] : searchVisits(truthFile)) ++engines[search.engineHost];
    std::set<long> analysed;
    for (const shell::MenuSpec& menu : shell::mainMenuTree())
        for (const shell::MenuItemSpec& item : menu.items) {
            if (item.reportKind == 0) continue;
            SCOPED_TRACE(item.code);
            if (analysed.insert(item.reportKind).second)
                boxes.press("for new analysis below", " &OK - Start New Analysis ");
            const SrchTmLstFrm* before = activeResults();
            frame.menuItem(item.code)->trigger();
            ASSERT_EQ(boxes.pending(), 0u);
            SrchTmLstFrm* window = activeResults();
            ASSERT_NE(window, nullptr);
            ASSERT_NE(window, before);  // a box the test did not expect leaves no new window
            grid::FlexGrid* grid = window->fSearchTerms();
            EXPECT_EQ(grid->TextMatrix(grid->Rows() - 1, 0), ".. Total ..");
            if (item.reportKind == 1 && item.reportMode == 3) continue;  // no groups defined: the rest row only
            EXPECT_GT(grid->Rows(), 3);
            if (item.reportKind == 11) {
                // The top engine has the users the generator sent from its hosts.
                const std::string engine = core::lowerAscii(grid->TextMatrix(1, 0));
                long written = 0;
                for (const auto& [host, n] : engines)
                    if (host.find(engine) != std::string::npos) written += n;
                EXPECT_EQ(static_cast<long>(TXT_Val(grid->TextMatrix(1, 1))), written) << engine;
            }
        }
    EXPECT_EQ(analysis->dataForms().size(), analysed.size());
}

TEST_F(MainRoad, ASecondSiteLeavesTheFirstOnesDataAndAnalysesAsTheyWere) {
    addGeneratedLog(3000, 7);
    boxes.press("for new analysis below", " &OK - Start New Analysis ");
    frame.menuItem("RT")->trigger();
    ASSERT_NE(activeResults(), nullptr);
    const std::string topTerm = activeResults()->fSearchTerms()->TextMatrix(1, 0);
    const std::string topUsers = activeResults()->fSearchTerms()->TextMatrix(1, 1);

    // File > Add new site database, without adding data yet.
    boxes.expect(answer("Enter a name for the new site database", "Blog", "&OK"))
        .press("Site DB >>Blog<<created.", "&No");
    frame.menuItem("FD")->trigger();
    ASSERT_EQ(boxes.pending(), 0u);
    EXPECT_EQ(STTA_SiteParmGet(), "Blog");

    // File > Select site database, back to the first site; its analysis is offered, and
    // declined.
    boxes.expect(answer("Current Site DB is: Blog", "0", "&OK")).press("To use site database Shop", "&Cancel");
    frame.menuItem("FS")->trigger();
    ASSERT_EQ(boxes.pending(), 0u);
    EXPECT_EQ(STTA_SiteParmGet(), "Shop");

    // Its open analysis still serves its reports, with the same rows.
    SrchTmLstFrm* before = activeResults();
    frame.menuItem("RT")->trigger();
    EXPECT_EQ(boxes.pending(), 0u);
    ASSERT_NE(activeResults(), before);
    EXPECT_EQ(activeResults()->fSearchTerms()->TextMatrix(1, 0), topTerm);
    EXPECT_EQ(activeResults()->fSearchTerms()->TextMatrix(1, 1), topUsers);

    frame.menuItem("FX")->trigger();
    EXPECT_FALSE(gDB.isOpen());
}

}  // namespace

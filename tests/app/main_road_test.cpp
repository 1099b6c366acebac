// The main road as a user walks it from the menus of the program as main() puts it
// together: a first site, a log added and its history listed, a new analysis, every
// report read and sorted, a row plotted, a report saved and help asked for, a second
// site and back, and the end. Any box the walk does not expect fails it with its text.
//
// With DRAVOLIN_PICTURES naming a folder, the walk leaves pictures of the screen there
// as it goes (scripts/pictures.sh runs it on screen under Xvfb).
#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QLabel>
#include <QMenu>
#include <QPixmap>
#include <QScreen>
#include <QTest>
#include <QTextBrowser>
#include <algorithm>
#include <fstream>
#include <map>
#include <regex>
#include <set>

#include "analysis/forms/results_window.h"
#include "app/program_commands.h"
#include "core/csv_reader.h"
#include "core/delimited_lists.h"
#include "core/numbers.h"
#include "core/site_name.h"
#include "core/text.h"
#include "dialogs/msgbox.h"
#include "dialogs/msgbox_form.h"
#include "help/forms/help_window.h"
#include "logimport/visit_building.h"
#include "logimport/forms/log_file_entry_dialog.h"
#include "platform/chart/chart_view.h"
#include "platform/grid/flex_grid.h"
#include "platform/ui/twips.h"
#include "shell/forms/main_window.h"
#include "shell/menu_tree.h"
#include "tests/logimport/generated_site.h"
#include "tests/shell/shell_home.h"

namespace {

using Rows = std::vector<std::vector<std::string>>;

const char* picturesFolder() { return std::getenv("DRAVOLIN_PICTURES"); }

Rows gridRows(const grid::FlexGrid& grid, long first, long last) {
    Rows rows;
    for (long r = first; r <= last; ++r) {
        std::vector<std::string>& row = rows.emplace_back();
        for (long c = 0; c < grid.Cols(); ++c) row.push_back(grid.TextMatrix(r, c));
    }
    return rows;
}

// The CSV file's rows, without its header and footer lines.
Rows csvRows(const std::string& path) {
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    Rows rows;
    for (std::size_t i = 1; i + 1 < lines.size(); ++i) {
        bool inQuotes = false;
        rows.push_back(core::csv::splitLine(lines[i], ",", false, inQuotes));
    }
    return rows;
}

std::string plainCaption(std::string caption) {
    std::erase(caption, '&');
    while (!caption.empty() && (caption.back() == '.' || caption.back() == ' ')) caption.pop_back();
    return caption;
}

// What a box tells the user to press is one of its buttons, and the command it names
// is on the menu it names.
void expectNamesOnlyWhatIsThere(const core::DlgView& box) {
    static const std::regex press(R"re([Pp]ress "([^"]+)")re"), use(R"re(Use ([A-Z][^.]*?) from the (\w+) menu)re");
    for (std::sregex_iterator m(box.message.begin(), box.message.end(), press), end; m != end; ++m) {
        const std::string named = plainCaption((*m)[1]);
        // The whole caption, or its first words ("New Read" of "New Read - Chk another log").
        EXPECT_TRUE(std::any_of(box.buttons.begin(), box.buttons.end(), [&](const std::string& b) {
            const std::string caption = plainCaption(b);
            return caption.starts_with(named) && (caption.size() == named.size() || caption[named.size()] == ' ');
        }))
            << "no button \"" << named << "\" in: " << box.message;
    }
    for (std::sregex_iterator m(box.message.begin(), box.message.end(), use), end; m != end; ++m) {
        bool found = false;
        for (const shell::MenuSpec& menu : shell::mainMenuTree())
            if (core::lowerAscii(plainCaption(menu.caption)) == core::lowerAscii((*m)[2].str()))
                for (const shell::MenuItemSpec& item : menu.items)
                    found |= plainCaption(item.caption).starts_with((*m)[1].str());
        EXPECT_TRUE(found) << "no command \"" << (*m)[1] << "\" on the " << (*m)[2] << " menu: " << box.message;
    }
}

// Closes every box as a user backing out would, and keeps what each box said.
class BackingOut : public core::DlgResponder {
public:
    void respond(const core::DlgView& view, core::DlgDriver& driver) override {
        shown.push_back(view);
        if (shown.size() > 20) throw core::UnexpectedDialog("a box keeps coming back: " + view.message);
        for (const char* way : {"Cancel", "Done", "No", "Close", "OK"})
            for (const std::string& button : view.buttons) {
                std::string plain = button;
                std::erase(plain, '&');
                if (plain.find(way) != std::string::npos) return driver.press(button);
            }
        driver.closeBox();
    }
    std::vector<core::DlgView> shown;
};

class MainRoad : public ShellHome {
protected:
    void SetUp() override {
        ShellHome::SetUp();
        startWithFirstSite("Shop");
        commands = std::make_unique<ProgramCommands>(frame);
        if (picturesFolder()) {
            frame.showMaximized();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
        } else {
            frame.resize(1024, 768);  // a small desktop screen
            frame.show();
        }
        frame.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
    }
    void TearDown() override {
        for (const std::string& refused : boxes.refused()) ADD_FAILURE() << refused;
        for (const core::DlgView& box : boxes.shown()) expectNamesOnlyWhatIsThere(box);
        for (QWidget* w : QApplication::topLevelWidgets())
            if (qobject_cast<HelpBrowserWindow*>(w)) w->close();
        commands.reset();
        ShellHome::TearDown();
    }

    // The screen as it is now, or the main window where there is no screen to grab.
    void picture(const std::string& name) {
        if (!picturesFolder()) return;
        QTest::qWait(500);
        QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(0);
        if (shot.isNull()) shot = frame.grab();
        EXPECT_TRUE(shot.save(QString::fromStdString(std::string(picturesFolder()) + "/" + name + ".png")));
    }
    // A box the responder answers is never shown; for its picture it shows a moment,
    // with the values the answer set.
    testsupport::Answer pictured(testsupport::Answer a, const std::string& name) {
        a.act = [this, name](const core::DlgView&, core::DlgDriver&) {
            if (!picturesFolder() || !gMBForm) return;
            gMBForm->show();
            gMBForm->raise();
            picture(name);
            gMBForm->hide();
        };
        return a;
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
        boxes.expect(pictured({.expectMessage = "Select File to add", .press = "Sta&rt. Read Log File"}, "add-data-dialog"))
            .press("Main Processing [add lines]", "&OK")
            .press("Total log lines read", "&OK")
            .press("Data added.", "SE Summar&y")
            .expect(pictured({.expectCaption = "Select SE to display detail", .press = "Don&e"}, "engine-summary"))
            .press("Select File to add", "Don&e");
        frame.menuItem("FW")->trigger();
        EXPECT_EQ(boxes.pending(), 0u);
        return truthFile;
    }
    // The report list's answer: the line of `kind` in `mode` ("Top ", "All ").
    testsupport::Answer chooseReport(const std::string& message, long kind, const std::string& mode) {
        return {.expectCaption = "Select Report",
                .expectMessage = message,
                .press = "&OK",
                .act = [kind, mode](const core::DlgView& v, core::DlgDriver& d) {
                    const std::string line = std::to_string(kind) + "\t" + mode;
                    for (const core::CtlView& c : v.ctls)
                        for (std::size_t i = 0; i < c.items.size(); ++i)
                            if (c.items[i].starts_with(line)) return d.choose(c.entry, {static_cast<int>(i)});
                    ADD_FAILURE() << "no report line " << line;
                }};
    }
    // The help window on screen, if any.
    static HelpBrowserWindow* shownHelpWindow() {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* h = qobject_cast<HelpBrowserWindow*>(w); h && h->isVisible()) return h;
        return nullptr;
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
    // Users per term and per engine host as the generator wrote them, terms the way
    // the analysis writes them.
    void truthCounts(const std::string& truthFile, std::map<std::string, long>& terms,
                     std::map<std::string, long>& engines) {
        for (const auto& [visit, search] : searchVisits(truthFile)) {
            ++engines[search.engineHost];
            if (search.term.empty()) continue;
            std::string term;
            STTA_StzdSearchTermMake(search.term, term);
            ++terms[term];
        }
    }

    // Each View sort on the window: the data rows are only reordered, in the sort's
    // order, and the rows the report ends with (".. Rest .." where there is one, the
    // blank row and ".. Total ..") stay where they are. True when there was a Rest row.
    bool checkViewSorts(grid::FlexGrid& grid) {
        long last = grid.Rows() - 3;  // the last data row
        for (long r = 1; r < grid.Rows(); ++r)
            if (grid.TextMatrix(r, 0) == ".. Rest ..") last = r - 1;
        const bool rest = last < grid.Rows() - 3;
        const Rows tail = gridRows(grid, last + 1, grid.Rows() - 1);
        Rows data = gridRows(grid, 1, last);
        std::sort(data.begin(), data.end());
        const auto number = [&](long r, long c) { return TXT_Val(grid.TextMatrix(r, c)); };
        struct Sort {
            const char* code;
            long col;
            bool ascendingText;
        };
        for (const Sort& s : {Sort{"VF", 0, true}, Sort{"VV", 1, false}, Sort{"VY", 2, false}, Sort{"VX", 2, false}}) {
            SCOPED_TRACE(s.code);
            frame.menuItem(s.code)->trigger();
            EXPECT_EQ(gridRows(grid, last + 1, grid.Rows() - 1), tail);
            Rows now = gridRows(grid, 1, last);
            std::sort(now.begin(), now.end());
            EXPECT_EQ(now, data);
            // The first pair of rows out of the sort's order, if any.
            long wrong = 0;
            for (long r = 2; r <= last && !wrong; ++r)
                if (s.ascendingText ? grid.TextMatrix(r - 1, 0) > grid.TextMatrix(r, 0)
                                    : number(r - 1, s.col) < number(r, s.col))
                    wrong = r;
            EXPECT_EQ(wrong, 0) << grid.TextMatrix(wrong - 1, s.col) << " before " << grid.TextMatrix(wrong, s.col);
        }
        return rest;
    }

    Mainfrm frame;
    std::unique_ptr<ProgramCommands> commands;
};

TEST_F(MainRoad, FromAFirstStartThroughEveryReportToASecondSiteAndAnEnd) {
    // Every command is available but the two that never are.
    for (const shell::MenuSpec& menu : shell::mainMenuTree())
        for (const shell::MenuItemSpec& item : menu.items) {
            if (item.caption == "-") continue;
            const bool never = item.code == "FE" || item.control == "fMnu_HM";
            EXPECT_EQ(frame.menuItem(item.code.empty() ? item.control : item.code)->isEnabled(), !never)
                << item.control;
        }

    const std::string truthFile = addGeneratedLog(50000, 11);
    std::map<std::string, long> termUsers, engineUsers;
    truthCounts(truthFile, termUsers, engineUsers);

    // File > List raw log data added: the addition's closing record counts the log's lines.
    boxes.expect({.expectCaption = "Logged Additions",
                  .press = "Don&e",
                  .act =
                      [](const core::DlgView& v, core::DlgDriver&) {
                          std::vector<std::string> records;
                          for (const core::CtlView& c : v.ctls)
                              if (c.items.size() > records.size()) records = c.items;
                          ASSERT_FALSE(records.empty());
                          const std::string closing = records.back();
                          const auto column = [&](long n) {
                              return CHUNKS_GetEx(n, "\t", kChunksNoExclusion, closing, "");
                          };
                          EXPECT_EQ(column(1), "** Done **");
                          EXPECT_EQ(column(3), "** End ADD ** Totals. All Files.");
                          EXPECT_EQ(column(7), "50,000");
                      }});
    frame.menuItem("FL")->trigger();
    ASSERT_EQ(boxes.pending(), 0u);

    // Analysis > New Analysis, for the Top Search Terms: the top term has the users
    // the generator sent with it.
    boxes.expect(chooseReport("", 1, "Top ")).press("to analyse below", "&OK");
    frame.menuItem("SW")->trigger();
    ASSERT_EQ(boxes.pending(), 0u);
    ASSERT_NE(activeResults(), nullptr);
    const auto top = std::max_element(termUsers.begin(), termUsers.end(),
                                      [](const auto& a, const auto& b) { return a.second < b.second; });
    EXPECT_EQ(activeResults()->fSearchTerms()->TextMatrix(1, 0), top->first);
    EXPECT_EQ(TXT_Val(activeResults()->fSearchTerms()->TextMatrix(1, 1)), top->second);
    // The keys go to the grid: an arrow moves to the next row at once.
    EXPECT_EQ(QApplication::focusWidget(), activeResults()->fSearchTerms());
    // The window says which analysis it shows, its threshold too, beside the grid and
    // in its caption.
    {
        const SrchTmLstFrm& window = *activeResults();
        const std::string desc = window.fExtractDesc()->text().toStdString();
        EXPECT_TRUE(desc.starts_with("Site: " + STTA_SiteParmGet() + "\n\n")) << desc;
        EXPECT_NE(desc.find("Dates: "), std::string::npos) << desc;
        EXPECT_NE(desc.find("Only 4+ visitors (values seen less often are left out, of the Total too)"),
                  std::string::npos) << desc;
        EXPECT_TRUE(window.fExtractDesc()->isVisible());
        EXPECT_LE(window.fExtractDesc()->geometry().right(), window.width());
        const std::string caption = window.windowTitle().toStdString();
        EXPECT_TRUE(caption.starts_with("Top Search Terms. Site: " + STTA_SiteParmGet() + ". // ")) << caption;
    }

    // Every report of the Reports menu opens a window of its own, each kind analysed
    // once (the terms were analysed above), and sorts by each View sort.
    INI_Put("Main", "ThresholdTrk", "0", "::*");  // tracks repeat rarely
    std::set<long> analysed{1};
    long withRest = 0;
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
            ASSERT_NE(window, before);
            grid::FlexGrid& grid = *window->fSearchTerms();
            EXPECT_EQ(grid.TextMatrix(grid.Rows() - 1, 0), ".. Total ..");
            const bool grouped = item.reportKind == 1 && item.reportMode == 3;  // no groups: the rest row only
            EXPECT_GT(grid.Rows(), grouped ? 2 : 3);
            if (item.code == "RN") {
                // The top engine has the users the generator sent from its hosts.
                const std::string engine = core::lowerAscii(grid.TextMatrix(1, 0));
                long written = 0;
                for (const auto& [host, n] : engineUsers)
                    if (host.find(engine) != std::string::npos) written += n;
                EXPECT_EQ(static_cast<long>(TXT_Val(grid.TextMatrix(1, 1))), written) << engine;
                frame.menuItem("WF")->trigger();
                picture("main-window-report");
            }
            withRest += checkViewSorts(grid);
            // The keys stay with the grid, also after Fill Screen.
            EXPECT_EQ(QApplication::focusWidget(), &grid);
        }
    EXPECT_GT(withRest, 0);  // the sorts met reports with a Rest row
    EXPECT_EQ(commands->analysis().dataForms().size(), analysed.size());

    // The command menus, with a report in front, offer every command but the two.
    for (QMenu* menu : frame.findChildren<QMenu*>()) emit menu->aboutToShow();
    for (const char* code : {"VF", "VV", "VY", "VX", "VP", "VE", "VS", "RR"})
        EXPECT_TRUE(frame.menuItem(code)->isEnabled()) << code;

    // F1 in a report window is help on the command that opened it. Choosing the Top
    // Search Terms again brings the window already open for this analysis to the
    // front; no copy opens over it.
    const qsizetype windowsOpen = frame.mdiArea()->subWindowList().size();
    ASSERT_FALSE(activeResults()->windowTitle().startsWith("Top Search Terms."));
    frame.menuItem("RT")->trigger();
    SrchTmLstFrm* terms = activeResults();
    ASSERT_NE(terms, nullptr);
    EXPECT_TRUE(terms->windowTitle().startsWith("Top Search Terms.")) << terms->windowTitle().toStdString();
    EXPECT_EQ(frame.mdiArea()->subWindowList().size(), windowsOpen);
    frame.menuItem("VV")->trigger();  // its last sort above was by stays
    grid::FlexGrid& grid = *terms->fSearchTerms();
    frame.menuItem("WF")->trigger();
    // Moving to another report window and back gives the keys to each one's grid.
    frame.mdiArea()->activatePreviousSubWindow();
    ASSERT_NE(activeResults(), terms);
    EXPECT_EQ(QApplication::focusWidget(), activeResults()->fSearchTerms());
    frame.mdiArea()->activateNextSubWindow();
    ASSERT_EQ(activeResults(), terms);
    EXPECT_EQ(QApplication::focusWidget(), &grid);
    gCurrMnu = "RT";  // Window > Fill Screen is the last command otherwise
    QTest::keyClick(&grid, Qt::Key_F1);
    HelpBrowserWindow* help = shownHelpWindow();
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->browser()->source().path().endsWith("/R.htm")) << help->browser()->source().toString().toStdString();
    EXPECT_EQ(help->browser()->source().fragment().toStdString(), "RT");
    EXPECT_NE(help->browser()->toPlainText().toStdString().find("Top Search Terms"), std::string::npos);
    picture("help-window");
    help->close();
    // Help fills the screen with the main window first, unless it is maximised: the
    // whole window, its title bar too.
    if (!frame.isMaximized()) {
        EXPECT_EQ(frame.frameGeometry(), frame.screen()->availableGeometry());
        EXPECT_GT(frame.geometry().top(), frame.frameGeometry().top()) << "no frame to check";
    }

    // A click on the top row plots its users per day, which sum to the row's count;
    // the left column is removed from the plot and all are restored.
    ASSERT_TRUE(terms->pPlotRow(1, {}, true));
    const auto plottedSum = [&] {
        const core::Table2D& plot = terms->fChart()->ChartData();
        long sum = 0;
        for (long r = 1; r <= plot.rowUBound(); ++r) sum += static_cast<long>(TXT_Val(ARR_Item2D(plot, r, 1)));
        return sum;
    };
    EXPECT_EQ(plottedSum(), top->second);
    picture("top-terms-report-and-plot");
    frame.menuItem("VE")->trigger();
    EXPECT_EQ(terms->dPlotColsToRemove, 1);
    frame.menuItem("VS")->trigger();
    EXPECT_EQ(terms->dPlotColsToRemove, 0);
    EXPECT_EQ(plottedSum(), top->second);
    // View > Date range to Plot & Plot Options: two days to a column, without the legend.
    const long days = terms->fChart()->ChartData().rowUBound();
    boxes.expect({.expectMessage = "to plot",
                  .sets = {{"after:Days in each plotted column", "2"}, {"cap:Show the le&gend below the chart", "0"}},
                  .press = "&OK"});
    // Then the periods now plotted are listed with their counts.
    std::vector<std::string> periods;
    boxes.expect({.expectMessage = "", .press = "&OK", .act = [&](const core::DlgView& v, core::DlgDriver&) {
                      for (const core::CtlView& c : v.ctls) periods.insert(periods.end(), c.items.begin(), c.items.end());
                  }});
    frame.menuItem("VP")->trigger();
    ASSERT_EQ(boxes.pending(), 0u);
    EXPECT_EQ(terms->fChart()->ChartData().rowUBound(), (days + 1) / 2);
    EXPECT_EQ(static_cast<long>(periods.size()), (days + 1) / 2);
    EXPECT_EQ(plottedSum(), top->second);
    EXPECT_FALSE(terms->fChart()->ShowLegend());
    EXPECT_EQ(INI_Get("Main", "DaysToPlot", "::*", 3), "2");
    // Cancel keeps the range and plots the removed columns again.
    frame.menuItem("VE")->trigger();
    EXPECT_EQ(terms->dPlotColsToRemove, 1);
    boxes.press("to plot", "&Cancel");
    frame.menuItem("VP")->trigger();
    ASSERT_EQ(boxes.pending(), 0u);
    EXPECT_EQ(terms->dPlotColsToRemove, 0);
    EXPECT_EQ(terms->fChart()->ChartData().rowUBound(), (days + 1) / 2);

    // F2 saves the report as CSV, cell for cell as the grid shows it.
    const std::string csv = home / "top-terms.csv";
    boxes.expect({.expectMessage = "Enter Full Path and file name to save grid contents as CSV",
                  .sets = {{"#1", csv}},
                  .press = "&OK"});
    boxes.press("Data written successfully", "&OK");
    QTest::keyClick(&grid, Qt::Key_F2);
    ASSERT_EQ(boxes.pending(), 0u);
    EXPECT_EQ(csvRows(csv), gridRows(grid, 0, grid.Rows() - 1));

    // With both distribution columns, a new analysis's report opens with rows tall
    // enough for their lines, and says which columns it has.
    const std::string dist1 = INI_Get("Main", "ShowDist1", "::*", 3), dist2 = INI_Get("Main", "ShowDist2", "::*", 3);
    INI_Put("Main", "ShowDist1", "True", "::*");
    INI_Put("Main", "ShowDist2", "True", "::*");
    boxes.expect(chooseReport("", 1, "Top ")).press("to analyse below", "&OK");
    frame.menuItem("SW")->trigger();
    ASSERT_EQ(boxes.pending(), 0u);
    {
        SrchTmLstFrm& window = *activeResults();
        const grid::FlexGrid& distributions = *window.fSearchTerms();
        EXPECT_EQ(distributions.TextMatrix(0, window.table().col.Dist0), "Srch Engine");
        EXPECT_EQ(distributions.TextMatrix(0, window.table().col.DistAlternate), "First Page (Found)");
        // Every line of a distribution cell shows, and a row is no taller than its
        // lines need.
        const int lineHeight = QFontMetrics(distributions.font()).lineSpacing();
        for (long r = 1; r < distributions.Rows(); ++r) {
            const std::string engines = distributions.TextMatrix(r, window.table().col.Dist0);
            const std::string pages = distributions.TextMatrix(r, window.table().col.DistAlternate);
            const long lines = std::max(std::count(engines.begin(), engines.end(), '\n'),
                                        std::count(pages.begin(), pages.end(), '\n'));
            EXPECT_GE(distributions.RowHeight(r) / ui::twipsPerPixelY(), lines * lineHeight) << r;
            EXPECT_LE(distributions.RowHeight(r) / ui::twipsPerPixelY(), (lines + 1) * lineHeight + 8) << r;
        }
        // The engines' lines are not cut at the column's edge.
        const std::string engines = distributions.TextMatrix(1, window.table().col.Dist0);
        // The text area of a cell, as the grid paints it.
        const double columnPixels = distributions.ColWidth(window.table().col.Dist0) / ui::twipsPerPixelX() - 5;
        for (const QString& line : QString::fromStdString(engines).split("\r\n", Qt::SkipEmptyParts))
            EXPECT_LE(QFontMetrics(distributions.font()).horizontalAdvance(line), columnPixels) << line.toStdString();
        EXPECT_NE(window.fExtractDesc()->text().toStdString().find("Dist Cols: YYN"), std::string::npos);
        frame.menuItem("WF")->trigger();
        picture("top-terms-distributions");
    }
    INI_Put("Main", "ShowDist1", dist1, "::*");
    INI_Put("Main", "ShowDist2", dist2, "::*");

    // File > Add new site database, without adding data yet.
    boxes.expect(answer("Enter a name for the new site database", "Blog", "&OK"))
        .press("Site DB >>Blog<< created.", "&No");
    frame.menuItem("FD")->trigger();
    ASSERT_EQ(boxes.pending(), 0u);
    EXPECT_EQ(STTA_SiteParmGet(), "Blog");

    // File > Select site database, back to the first site; the analysis it offers
    // finds the first site's data as it was.
    boxes.expect(answer("Current Site DB is: Blog", "0", "&OK"))
        .expect(chooseReport("To use site database Shop", 1, "Top "))
        .press("to analyse below", "&OK");
    frame.menuItem("FS")->trigger();
    ASSERT_EQ(boxes.pending(), 0u);
    EXPECT_EQ(STTA_SiteParmGet(), "Shop");
    ASSERT_NE(activeResults(), terms);
    EXPECT_EQ(gridRows(*activeResults()->fSearchTerms(), 1, 3), gridRows(grid, 1, 3));

    frame.menuItem("FX")->trigger();
    EXPECT_FALSE(gDB.isOpen());
    EXPECT_FALSE(frame.isVisible());
}

TEST_F(MainRoad, EveryOtherCommandOpensItsBoxAndIsLeftWithoutAnError) {
    addGeneratedLog(3000, 5);
    boxes.press("for new analysis below", " &OK - Start New Analysis ");
    frame.menuItem("RT")->trigger();
    ASSERT_EQ(boxes.pending(), 0u);
    ASSERT_NE(activeResults(), nullptr);
    for (const char* code : {"FM", "FG", "ER", "EG", "EO", "SN", "SD", "ST", "SC", "SE", "VP", "RM", "RR", "HA"}) {
        SCOPED_TRACE(code);
        BackingOut user;
        core::setDialogResponder(&user);
        frame.menuItem(code)->trigger();
        core::setDialogResponder(&boxes);
        ASSERT_FALSE(user.shown.empty());
        for (const core::DlgView& box : user.shown) {
            EXPECT_EQ(box.message.find("Proc: "), std::string::npos) << box.message;
            expectNamesOnlyWhatIsThere(box);
        }
    }
    // The Help commands show their pages in the help window.
    for (const auto& [control, page] : {std::pair{"HC", "helpcont.htm"}, {"fMnu_HelpStart", "helpcont.htm"},
                                        {"fMnu_HelpLast", "R.htm"}}) {
        SCOPED_TRACE(control);
        gCurrMnu = "RT";
        frame.menuItem(control)->trigger();
        HelpBrowserWindow* help = shownHelpWindow();
        ASSERT_NE(help, nullptr);
        EXPECT_TRUE(help->browser()->source().path().endsWith(QString("/") + page));
    }
    EXPECT_TRUE(frame.menuItem("fMnu_HM")->isEnabled());  // help has been shown now
}

}  // namespace

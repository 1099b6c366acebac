#include <QApplication>
#include <QFontMetrics>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QTextDocument>
#include <QWindow>
#include <set>

#include "platform/grid/flex_grid.h"
#include "platform/ui/controls.h"
#include "platform/ui/forms.h"
#include "platform/ui/qt_text.h"
#include "shell/forms/main_window.h"
#include "shell/log_import_hooks.h"
#include "shell/menu_tree.h"
#include "shell/site_commands.h"
#include "shell/sites.h"
#include "tests/shell/shell_home.h"

namespace {

std::string text(const QAction* a) { return ui::fromQString(a->text()); }

// The codes of each menu in their order, separators as "-".
std::vector<std::string> codesOf(const QMenu* menu) {
    std::vector<std::string> out;
    for (const QAction* a : menu->actions()) {
        if (a->isSeparator()) {
            out.push_back("-");
            continue;
        }
        std::string name = ui::fromQString(a->objectName());
        out.push_back(name.substr(5));  // after "fMnu_" / "fMnU_"
    }
    return out;
}

}  // namespace

TEST(MenuTree, EveryMenuHoldsItsItemsInOrderWithTheirCodes) {
    Mainfrm frame;
    struct Menu { const char* caption; std::vector<std::string> codes; } menus[] = {
        {"&File", {"FW", "FL", "FE", "-", "FM", "FG", "-", "FS", "FD", "-", "FX"}},
        {"&Edit", {"ER", "EG", "-", "EO"}},
        {"Analy&sis", {"SW", "SN", "-", "SD", "ST", "SC", "-", "SE"}},
        {"&View", {"VF", "VV", "VY", "VX", "-", "VP", "-", "VE", "VS"}},
        {"&Reports", {"RN", "RC", "-", "RT", "RG", "RA", "-", "RH", "RW", "RD", "R2", "R3", "RM", "-", "RS", "RP",
                      "RE", "RX", "-", "RV", "RI", "RQ", "RU", "-", "RO", "RL", "-", "RR"}},
        {"&Window", {"WC", "WH", "WV", "WF", "-"}},
        {"&Help", {"HC", "HelpStart", "HelpLast", "HM", "HA"}},
    };
    const QList<QAction*> bar = frame.menuBar()->actions();
    ASSERT_EQ(bar.size(), 7);
    for (int i = 0; i < 7; ++i) {
        SCOPED_TRACE(menus[i].caption);
        EXPECT_EQ(text(bar[i]), menus[i].caption);
        EXPECT_EQ(codesOf(bar[i]->menu()), menus[i].codes);
    }
}

TEST(MenuTree, CaptionsKeepTheirExactBlanksAndAccessKeys) {
    Mainfrm frame;
    struct Case { const char* code; const char* caption; const char* control; } cases[] = {
        {"SW", "Ne&w Analysis for Targets, Dates, Options, Groups Selected ", "fMnu_SW"},
        {"RH", "Top P&hrases - 2 or more words - from Search Terms  [KeyWords]", "fMnu_RH"},
        {"RW", "Top &Words n Phrases - up to 7 words - from Search Terms [KeyWords]", "fMnU_RW"},
        {"VP", "Date range to &Plot && Plot Options", "fMnu_VP"},
        {"FW", "Add ne&w raw log data", "fMnu_FW"},
        {"HA", "&About", "fMnu_HA"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code);
        QAction* item = frame.menuItem(c.code);
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(text(item), c.caption);
        EXPECT_EQ(ui::fromQString(item->objectName()), c.control);
    }
    EXPECT_EQ(shell::menuItemByCode("RG")->listKey, 1);
    EXPECT_EQ(shell::menuItemByCode("RG")->reportMode, 3);
    EXPECT_EQ(shell::menuItemByCode("RN")->reportKind, 11);
    // Never available here, whatever is built later.
    EXPECT_FALSE(shell::menuItemByCode("FE")->available);
    EXPECT_FALSE(frame.menuItem("fMnu_HM")->isEnabled());
}

TEST(MenuTree, OpeningAMenuStoresItsLetterExceptHelp) {
    Mainfrm frame;
    gCurrMnu = "FX";
    const QList<QAction*> bar = frame.menuBar()->actions();
    emit bar[3]->menu()->aboutToShow();
    EXPECT_EQ(gCurrMnu, "V");
    emit bar[6]->menu()->aboutToShow();
    EXPECT_EQ(gCurrMnu, "V");
    core::gInDoEvents = true;  // ignored while a long operation yields
    emit bar[0]->menu()->aboutToShow();
    core::gInDoEvents = false;
    EXPECT_EQ(gCurrMnu, "V");
}

// The rows a report ends with: Top and Grouped reports have a Rest row.
const std::vector<std::pair<std::string, std::string>> kRestBlankTotal = {
    {".. Rest ..", "1"}, {"", ""}, {".. Total ..", "99"}};
const std::vector<std::pair<std::string, std::string>> kBlankTotal = {{"", ""}, {".. Total ..", "99"}};

class ResultsSort : public ::testing::Test {
protected:
    // A results window whose grid holds a header, the data rows and the closing rows.
    grid::FlexGrid* results(const std::vector<std::pair<std::string, std::string>>& rows,
                            const std::vector<std::pair<std::string, std::string>>& closing = kRestBlankTotal) {
        auto* form = new QWidget;
        ui::registerForm(form);
        ui::setTag(form, "STLst");
        auto* grid = new grid::FlexGrid(form);
        grid->setObjectName("fSearchTerms");
        grid->setCols(2);
        grid->setRows(long(rows.size() + closing.size()) + 1);
        grid->setFixedRows(1);
        long r = 1;
        for (const auto& list : {rows, closing})
            for (const auto& [name, count] : list) {
                grid->setTextMatrix(r, 0, name);
                grid->setTextMatrix(r++, 1, count);
            }
        frame.mdiArea()->addSubWindow(form)->show();
        frame.mdiArea()->setActiveSubWindow(frame.mdiArea()->subWindowList().back());
        return grid;
    }
    std::vector<std::string> column(grid::FlexGrid* g, int col) {
        std::vector<std::string> out;
        for (long r = 1; r < g->Rows(); ++r) out.push_back(g->TextMatrix(r, col));
        return out;
    }
    void choose(const char* code) { frame.menuItem(code)->trigger(); }

    testsupport::FakeUserInterface ui;
    testsupport::ScriptedResponder boxes;
    Mainfrm frame;
};

TEST_F(ResultsSort, DataRowsSortAndTheRowsAReportEndsWithStayLast) {
    frame.show();
    // A Rest row larger than any data row, as it mostly is, stays below them.
    auto* g = results({{"b", "5"}, {"a", "12"}, {"C", "7"}}, {{".. Rest ..", "40"}, {"", ""}, {".. Total ..", "64"}});
    choose("VV");
    EXPECT_EQ(gCurrMnu, "VV");
    EXPECT_EQ(column(g, 1), (std::vector<std::string>{"12", "7", "5", "40", "", "64"}));
    choose("VF");  // case counts: capitals first
    EXPECT_EQ(column(g, 0), (std::vector<std::string>{"C", "a", "b", ".. Rest ..", "", ".. Total .."}));
    choose("VX");
    EXPECT_EQ(column(g, 0), (std::vector<std::string>{"b", "a", "C", ".. Rest ..", "", ".. Total .."}));

    // Without a Rest row the last data row is sorted too.
    auto* all = results({{"b", "5"}, {"a", "1"}, {"C", "7"}}, kBlankTotal);
    choose("VV");
    EXPECT_EQ(column(all, 1), (std::vector<std::string>{"7", "5", "1", "", "99"}));
}

// The row the user is on stays current through a sort, wherever it goes, and is
// scrolled into view.
TEST_F(ResultsSort, TheCurrentRowStaysCurrentAndInView) {
    frame.resize(800, 600);
    frame.show();
    std::vector<std::pair<std::string, std::string>> rows;
    for (int n = 1; n <= 60; ++n) rows.emplace_back("v" + std::to_string(n), std::to_string(n));
    auto* g = results(rows);
    for (long r = 1; r < g->Rows(); ++r) g->setRowData(r, r);
    QApplication::processEvents();
    g->setRow(5);  // "v5", which the descending sort puts near the bottom
    g->setCol(1);
    choose("VV");
    ASSERT_EQ(g->TextMatrix(1, 0), "v60");
    EXPECT_EQ(g->TextMatrix(g->Row(), 0), "v5");
    EXPECT_EQ(g->Row(), g->RowSel());
    EXPECT_FALSE(g->cellRect(g->Row(), 1).isEmpty());
}

TEST_F(ResultsSort, WithFewerThanTwoDataRowsNothingMoves) {
    frame.show();
    auto* one = results({{"only", "3"}});
    choose("VV");
    EXPECT_EQ(column(one, 1), (std::vector<std::string>{"3", "1", "", "99"}));
    auto* none = results({}, kBlankTotal);
    choose("VV");
    EXPECT_EQ(column(none, 1), (std::vector<std::string>{"", "99"}));
}

TEST_F(ResultsSort, TheViewMenuOffersTheSortsOnlyOverAResultsWindow) {
    frame.show();
    QMenu* view = frame.menuBar()->actions()[3]->menu();
    emit view->aboutToShow();
    EXPECT_FALSE(frame.menuItem("VF")->isEnabled());
    EXPECT_FALSE(frame.menuItem("VX")->isEnabled());
    results({{"b", "5"}, {"a", "12"}});
    emit view->aboutToShow();
    EXPECT_TRUE(frame.menuItem("VF")->isEnabled());
    EXPECT_TRUE(frame.menuItem("VX")->isEnabled());
}

TEST_F(ResultsSort, CascadeKeepsEveryWindowOnTheAreaAtAUsableSize) {
    frame.resize(1000, 700);
    frame.show();
    for (int n = 0; n < 14; ++n) results({{"b", "5"}, {"a", "12"}});
    // The user went back to the first window: it stays active and comes in front.
    QMdiSubWindow* active = frame.mdiArea()->subWindowList().front();
    frame.mdiArea()->setActiveSubWindow(active);
    choose("WC");
    EXPECT_EQ(frame.mdiArea()->subWindowList(QMdiArea::StackingOrder).back(), active);
    const QRect area = frame.mdiArea()->viewport()->rect();
    std::set<std::pair<int, int>> corners;
    for (QMdiSubWindow* sub : frame.mdiArea()->subWindowList()) {
        EXPECT_TRUE(area.contains(sub->geometry())) << sub->geometry().x() << "," << sub->geometry().y();
        EXPECT_GE(sub->width(), area.width() / 2);
        EXPECT_GE(sub->height(), area.height() / 2);
        corners.emplace(sub->x(), sub->y());
    }
    EXPECT_GT(corners.size(), 1u);  // cascaded, not stacked
    EXPECT_EQ(frame.mdiArea()->activeSubWindow(), active);
    // The program's own icon, for every window that has none of its own.
    EXPECT_FALSE(QApplication::windowIcon().isNull());
    EXPECT_EQ(frame.windowIcon().cacheKey(), QApplication::windowIcon().cacheKey());
}

TEST_F(ResultsSort, WithoutAResultsWindowTheUserIsTold) {
    boxes.press("Only available when Results are displayed", "&OK");
    choose("VY");
    EXPECT_EQ(boxes.pending(), 0u);
    EXPECT_EQ(gCurrMnu, "VY");
}

class MainWindowCommands : public ShellHome {
protected:
    void SetUp() override {
        ShellHome::SetUp();
        startWithFirstSite("Shop");
    }
    Mainfrm frame;
};

TEST_F(MainWindowCommands, ExitClosesTheSiteDatabase) {
    ASSERT_TRUE(gDB.isOpen());
    frame.menuItem("FX")->trigger();
    EXPECT_EQ(gCurrMnu, "FX");
    EXPECT_FALSE(gDB.isOpen());
}

TEST_F(MainWindowCommands, CommandsDoNothingWhileALongOperationYields) {
    gCurrMnu = "RT";
    core::gInDoEvents = true;
    frame.menuItem("FS")->trigger();  // a box here would fail the test
    frame.menuItem("FX")->trigger();
    core::gInDoEvents = false;
    EXPECT_EQ(gCurrMnu, "RT");
    EXPECT_TRUE(gDB.isOpen());
}

TEST_F(MainWindowCommands, OnlyTheFirstActivationOffersToFinishAnAddition) {
    int offers = 0;
    shell::setLogImportHooks({.incompleteAddFinish = [&] { ++offers; }});
    core::gInDoEvents = true;  // skipped while a long job yields, and still due afterwards
    frame.MDIForm_Activate();
    core::gInDoEvents = false;
    frame.MDIForm_Activate();
    frame.MDIForm_Activate();
    shell::setLogImportHooks({});
    EXPECT_EQ(offers, 1);
}

TEST_F(MainWindowCommands, TheSiteCommandsRunFromTheMenu) {
    boxes.press("Enter a name for the new site database", "&Cancel")
        .expect(answer("Current Site DB is: Shop", "", "&Cancel"));
    frame.menuItem("FD")->trigger();
    EXPECT_EQ(gCurrMnu, "FD");
    frame.menuItem("FS")->trigger();
    EXPECT_EQ(gCurrMnu, "FS");
    EXPECT_EQ(boxes.pending(), 0u);
    EXPECT_EQ(ui::fromQString(frame.windowTitle()), "Dravolin - Current Site DB: Shop");
}

TEST_F(MainWindowCommands, TheTitleShowsASiteNameAsItStands) {
    std::string name = shell::addUniqueSiteName("Shop [*] <b>2</b>");
    STTA_SiteCreate(name, false, true, true, true, true, true);
    frame.winId();  // the window the title goes to
    EXPECT_EQ(ui::fromQString(frame.windowHandle()->title()), "Dravolin - Current Site DB: Shop [*] <b>2</b>");
}

TEST_F(MainWindowCommands, TheOperationsWithoutAMenuItem) {
    // Referrers: a site that keeps no extra data is told so; one that keeps it is not.
    INI_Put("Main", "LastKeepVal", "False", gIniDbDef);
    boxes.press("Referrers are not available for this database.", "&OK");
    frame.fMnu_NR_Click();
    EXPECT_EQ(boxes.pending(), 0u);
    INI_Put("Main", "LastKeepVal", "True", gIniDbDef);
    const std::size_t shown = boxes.shown().size();
    frame.fMnu_NR_Click();
    EXPECT_EQ(boxes.shown().size(), shown);

    int lists = 0;
    shell::setLogImportHooks({.logFieldValuesList = [&] { ++lists; }});
    frame.fMnu_NL_Click();
    shell::setLogImportHooks({});
    EXPECT_EQ(lists, 1);
}

TEST(WindowMenu, TilingSharesTheClientAreaAndTheMenuListsTheChildren) {
    Mainfrm frame;
    frame.resize(800, 600);
    frame.show();
    QMdiArea* area = frame.mdiArea();
    for (const char* title : {"one", "two"}) {
        auto* child = new QWidget;
        child->setWindowTitle(title);
        area->addSubWindow(child)->show();
    }
    const QSize client = area->viewport()->size();
    frame.menuItem("WV")->trigger();
    EXPECT_EQ(gCurrMnu, "WV");
    for (QMdiSubWindow* sub : area->subWindowList()) {
        EXPECT_EQ(sub->height(), client.height());
        EXPECT_EQ(sub->width(), client.width() / 2);
    }
    frame.menuItem("WH")->trigger();
    for (QMdiSubWindow* sub : area->subWindowList()) EXPECT_EQ(sub->width(), client.width());

    QMenu* windowMenu = frame.menuBar()->actions()[5]->menu();
    emit windowMenu->aboutToShow();
    emit windowMenu->aboutToShow();  // shown twice: the list is rebuilt, not doubled
    const QList<QAction*> entries = windowMenu->actions();
    ASSERT_EQ(entries.size(), 7);  // four commands, a separator, two windows
    EXPECT_EQ(text(entries[5]), "one");
    EXPECT_EQ(text(entries[6]), "two");

    // A report's long title is cut to fit on the screen; its tip shows it whole, and
    // an "&" or markup from the log in it stays as typed.
    auto* report = new QWidget;
    const QString title = "Top Search Terms & Phrases. Site: Shop. // <b>term</b> <img src=x> // " +
                          QString("1 values. 6 visits. / ").repeated(20);
    report->setWindowTitle(title);
    area->addSubWindow(report)->show();
    emit windowMenu->aboutToShow();
    QAction* entry = windowMenu->actions().back();
    EXPECT_TRUE(entry->text().startsWith("Top Search Terms && Phrases. Site: Shop."));
    EXPECT_LE(QFontMetrics(windowMenu->font()).horizontalAdvance(entry->text()),
              frame.screen()->availableGeometry().width() / 2 + 10);
    QTextDocument shownTip;  // as a tool tip reads its text
    if (Qt::mightBeRichText(entry->toolTip())) shownTip.setHtml(entry->toolTip());
    else shownTip.setPlainText(entry->toolTip());
    EXPECT_EQ(shownTip.toPlainText(), title);
}

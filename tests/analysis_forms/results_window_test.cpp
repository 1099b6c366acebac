#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QTest>

#include "analysis/forms/results_window.h"
#include "core/dates.h"
#include "core/site_name.h"
#include "core/text.h"
#include "core/vb_format.h"
#include "platform/chart/chart_view.h"
#include "platform/grid/flex_grid.h"
#include "platform/ui/controls.h"
#include "platform/ui/twips.h"
#include "tests/analysis/main_settings.h"
#include "tests/support/fake_user_interface.h"
#include "tests/support/scripted_responder.h"

namespace {

// Two engines over three days: google 1,234,567 users (all on the first day), bing
// 2 users on each day.
STTA_Results smallResults() {
    STTA_Results r;
    r.Analyzed_Field = kRkSearchEngine;
    r.VisitCount = 1234573;
    const double first = core::vbDateSerial(2026, 3, 1);
    for (long d = 0; d < 3; ++d) r.DayList->push_back(core::vbFormat(core::DateTime{first + d}, "dd mmm yyyy"));
    r.DayRange = std::to_string(static_cast<long>(first)) + "|" + std::to_string(static_cast<long>(first) + 2);
    STTA_ValueListAlloc(*r.Vals, 2, 3, 2, {});
    ValueListIncrements inc;
    inc.dayTables = {true, false, false, false, false, false, false};
    inc.cnt = 1234567;
    STTA_ValueListAdd(0, *r.Vals, "google", inc, -1);
    inc.cnt = 2;
    for (long d = 0; d < 3; ++d) STTA_ValueListAdd(d, *r.Vals, "bing", inc, -1);
    return r;
}

ReportTable allReport(const STTA_Results& r) {
    ReportTable t;
    STTA_ReportGridSetup(r.Targets, t, r.Analyzed_Field, r.AnalOpts);
    STTA_AllRowsWrite(r, t);
    return t;
}

class ResultsWindow : public ::testing::Test {
protected:
    void SetUp() override {
        TXT_CrLfInit();
        gResults = smallResults();
        form = forms.STTA_IfrmShow();
        gResults = STTA_Results{};  // the window makes its form's record current itself
        gResultsIfrmKey.clear();
    }
    void TearDown() override { gResultsIfrmKey.clear(); }
    long rowOf(SrchTmLstFrm& w, const std::string& label) {
        for (long r = 1; r < w.fSearchTerms()->Rows(); ++r)
            if (w.fSearchTerms()->TextMatrix(r, 0) == label) return r;
        return -1;
    }
    static std::string chartCell(SrchTmLstFrm& w, long r, long c) { return ARR_Item2D(w.fChart()->ChartData(), r, c); }

    testsupport::MainSettings settings;  // the plot options
    DataForms forms;
    IfrmPtr form;
    testsupport::FakeUserInterface ui;
    testsupport::ScriptedResponder responder;
};

TEST_F(ResultsWindow, ShowsTheReportTableAndPlotsTheTotalRow) {
    const ReportTable table = allReport(form->data());
    SrchTmLstFrm window(table, form, "All Srch Engines. Site: Test");
    grid::FlexGrid* grid = window.fSearchTerms();
    EXPECT_EQ(ui::tag(&window), "STLst");
    EXPECT_EQ(window.windowTitle().toStdString(), "All Srch Engines. Site: Test");
    ASSERT_EQ(grid->Rows(), table.rows());
    EXPECT_EQ(grid->FixedCols(), 3);
    for (long r = 0; r < table.rows(); ++r)
        for (int c = 0; c < table.cells.cols(); ++c) EXPECT_EQ(grid->TextMatrix(r, c), table.text(r, c)) << r << "," << c;
    EXPECT_EQ(grid->TextMatrix(1, 0), "google");
    // A count wider than its column's design width widens the column instead of being cut.
    EXPECT_GT(grid->ColWidth(1), 600);
    // The selection rests on the total row, which plots every engine per day.
    EXPECT_EQ(grid->TextMatrix(grid->Row(), 0), ".. Total ..");
    EXPECT_EQ(gResultsIfrmKey, form->Tag());
    EXPECT_EQ(chartCell(window, 1, 1), "1234569");
    EXPECT_EQ(chartCell(window, 3, 1), "2");
    EXPECT_TRUE(window.fPlotDesc()->text().startsWith("Plotted: 1 day periods.\n\nSrch Engine Group: \n.. Total .."));
    // They quote terms and pages from the logs: markup there is text.
    for (const QLabel* label : {window.fPlotDesc(), window.fExtractDesc()}) EXPECT_EQ(label->textFormat(), Qt::PlainText);
}

TEST_F(ResultsWindow, EveryColumnCaptionShowsWholeInTheCaptionRow) {
    SrchTmLstFrm window(allReport(form->data()), form, "All");
    const grid::FlexGrid& grid = *window.fSearchTerms();
    EXPECT_TRUE(grid.FixedRowsWordWrap());
    const QFontMetrics metrics(grid.font());
    const int height = static_cast<int>(grid.RowHeight(0) / ui::twipsPerPixelY());
    for (int c = 1; c < grid.Cols(); ++c) {
        const QString caption = QString::fromStdString(grid.TextMatrix(0, c));
        // The text area of a cell, as the grid paints it.
        const int width = static_cast<int>(grid.ColWidth(c) / ui::twipsPerPixelX()) - 5;
        const QRect needed = metrics.boundingRect(QRect(0, 0, width, 10000), Qt::TextWordWrap, caption);
        EXPECT_LE(needed.width(), width) << caption.toStdString();
        EXPECT_LE(needed.height(), height - 1) << caption.toStdString();
    }
}

TEST_F(ResultsWindow, TheDescriptionStandsBesideTheGridAndTheChartBelowIt) {
    ReportTable table = allReport(form->data());
    table.extractDesc = "Site: Test" + gCRCR + "2 values. 7 visits." + gCR + "Only 4+ visitors";
    SrchTmLstFrm window(std::move(table), form, "All");
    window.resize(1200, 800);
    window.Form_Resize();  // a hidden window gets its resize event only when shown
    const QLabel* desc = window.fExtractDesc();
    EXPECT_EQ(desc->text().toStdString(), "Site: Test\n\n2 values. 7 visits.\nOnly 4+ visitors");
    const QRect grid = window.fSearchTerms()->geometry();
    EXPECT_GT(desc->geometry().left(), grid.right());
    EXPECT_LE(desc->geometry().right(), 1200);
    EXPECT_GT(window.fChart()->geometry().top(), grid.bottom());
    EXPECT_LE(window.fChart()->geometry().bottom(), 800);
    // Narrower than the grid's minimum: the grid keeps it, the description moves out.
    window.resize(300, 800);
    window.Form_Resize();
    EXPECT_EQ(window.fSearchTerms()->width(), ui::toPixelsX(5430));
}

TEST_F(ResultsWindow, ColumnsWithoutTextKeepTheirWidthAndTheBandsColourTheirCaptions) {
    // Three days: the deviation columns of a previous period are hidden.
    STTA_Results r = smallResults();
    TargetSpec target;
    target.Typ = 4;
    target.Rules.push_back(FltrRule{});
    target.Rules.back().Val = "buy.html";
    r.Targets.push_back(target);
    gResults = r;
    const IfrmPtr withTarget = forms.STTA_IfrmShow();
    ReportTable table = allReport(r);
    STTA_TargetBandsColour(r, table);
    ASSERT_GE(table.col.Deviation, 0);
    SrchTmLstFrm window(table, withTarget, "All");
    grid::FlexGrid& grid = *window.fSearchTerms();
    int narrow = 0;
    for (int c = 1; c < grid.Cols(); ++c) {
        const int designed = table.colWidth[static_cast<std::size_t>(c)];
        if (designed > 60) continue;
        ++narrow;
        EXPECT_EQ(grid.ColWidth(c), designed) << c << " " << grid.TextMatrix(0, c);
    }
    EXPECT_GE(narrow, 2);  // the stripe and at least one hidden column
    EXPECT_EQ(table.colWidth[9], 60);
    for (int c : {6, 9, table.col.Deviation}) EXPECT_NE(table.cells.backColor(0, c), 0u) << c;
    // The caption row shows the band colours as the rows below do.
    for (int c : {6, 9, table.col.Deviation}) {
        grid.setRow(0);
        grid.setCol(c);
        EXPECT_EQ(grid.CellBackColor(), table.cells.backColor(0, c)) << c;
    }
}

TEST_F(ResultsWindow, ARowKeepsItsItemsAfterTheGridWasSorted) {
    SrchTmLstFrm window(allReport(form->data()), form, "All");
    grid::FlexGrid* grid = window.fSearchTerms();
    const long bing = rowOf(window, "bing");
    ASSERT_EQ(bing, 2);
    // Sort the two engine rows by their left column: bing comes first.
    grid->setCol(0);
    grid->setRow(1);
    grid->setRowSel(2);
    grid->setSort(7);
    ASSERT_EQ(grid->TextMatrix(1, 0), "bing");
    EXPECT_EQ(window.GetSTs4Row(1), window.table().GetSTs4Row(bing));
    ASSERT_TRUE(window.pPlotRow(1));
    EXPECT_EQ(chartCell(window, 1, 1), "2");
    EXPECT_EQ(window.dPlotRow, 1);
    EXPECT_FALSE(window.pPlotRow(1));       // the same row is not plotted again
    EXPECT_TRUE(window.pPlotRow(1, {}, true));  // unless forced
    EXPECT_FALSE(window.pPlotRow(0));       // the caption row stands for nothing

    // The empty value (item 0) and the blank row above the total share their label;
    // only the first stands for an item.
    ASSERT_EQ(grid->TextMatrix(3, 0), "");
    ASSERT_EQ(grid->TextMatrix(4, 0), "");
    EXPECT_EQ(window.GetSTs4Row(3), "0");
    EXPECT_EQ(window.GetSTs4Row(4), "");
    EXPECT_FALSE(window.pPlotRow(4));
}

TEST_F(ResultsWindow, TheChartMenuListsThePlottedDaysWithTheirCounts) {
    SrchTmLstFrm window(allReport(form->data()), form, "All");
    window.pPlotRow(rowOf(window, "bing"));
    std::vector<std::string> listed;
    responder.expect({.expectMessage = "", .press = "&OK", .act = [&](const core::DlgView& v, core::DlgDriver&) {
                          for (const core::CtlView& c : v.ctls)
                              listed.insert(listed.end(), c.items.begin(), c.items.end());
                      }});
    window.findChild<QAction*>("fPUmnu_Chart_H")->trigger();
    EXPECT_EQ(responder.pending(), 0u);
    EXPECT_EQ(listed, (std::vector<std::string>{" 1 d. from 01 Mar [2] 2026", " 1 d. from 02 Mar [2] 2026",
                                                " 1 d. from 03 Mar [2] 2026"}));
}

TEST_F(ResultsWindow, PlotColumnsAreRemovedAndRestoredFromTheChartMenu) {
    SrchTmLstFrm window(allReport(form->data()), form, "All");
    window.pPlotRow(rowOf(window, "bing"));
    window.findChild<QAction*>("fPUmnu_Chart_E")->trigger();
    EXPECT_EQ(window.dPlotColsToRemove, 1);
    EXPECT_EQ(chartCell(window, 0, 1), " .. removed ..");
    EXPECT_EQ(chartCell(window, 1, 1), "");
    // Each removal takes the next column with any cell: the stayed counts (zeros), then
    // the scale column; with none left nothing changes.
    for (long expected : {2, 3, 3}) {
        window.findChild<QAction*>("fPUmnu_Chart_E")->trigger();
        EXPECT_EQ(window.dPlotColsToRemove, expected);
    }
    EXPECT_EQ(chartCell(window, 0, 2), " .. removed ..");
    EXPECT_EQ(chartCell(window, 0, 7), " .. removed ..");
    window.findChild<QAction*>("fPUMnu_Chart_S")->trigger();
    EXPECT_EQ(window.dPlotColsToRemove, 0);
    EXPECT_EQ(chartCell(window, 1, 1), "2");

    responder.expect({.act = [](const core::DlgView& v, core::DlgDriver& d) {
        ASSERT_EQ(v.ctls.size(), 1u);
        EXPECT_EQ(v.ctls[0].items.size(), 3u);
        EXPECT_EQ(v.ctls[0].items[0], " 1 d. from 01 Mar [2] 2026");
        d.press(1);
    }});
    window.findChild<QAction*>("fPUmnu_Chart_H")->trigger();
    EXPECT_EQ(responder.pending(), 0u);
}

TEST_F(ResultsWindow, TheGridMenuShowsTheSummaryAndThickLines) {
    SrchTmLstFrm window(allReport(form->data()), form, "All");
    responder.expect({.expectMessage = "Total Visits: 1,234,573" + gCR + "Selected Visits: 1,234,573 [100%]", .press = "&OK"});
    window.findChild<QAction*>("fMnu_M")->trigger();
    EXPECT_EQ(responder.pending(), 0u);
    window.findChild<QAction*>("fMnu_K")->trigger();
    EXPECT_EQ(window.fSearchTerms()->RowHeight(1), window.fSearchTerms()->RowHeight(2));
    EXPECT_GT(window.fSearchTerms()->RowHeight(1), 240);
    EXPECT_TRUE(window.findChild<QAction*>("fMnu_K")->isChecked());
    EXPECT_FALSE(window.findChild<QAction*>("fMnu_N")->isChecked());

    // A right click shows the group items only where they apply: grouping for search
    // terms, the members of a row for grouped reports, whatever grouped flag the
    // analysis's record was left with by an earlier report.
    const auto shownItems = [](SrchTmLstFrm& w) {
        emit w.fSearchTerms()->mouseUp(Qt::RightButton, Qt::NoModifier, 0, 0);
        const bool group = w.findChild<QAction*>("fMnu_S")->isVisible();
        const bool members = w.findChild<QAction*>("fMnu_L")->isVisible();
        w.fPUMnu()->close();
        return std::pair(group, members);
    };
    EXPECT_EQ(shownItems(window), std::pair(false, false));
    STTA_Results terms = smallResults();
    terms.Analyzed_Field = kRkSearchTerm;
    for (const bool staleFlag : {true, false}) {
        SCOPED_TRACE(staleFlag);
        terms.AnalOpts.ValIsGroupedRep = staleFlag;
        gResults = terms;
        IfrmPtr termsForm = forms.STTA_IfrmShow();
        SrchTmLstFrm top(allReport(terms), termsForm, "Top");
        EXPECT_EQ(shownItems(top), std::pair(true, false));
        ReportTable groupedTable = allReport(terms);
        groupedTable.grouped = true;
        SrchTmLstFrm grouped(std::move(groupedTable), termsForm, "Grouped");
        EXPECT_EQ(shownItems(grouped), std::pair(true, true));
    }
}

// 40 engines, so that most rows of the grid are scrolled away.
STTA_Results manyResults() {
    STTA_Results r = smallResults();
    ValueListIncrements inc;
    inc.dayTables = {true, false, false, false, false, false, false};
    for (int e = 1; e <= 40; ++e) {
        inc.cnt = 100 + e;
        STTA_ValueListAdd(1, *r.Vals, "engine" + std::to_string(e), inc, -1);
    }
    return r;
}

class ResultsWindowOnScreen : public ResultsWindow {
protected:
    void SetUp() override {
        ResultsWindow::SetUp();
        gResults = manyResults();
        form = forms.STTA_IfrmShow();
        gResults = STTA_Results{};
        gResultsIfrmKey.clear();
        window = std::make_unique<SrchTmLstFrm>(allReport(form->data()), form, "All");
        window->resize(700, 600);
        window->show();
        QApplication::processEvents();
    }
    grid::FlexGrid& grid() { return *window->fSearchTerms(); }
    QPoint globalBelow(long row) {
        return grid().viewport()->mapToGlobal(grid().cellRect(row, grid().Col()).bottomLeft());
    }
    std::unique_ptr<SrchTmLstFrm> window;
};

// From the keyboard, the menu key or Shift+F10 opens the row menu below the current
// row, scrolled into view first, not at the table's corner.
TEST_F(ResultsWindowOnScreen, TheMenuKeyOpensTheRowMenuAtTheCurrentRow) {
    for (const auto& [key, modifier] :
         {std::pair(Qt::Key_Menu, Qt::NoModifier), std::pair(Qt::Key_F10, Qt::ShiftModifier)}) {
        SCOPED_TRACE(key);
        grid().setTopRow(1);
        const long row = rowOf(*window, "engine10");
        grid().setRow(row);
        ASSERT_TRUE(grid().cellRect(row, grid().Col()).isEmpty());  // scrolled away
        QTest::keyClick(&grid(), key, modifier);
        ASSERT_TRUE(window->fPUMnu()->isVisible());
        EXPECT_EQ(grid().Row(), row);
        ASSERT_FALSE(grid().cellRect(row, grid().Col()).isEmpty());
        EXPECT_EQ(window->fPUMnu()->pos(), globalBelow(row));
        window->fPUMnu()->close();
    }
}

// A right click makes the row under the pointer current and plots it before the menu
// shows, so that the menu's commands act on that row; a click on the caption row keeps
// the current row.
TEST_F(ResultsWindowOnScreen, ARightClickMakesTheClickedRowCurrentAndPlotsIt) {
    const long row = rowOf(*window, "engine39");
    ASSERT_FALSE(grid().cellRect(row, 0).isEmpty());
    QTest::mouseClick(grid().viewport(), Qt::RightButton, Qt::NoModifier, grid().cellRect(row, 0).center());
    EXPECT_TRUE(window->fPUMnu()->isVisible());
    window->fPUMnu()->close();
    EXPECT_EQ(grid().Row(), row);
    EXPECT_EQ(window->dPlotRow, row);
    EXPECT_EQ(chartCell(*window, 2, 1), "139");
    EXPECT_TRUE(window->fPlotDesc()->text().endsWith("\nengine39"));

    QTest::mouseClick(grid().viewport(), Qt::RightButton, Qt::NoModifier, grid().cellRect(0, 4).center());
    window->fPUMnu()->close();
    EXPECT_EQ(grid().Row(), row);
}

// A sort moves the plotted row: restoring the plot's lines plots that row again, not
// the one the sort put at its old place.
TEST_F(ResultsWindowOnScreen, ThePlottedRowIsFollowedThroughASort) {
    const long bing = rowOf(*window, "bing");
    ASSERT_TRUE(window->pPlotRow(bing));
    grid().setCol(0);
    grid().setRow(1);
    grid().setRowSel(grid().Rows() - 3);
    grid().setSort(7);
    ASSERT_NE(rowOf(*window, "bing"), bing);
    EXPECT_EQ(window->dPlotRow, rowOf(*window, "bing"));
    window->findChild<QAction*>("fPUMnu_Chart_S")->trigger();
    EXPECT_EQ(chartCell(*window, 1, 1), "2");
}

// A thick row is as tall as its tallest cell needs: a track's pages end with CR alone,
// distribution cells with CR LF or LF, and a row of one-line cells stays low.
TEST_F(ResultsWindow, AThickRowIsAsTallAsItsTallestCellNeeds) {
    ReportTable table = allReport(form->data());
    table.thickRows = true;
    std::string track = "/p1";
    for (int page = 2; page <= 12; ++page) track += "\r/p" + std::to_string(page);
    table.setText(1, 0, track);
    table.setText(2, 1, "a\r\nb\r\nc\nd");
    SrchTmLstFrm window(std::move(table), form, "All");
    const grid::FlexGrid& grid = *window.fSearchTerms();
    const int line = QFontMetrics(grid.font()).lineSpacing() * 15;  // twips at 96 dpi
    struct Case {
        long row, lines;
    } cases[] = {{1, 12}, {2, 4}, {3, 1}};
    for (const Case& c : cases) {
        EXPECT_GE(grid.RowHeight(c.row), c.lines * line) << c.row;
        EXPECT_LT(grid.RowHeight(c.row), (c.lines + 1) * line) << c.row;
    }
    EXPECT_TRUE(window.findChild<QAction*>("fMnu_K")->isChecked());
    EXPECT_FALSE(window.findChild<QAction*>("fMnu_N")->isChecked());
    window.findChild<QAction*>("fMnu_N")->trigger();
    for (const Case& c : cases) EXPECT_EQ(grid.RowHeight(c.row), 240) << c.row;

    // After a sort, thick rows fit the rows where they now stand.
    window.fSearchTerms()->setCol(1);
    window.fSearchTerms()->setRow(1);
    window.fSearchTerms()->setRowSel(2);
    window.fSearchTerms()->setSort(grid::kSortNumericAscending);  // the track's row goes last
    ASSERT_EQ(grid.TextMatrix(2, 0).substr(0, 4), "/p1\r");
    window.findChild<QAction*>("fMnu_K")->trigger();
    EXPECT_GE(grid.RowHeight(2), 12 * line);
    EXPECT_LT(grid.RowHeight(1), 5 * line);
}

TEST_F(ResultsWindow, TheRowDetailListsTheMembersOfAGroupRow) {
    // A Top report of one row: bing goes to the rest row.
    ReportTable table;
    STTA_ReportGridSetup(form->data().Targets, table, kRkSearchEngine, form->data().AnalOpts);
    STTA_TopRowsWrite(form->data(), table, 1);
    SrchTmLstFrm window(std::move(table), form, "Top");
    SrchTmLstFrm* detail = nullptr;
    window.showWindow = [&](SrchTmLstFrm* w) { detail = w; };
    const long rest = rowOf(window, ".. Rest ..");
    ASSERT_GT(rest, 0);
    window.fSearchTerms()->setRow(rest);
    STTA_RowDetailShow(window);
    ASSERT_NE(detail, nullptr);
    std::unique_ptr<SrchTmLstFrm> owned(detail);
    // The detail says which analysis it lists, as every report window does.
    const std::string desc = form->GetDataDesc();
    EXPECT_EQ(detail->windowTitle().toStdString(),
              "Srch Engines for group: .. Rest ... Site: " + STTA_SiteParmGet() + ". // " +
                  TXT_Replace(TXT_Replace(desc, gCRCR, " / ", true), gCR, " / ", true));
    EXPECT_EQ(detail->table().extractDesc, "Site: " + STTA_SiteParmGet() + gCRCR + desc);
    EXPECT_NE(rowOf(*detail, "bing"), -1);
    EXPECT_EQ(rowOf(*detail, "google"), -1);
}

TEST_F(ResultsWindow, ThePlotRangeLimitsThePlotToTheDaysEntered) {
    SrchTmLstFrm window(allReport(form->data()), form, "All");
    window.pPlotRow(rowOf(window, "bing"));
    EXPECT_EQ(window.fChart()->ChartData().rowUBound(), 3);
    responder.expect({.expectMessage = "to plot", .sets = {{"#1", "2026-03-02"}, {"#2", "3 Mar 2026"}}, .press = "&OK"});
    ASSERT_TRUE(STTA_PlotRangeEnter(window));
    EXPECT_EQ(window.dPlotStartEndDate, "2026-03-02|2026-03-03");
    EXPECT_EQ(window.fChart()->ChartData().rowUBound(), 2);
    EXPECT_TRUE(window.fPlotDesc()->text().contains("Selected Date Range: \n2 Mar 26 to 3 Mar 26"));
    // Cancel keeps the range.
    responder.press("to plot", "&Cancel");
    EXPECT_FALSE(STTA_PlotRangeEnter(window));
    EXPECT_EQ(window.dPlotStartEndDate, "2026-03-02|2026-03-03");
}

}  // namespace

#include "window/grid_operations.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QScrollBar>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ui/twips.h"
#include "window/event_guard.h"

namespace {

// A shown grid of 100 rows by 10 columns with one fixed row and column, 300 x 200
// pixels (4500 x 3000 twips at the offscreen 96 DPI): rows 240 twips, columns 960.
class GridOperationsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        g.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        g.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        g.setRows(100);
        g.setCols(10);
        for (long r = 0; r < g.Rows(); ++r)
            for (int c = 0; c < g.Cols(); ++c) g.setTextMatrix(r, c, std::to_string(r) + ":" + std::to_string(c));
        g.resize(300, 200);
        g.show();
        QApplication::processEvents();
    }

    grid::FlexGrid g;
};

std::vector<std::string> column(const grid::FlexGrid& g, int col)
{
    std::vector<std::string> out;
    for (long r = 0; r < g.Rows(); ++r) out.push_back(g.TextMatrix(r, col));
    return out;
}

TEST_F(GridOperationsTest, CellTextIsEmptyOutsideTheGridAndCellSetGrowsIt)
{
    struct Case {
        long row, col;
        const char* text;
    } cases[] = {{-1, 0, ""}, {100, 0, ""}, {0, -1, ""}, {0, 10, ""}, {99, 9, "99:9"}, {0, 0, "0:0"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.row) + "," + std::to_string(c.col));
        EXPECT_EQ(GRDFLX_CellText(g, c.row, c.col), c.text);
    }
    GRDFLX_CellSet(g, g.Rows() + 3, 11, "far");
    EXPECT_EQ(g.Rows(), 104);
    EXPECT_EQ(g.Cols(), 12);
    EXPECT_EQ(GRDFLX_CellText(g, 103, 11), "far");
    EXPECT_EQ(GRDFLX_CellText(g, 99, 9), "99:9");
}

TEST_F(GridOperationsTest, FixedSizesAndHitTestsInTwips)
{
    g.setFixedRows(2);
    g.setRowHeight(1, 300);
    EXPECT_EQ(GRID_FixedRowsHeight(g), 540);
    EXPECT_EQ(GRID_FixedColsWidth(g), 960);
    g.setFixedCols(0);
    EXPECT_EQ(GRID_FixedColsWidth(g), 0);
    g.setFixedCols(1);
    g.setTopRow(40);
    g.setLeftCol(3);

    struct RowCase {
        double y;
        long row;
    } rows[] = {{0, 0}, {240, 0}, {241, 1}, {539, 1}, {540, 40}, {780, 40}, {781, 41}};
    for (const RowCase& c : rows) {
        SCOPED_TRACE(c.y);
        EXPECT_EQ(GRID_RowAtY(g, c.y), c.row);
    }
    struct ColCase {
        double x;
        int col;
    } cols[] = {{0, 0}, {959, 0}, {960, 3}, {1919, 3}, {1920, 4}, {960.0 * 8, -1}};
    for (const ColCase& c : cols) {
        SCOPED_TRACE(c.x);
        EXPECT_EQ(GRID_ColAtX(g, c.x), c.col);
    }
    // Below the last row there is none.
    g.setRows(41);
    const double lastEdge = 540 + 240.0 * (41 - g.TopRow());
    EXPECT_EQ(GRID_RowAtY(g, lastEdge), 40);
    EXPECT_EQ(GRID_RowAtY(g, lastEdge + 1), -1);
}

TEST_F(GridOperationsTest, ColsFitCountsAgainstTheGridWidth)
{
    ASSERT_EQ(g.Width(), 4500);
    EXPECT_TRUE(GRID_ColsFit(g, 1, 3, 960));    // 3840
    EXPECT_FALSE(GRID_ColsFit(g, 1, 4, 960));   // 4800
    EXPECT_TRUE(GRID_ColsFit(g, 1, 4, 0));
}

TEST_F(GridOperationsTest, ShowColKeepsTwoColumnsBeforeItWhenTheyFit)
{
    // The view holds the fixed column and three more, so LeftCol stops at 7.
    GRID_ShowCol(g, 6);
    EXPECT_EQ(g.LeftCol(), 4);
    GRID_ShowCol(g, 9);
    EXPECT_EQ(g.LeftCol(), 7);
    // A wide column before it: only one column fits before the wanted one.
    g.setColWidth(7, 4000);
    GRID_ShowCol(g, 9);
    EXPECT_EQ(g.LeftCol(), 8);
    GRID_ShowCol(g, 1);
    EXPECT_EQ(g.LeftCol(), 1);
}

TEST_F(GridOperationsTest, TopRowSetGoesAsNearAsTheGridAllows)
{
    const long fullRows = (g.viewport()->height() - 16) / 16;
    GRID_TopRowSet(g, 50);
    EXPECT_EQ(g.TopRow(), 50);
    GRID_TopRowSet(g, 500);
    EXPECT_EQ(g.TopRow(), 100 - fullRows);
    GRID_TopRowSet(g, 0);
    EXPECT_EQ(g.TopRow(), 1);
}

TEST_F(GridOperationsTest, ScrollRangeIntoViewSelectsAndScrolls)
{
    long fixedRows = -1, fixedCols = -1;
    GRID_ScrollRangeIntoView(g, 60, 61, 8, 8, fixedRows, fixedCols);
    EXPECT_EQ(fixedRows, 1);
    EXPECT_EQ(fixedCols, 1);
    EXPECT_EQ(g.Row(), 60);
    EXPECT_EQ(g.RowSel(), 61);
    EXPECT_EQ(g.Col(), 8);
    EXPECT_EQ(g.ColSel(), 8);
    EXPECT_EQ(g.TopRow(), 60);
    EXPECT_EQ(g.LeftCol(), 6);

    // A visible range leaves the scroll position alone.
    GRID_ScrollRangeIntoView(g, 62, 62, 7, 7, fixedRows, fixedCols);
    EXPECT_EQ(g.TopRow(), 60);
    EXPECT_EQ(g.LeftCol(), 6);

    // A range in the fixed cells makes them scrollable and scrolls back to them.
    GRID_ScrollRangeIntoView(g, 0, 0, 0, 1, fixedRows, fixedCols);
    EXPECT_EQ(fixedRows, 1);
    EXPECT_EQ(fixedCols, 1);
    EXPECT_EQ(g.FixedRows(), 0);
    EXPECT_EQ(g.FixedCols(), 0);
    EXPECT_EQ(g.TopRow(), 0);
    EXPECT_EQ(g.LeftCol(), 0);
    EXPECT_EQ(g.ColSel(), 1);
}

TEST(GridWiden, RightAlignedTextAndNumbersGrowTheirColumnLeftAlignedTextDoesNot)
{
    grid::FlexGrid g;
    g.setRows(3);
    g.setCols(6);
    const std::string bytes = "1,043,012,569", visitor = "Word visitor 183 [96%]", path = "/var/log/a/very/long/path.log";
    struct Column {
        int alignment;
        std::string text;
        int width;
        bool grows;
    } columns[] = {
        {grid::FlexGrid::kRightCenter, visitor, 600, true},
        {grid::FlexGrid::kGeneral, bytes, 600, true},
        {grid::FlexGrid::kGeneral, path, 600, false},
        {grid::FlexGrid::kLeftCenter, visitor, 600, false},
        {grid::FlexGrid::kRightCenter, bytes, 1, false},  // hidden
        {grid::FlexGrid::kRightCenter, "7", 60, false},  // a stripe
    };
    for (int c = 0; c < 6; ++c) {
        g.setColAlignment(c, columns[c].alignment);
        g.setColWidth(c, columns[c].width);
        g.setTextMatrix(0, c, "caption of some length");  // the fixed row is not measured
        g.setTextMatrix(1, c, "1");
        g.setTextMatrix(2, c, columns[c].text);
    }
    GRID_WidenToRightAlignedText(g);
    const QFontMetricsF metrics(g.font());
    for (int c = 0; c < 6; ++c) {
        SCOPED_TRACE(c);
        if (!columns[c].grows) {
            EXPECT_EQ(g.ColWidth(c), columns[c].width);
            continue;
        }
        EXPECT_GE(g.ColWidth(c) / ui::twipsPerPixelX(),
                  metrics.horizontalAdvance(QString::fromStdString(columns[c].text)));
    }
}

TEST_F(GridOperationsTest, CellsToArrayCopiesTheGridOrTheSelectionInEitherDirection)
{
    core::Table2D t;
    GRID_CellsToArray(g, t, false);
    EXPECT_EQ(t.rowUBound(), 99);
    EXPECT_EQ(t.colUBound(), 9);
    EXPECT_EQ(ARR_Item2D(t, 0, 0), "0:0");

    // Dragged upwards and leftwards: the same cells as the other way round.
    g.setRow(7);
    g.setCol(4);
    g.setRowSel(5);
    g.setColSel(3);
    long first = 0, last = 0;
    GRID_SelRowRange(g, first, last);
    EXPECT_EQ(first, 5);
    EXPECT_EQ(last, 7);
    GRID_SelColRange(g, first, last);
    EXPECT_EQ(first, 3);
    EXPECT_EQ(last, 4);
    GRID_CellsToArray(g, t, true);
    EXPECT_EQ(t.rowLBound(), 0);
    EXPECT_EQ(t.rowUBound(), 2);
    EXPECT_EQ(t.colUBound(), 1);
    EXPECT_EQ(ARR_Item2D(t, 0, 0), "5:3");
    EXPECT_EQ(ARR_Item2D(t, 2, 1), "7:4");
}

// A dialog-style grid: one fixed row, column 0 the item number, data from column 1.
struct SortCase {
    const char* name;
    std::vector<std::vector<std::string>> rows;  // columns 0..2 of each data row
    int col, colSel;
    bool allowed;
    std::vector<std::string> col1After;
    std::vector<std::string> col0After;
};

TEST(GridSortOnColumn, NumbersSortNumericallyAsShownAndTextSortsAfterCleanUp)
{
    const std::string sep = "\xA0||\xA0";
    const SortCase cases[] = {
        {"grouped numbers keep #,###,##0",
         {{"0", "1,234", ""}, {"1", "987", ""}, {"2", "12,000", ""}}, 1, 1, true,
         {"987", "1,234", "12,000"}, {"1", "0", "2"}},
        {"values below 1 keep their text",
         {{"0", "0.5", ""}, {"1", "0.25", ""}}, 1, 1, true,
         {"0.25", "0.5"}, {"1", "0"}},
        {"a fraction among whole numbers keeps its text",
         {{"0", "1000", ""}, {"1", "0.75", "x"}}, 1, 1, true,
         {"0.75", "1000"}, {"1", "0"}},
        {"mixed formats keep their texts",
         {{"0", "1,234", ""}, {"1", "0.50", ""}, {"2", "7", ""}}, 1, 1, true,
         {"0.50", "7", "1,234"}, {"1", "2", "0"}},
        {"two key columns take the text path",
         {{"0", "10", "1"}, {"1", "9", "1"}, {"2", "10", "0"}}, 1, 2, true,
         {"10", "10", "9"}, {"2", "0", "1"}},
        {"an empty cell makes the column text",
         {{"0", "10", "a"}, {"1", "", "b"}, {"2", "9", "c"}}, 1, 1, true,
         {"", "10", "9"}, {"1", "0", "2"}},
        {"rows empty beyond column 0 go, cell parts before the separator too",
         {{"0", "b", ""}, {"1", "", ""}, {"2", "z" + sep + "a", ""}, {"3", "c", ""}}, 1, 1, true,
         {"a", "b", "c"}, {"2", "0", "3"}},
        {"not allowed", {{"0", "2", ""}, {"1", "1", ""}}, 1, 1, false, {"2", "1"}, {"0", "1"}},
    };
    for (const SortCase& c : cases) {
        SCOPED_TRACE(c.name);
        grid::FlexGrid g;
        g.setCols(3);
        g.setRows(static_cast<long>(c.rows.size()) + 1);
        for (std::size_t r = 0; r < c.rows.size(); ++r)
            for (int col = 0; col < 3; ++col) g.setTextMatrix(static_cast<long>(r) + 1, col, c.rows[r][col]);
        g.setCol(c.col);
        g.setColSel(c.colSel);
        g.setRow(1);
        gMousePointer = 0;

        EXPECT_EQ(GRDFLX_SortOnColumn(g, c.allowed), c.allowed);
        std::vector<std::string> col1 = column(g, 1), col0 = column(g, 0);
        col1.erase(col1.begin());
        col0.erase(col0.begin());
        EXPECT_EQ(col1, c.col1After);
        EXPECT_EQ(col0, c.col0After);
        EXPECT_TRUE(g.Redraw());
        EXPECT_EQ(gMousePointer, 0);
    }
}

TEST(GridSortOnColumn, SortsOnlyTheSelectedRowsWhenARangeIsSelected)
{
    grid::FlexGrid g;
    g.setCols(2);
    g.setRows(6);
    const char* keys[] = {"head", "5", "4", "3", "2", "1"};
    for (long r = 0; r < 6; ++r) g.setTextMatrix(r, 1, keys[r]);
    g.setCol(1);
    g.setRow(2);
    g.setRowSel(4);
    ASSERT_TRUE(GRDFLX_SortOnColumn(g, true));
    EXPECT_EQ(column(g, 1), (std::vector<std::string>{"head", "5", "2", "3", "4", "1"}));
}

}  // namespace

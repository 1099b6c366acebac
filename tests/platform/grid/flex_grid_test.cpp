#include "platform/grid/flex_grid.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <gtest/gtest.h>

#include <functional>

#include "platform/sys/rt_error.h"
#include "tests/support/error_number.h"

using testsupport::errorOf;

namespace grid {
namespace {

// 100 rows by 6 columns, one fixed row and column, in a 300 x 200 pixel view with a
// vertical scroll bar only. Offscreen the DPI is 96: 15 twips a pixel, so a default
// row is 16 pixels and a default column 64.
class FlexGridTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        g.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        g.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        g.setRows(100);
        g.setCols(6);
        for (long r = 0; r < g.Rows(); ++r)
            for (int c = 0; c < g.Cols(); ++c) g.setTextMatrix(r, c, std::to_string(r) + ":" + std::to_string(c));
        g.resize(300, 200);
        g.show();
        QApplication::processEvents();
    }

    void click(int x, int y, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        const QPointF pos(x, y);
        QMouseEvent press(QEvent::MouseButtonPress, pos, g.viewport()->mapToGlobal(pos), Qt::LeftButton,
                          Qt::LeftButton, mods);
        QApplication::sendEvent(g.viewport(), &press);
        QMouseEvent release(QEvent::MouseButtonRelease, pos, g.viewport()->mapToGlobal(pos), Qt::LeftButton,
                            Qt::NoButton, mods);
        QApplication::sendEvent(g.viewport(), &release);
    }

    void key(int k, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QKeyEvent press(QEvent::KeyPress, k, mods);
        QApplication::sendEvent(&g, &press);
    }

    int viewHeight() const { return g.viewport()->height(); }

    FlexGrid g;
};

TEST(FlexGridNew, StartsWithTheDesignShape)
{
    FlexGrid g;
    EXPECT_EQ(g.Rows(), 2);
    EXPECT_EQ(g.Cols(), 2);
    EXPECT_EQ(g.FixedRows(), 1);
    EXPECT_EQ(g.FixedCols(), 1);
    EXPECT_EQ(g.Row(), 1);
    EXPECT_EQ(g.Col(), 1);
}

TEST_F(FlexGridTest, InvalidIndexesRaiseTheGridErrors)
{
    struct Case {
        const char* name;
        std::function<void()> call;
        int error;
    } cases[] = {
        {"read row -1", [&] { g.TextMatrix(-1, 0); }, 381},
        {"read row Rows", [&] { g.TextMatrix(100, 0); }, 381},
        {"write col Cols", [&] { g.setTextMatrix(0, 6, "x"); }, 381},
        {"Row = Rows", [&] { g.setRow(100); }, 30009},
        {"RowSel -1", [&] { g.setRowSel(-1); }, 30009},
        {"Col = Cols", [&] { g.setCol(6); }, 30010},
        {"TopRow beyond", [&] { g.setTopRow(100); }, 30009},
        {"FixedRows > Rows", [&] { g.setFixedRows(101); }, 380},
        {"Sort 9", [&] { g.setSort(9); }, 380},
        {"RemoveItem Rows", [&] { g.RemoveItem(100); }, 381},
        {"AddItem past end", [&] { g.AddItem("x", 101); }, 381},
        {"ColAlignment 10", [&] { g.setColAlignment(0, 10); }, 380},
        {"in range", [&] { g.TextMatrix(99, 5); }, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(errorOf(c.call), c.error);
    }
    EXPECT_EQ(g.Rows(), 100);
}

TEST_F(FlexGridTest, SettingRowOrColCollapsesTheSelection)
{
    g.setRow(3);
    g.setRowSel(7);
    g.setCol(2);
    g.setColSel(4);
    EXPECT_EQ(g.RowSel(), 7);
    g.setRow(5);
    EXPECT_EQ(g.RowSel(), 5);
    EXPECT_EQ(g.ColSel(), 4);
    g.setCol(1);
    EXPECT_EQ(g.ColSel(), 1);
}

TEST_F(FlexGridTest, TopRowAndLeftColClampToWhatTheViewCanShow)
{
    // Below the fixed row, whole rows fit into the rest of the view.
    const long fullRows = (viewHeight() - 16) / 16;
    struct Case {
        long asked, expected;
    } cases[] = {{0, 1}, {1, 1}, {50, 50}, {99, 100 - fullRows}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.asked);
        g.setTopRow(c.asked);
        EXPECT_EQ(g.TopRow(), c.expected);
        EXPECT_EQ(g.verticalScrollBar()->value(), c.expected);
    }
    // The view (300 px less the bar) holds the fixed column and three more of 64 px;
    // once the fixed column is hidden, four.
    ASSERT_GT(g.viewport()->width(), 64 * 4);
    ASSERT_LT(g.viewport()->width(), 64 * 5);
    g.setLeftCol(5);
    EXPECT_EQ(g.LeftCol(), 3);
    g.setColWidth(0, 0);
    g.setLeftCol(5);
    EXPECT_EQ(g.LeftCol(), 2);
    g.setFixedCols(0);
    g.setLeftCol(0);
    EXPECT_EQ(g.LeftCol(), 0);
}

TEST_F(FlexGridTest, FixedRowsAndColumnsStayWhileTheRestScrolls)
{
    g.setFixedRows(2);
    g.setTopRow(40);
    g.setLeftCol(3);
    EXPECT_EQ(g.rowAtPixel(0), 0);
    EXPECT_EQ(g.rowAtPixel(16), 1);
    EXPECT_EQ(g.rowAtPixel(32), 40);
    EXPECT_EQ(g.rowAtPixel(47), 40);
    EXPECT_EQ(g.rowAtPixel(48), 41);
    EXPECT_EQ(g.colAtPixel(63), 0);
    EXPECT_EQ(g.colAtPixel(64), 3);
    EXPECT_EQ(g.colAtPixel(-1), -1);

    // Scrolling the bar moves TopRow by whole rows.
    g.verticalScrollBar()->setValue(60);
    EXPECT_EQ(g.TopRow(), 60);
    EXPECT_EQ(g.rowAtPixel(32), 60);
}

TEST_F(FlexGridTest, SizesAreTwipsAtTheApiAndPixelsOnScreen)
{
    g.setColWidth(1, 1500);
    g.setRowHeight(1, 450);
    EXPECT_EQ(g.ColWidth(1), 1500);
    EXPECT_EQ(g.ColWidth(2), FlexGrid::kDefaultColWidth);
    EXPECT_EQ(g.colAtPixel(64 + 99), 1);
    EXPECT_EQ(g.colAtPixel(64 + 100), 2);
    EXPECT_EQ(g.rowAtPixel(16 + 29), 1);
    EXPECT_EQ(g.rowAtPixel(16 + 30), 2);
    EXPECT_EQ(g.Width(), 300 * 15);
    EXPECT_EQ(g.Height(), 200 * 15);
}

TEST_F(FlexGridTest, SortTakesRowToRowSelOrEveryNonFixedRow)
{
    g.setRows(6);
    const char* keys[] = {"head", "30", "4", "200", "1", "x"};
    for (long r = 0; r < 6; ++r) g.setTextMatrix(r, 1, keys[r]);

    g.setCol(1);
    g.setRow(2);
    g.setRowSel(4);
    g.setSort(kSortNumericAscending);
    std::vector<std::string> got;
    for (long r = 0; r < 6; ++r) got.push_back(g.TextMatrix(r, 1));
    EXPECT_EQ(got, (std::vector<std::string>{"head", "30", "1", "4", "200", "x"}));

    // With Row = RowSel the whole grid below the fixed row is sorted.
    g.setRow(3);
    g.setSort(kSortNumericDescending);
    got.clear();
    for (long r = 0; r < 6; ++r) got.push_back(g.TextMatrix(r, 1));
    EXPECT_EQ(got, (std::vector<std::string>{"head", "200", "30", "4", "1", "x"}));
    // Other columns move with their rows, and so do row heights.
    EXPECT_EQ(g.TextMatrix(1, 2), "3:2");
    g.setRowHeight(1, 600);  // "200"
    g.setSort(kSortNumericAscending);
    EXPECT_EQ(g.TextMatrix(5, 1), "200");
    EXPECT_EQ(g.RowHeight(5), 600);
    EXPECT_EQ(g.RowHeight(1), FlexGrid::kDefaultRowHeight);
}

TEST_F(FlexGridTest, AddItemAndRemoveItemShiftRowsAndKeepFixedRowsValid)
{
    g.setRows(3);
    g.AddItem("new\tfields\tmore", 1);
    g.AddItem("last");
    EXPECT_EQ(g.Rows(), 5);
    EXPECT_EQ(g.TextMatrix(1, 0), "new");
    EXPECT_EQ(g.TextMatrix(1, 2), "more");
    EXPECT_EQ(g.TextMatrix(2, 0), "1:0");
    EXPECT_EQ(g.TextMatrix(4, 0), "last");
    EXPECT_EQ(g.TextMatrix(4, 1), "");

    g.setRowHeight(2, 600);
    g.RemoveItem(1);
    EXPECT_EQ(g.TextMatrix(1, 0), "1:0");
    EXPECT_EQ(g.RowHeight(1), 600);

    // Removing rows down to nothing takes the fixed rows with them.
    g.setFixedRows(0);
    while (g.Rows() > 0) g.RemoveItem(0);
    EXPECT_EQ(g.FixedRows(), 0);
    g.AddItem("again");
    EXPECT_EQ(g.TextMatrix(0, 0), "again");
}

TEST_F(FlexGridTest, ClearEmptiesCellsButKeepsTheShape)
{
    g.setRow(2);
    g.setCellBackColor(0xC0FFC0);
    g.Clear();
    EXPECT_EQ(g.TextMatrix(2, 2), "");
    EXPECT_EQ(g.CellBackColor(), 0u);
    EXPECT_EQ(g.Rows(), 100);
    EXPECT_EQ(g.Cols(), 6);
}

TEST_F(FlexGridTest, CellBackColorPaintsTheWholeSelectionInEitherDirection)
{
    g.setRow(5);
    g.setCol(4);
    g.setRowSel(3);
    g.setColSel(2);
    g.setCellBackColor(0x00C0E0FF);
    for (long r = 2; r <= 6; ++r)
        for (int c = 1; c <= 5; ++c) {
            SCOPED_TRACE(std::to_string(r) + "," + std::to_string(c));
            g.setRow(r);
            g.setCol(c);
            const bool inside = r >= 3 && r <= 5 && c >= 2 && c <= 4;
            EXPECT_EQ(g.CellBackColor(), inside ? 0x00C0E0FFu : 0u);
        }
}

TEST_F(FlexGridTest, ClicksSelectCellsHeadersSelectColumnsAndReportMousePosition)
{
    int changes = 0;
    QObject::connect(&g, &FlexGrid::selChange, [&] { ++changes; });
    click(64 + 64 + 5, 16 * 3 + 5);  // column 2, row 3
    EXPECT_EQ(g.Row(), 3);
    EXPECT_EQ(g.Col(), 2);
    EXPECT_EQ(g.MouseRow(), 3);
    EXPECT_EQ(g.MouseCol(), 2);
    EXPECT_EQ(changes, 1);

    click(64 * 4 + 5, 16 * 5 + 5, Qt::ShiftModifier);  // extends to column 4, row 5
    EXPECT_EQ(g.Row(), 3);
    EXPECT_EQ(g.RowSel(), 5);
    EXPECT_EQ(g.ColSel(), 4);

    click(64 * 3 + 5, 5);  // header of column 3
    EXPECT_EQ(g.Row(), 1);
    EXPECT_EQ(g.RowSel(), 99);
    EXPECT_EQ(g.Col(), 3);
    EXPECT_EQ(g.ColSel(), 3);

    click(5, 5);  // the fixed corner selects nothing
    EXPECT_EQ(g.Col(), 3);
    EXPECT_EQ(changes, 3);
}

TEST_F(FlexGridTest, KeysMoveWithinTheNonFixedCellsUnlessAHandlerTakesThem)
{
    g.setRow(1);
    g.setCol(1);
    key(Qt::Key_Up);
    key(Qt::Key_Left);
    EXPECT_EQ(g.Row(), 1);
    EXPECT_EQ(g.Col(), 1);
    key(Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(g.Row(), 99);
    EXPECT_EQ(g.TopRow(), 100 - (viewHeight() - 16) / 16);
    key(Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_EQ(g.Row(), 99);
    EXPECT_EQ(g.RowSel(), 98);

    QObject::connect(&g, &FlexGrid::keyDown, [](QKeyEvent* e) {
        if (e->key() == Qt::Key_F3) e->accept();
    });
    key(Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(g.Row(), 1);
    EXPECT_EQ(g.TopRow(), 1);
}

TEST_F(FlexGridTest, PaintsCellColoursWithFixedRowsInPlace)
{
    g.setTopRow(50);
    g.setRow(51);
    g.setCol(2);
    g.setCellBackColor(0x0000FF);  // BGR: red
    g.setRow(0);
    g.setCol(3);
    g.setCellBackColor(0xFF0000);  // blue, in the fixed row
    g.setRow(52);                  // away from the coloured cells
    g.setCol(1);
    const QImage shot = g.viewport()->grab().toImage();
    // Row 51 is the second row below the fixed one; column 2 the second after the fixed.
    // Points near a cell's right end, clear of its left-aligned text.
    EXPECT_EQ(shot.pixelColor(64 + 64 + 58, 16 + 16 + 3), QColor(255, 0, 0));
    EXPECT_EQ(shot.pixelColor(64 * 3 + 58, 3), QColor(0, 0, 255));
    EXPECT_NE(shot.pixelColor(64 + 64 + 58, 16 + 3), QColor(255, 0, 0));
}

// A list to pick from shows its chosen row highlighted; a wider grid tints its current
// cell (a found value, a clicked cell), focused or not, so that it is plain to see.
TEST_F(FlexGridTest, TheCurrentCellIsHighlightedInAListAndTintedInAWiderGrid)
{
    for (int cols : {2, 6}) {
        SCOPED_TRACE(cols);
        g.setCols(cols);
        g.setRow(3);
        g.setCol(1);
        g.clearFocus();
        const QImage shot = g.viewport()->grab().toImage();
        const QColor cell = shot.pixelColor(64 + 58, 16 * 3 + 3);
        const QColor other = shot.pixelColor(64 + 58, 16 * 4 + 3);
        EXPECT_EQ(cell == g.palette().color(QPalette::Highlight), cols == 2);
        EXPECT_NE(cell, other);
        EXPECT_EQ(other, g.palette().color(QPalette::Base));
    }
}

// The fixed cells of the current row carry the highlight, so that the row's label reads
// as chosen; those of other rows keep the fixed colour.
TEST_F(FlexGridTest, TheFixedCellsOfTheCurrentRowAreHighlighted)
{
    g.setRow(3);
    g.setCol(2);
    const QImage shot = g.viewport()->grab().toImage();
    EXPECT_EQ(shot.pixelColor(58, 16 * 3 + 3), g.palette().color(QPalette::Highlight));
    EXPECT_EQ(shot.pixelColor(58, 16 * 4 + 3), g.palette().color(QPalette::Button));
    EXPECT_EQ(shot.pixelColor(58, 3), g.palette().color(QPalette::Button));  // the caption row
}

TEST_F(FlexGridTest, ACellScrolledIntoViewHasItsRectangle)
{
    EXPECT_EQ(g.cellRect(3, 2), QRect(128, 48, 64, 16));
    EXPECT_EQ(g.cellRect(0, 0), QRect(0, 0, 64, 16));
    EXPECT_TRUE(g.cellRect(80, 2).isEmpty());
    g.showCell(80, 2);
    const QRect cell = g.cellRect(80, 2);
    ASSERT_FALSE(cell.isEmpty());
    EXPECT_LE(cell.bottom(), viewHeight() - 1);
    EXPECT_GT(cell.bottom(), viewHeight() - 17);  // moved no further than needed
}

// A right-aligned text wider than its cell shows its start, cut on the right: it is
// drawn as the same text in a left-aligned cell is.
TEST_F(FlexGridTest, ATextTooWideForItsRightAlignedCellKeepsItsStart)
{
    g.setColAlignment(2, FlexGrid::kRightCenter);
    g.setColAlignment(3, FlexGrid::kLeftCenter);
    for (int c : {2, 3}) g.setTextMatrix(1, c, "Wide text that does not fit");
    g.setRow(5);
    g.setCol(4);
    const QImage shot = g.viewport()->grab().toImage();
    EXPECT_EQ(shot.copy(128, 16, 64, 16), shot.copy(192, 16, 64, 16));  // columns 2 and 3
}

TEST_F(FlexGridTest, ScrollBarsAndAlignmentsTakeOnlyTheirCodes)
{
    g.setScrollBars(0);
    EXPECT_EQ(g.verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_EQ(g.horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    g.setScrollBars(2);
    EXPECT_EQ(g.verticalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
    EXPECT_EQ(g.horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_EQ(errorOf([&] { g.setScrollBars(4); }), 380);
    g.setFixedAlignment(2, FlexGrid::kCenterCenter);
    EXPECT_EQ(g.FixedAlignment(2), FlexGrid::kCenterCenter);
    EXPECT_EQ(g.ColAlignment(2), FlexGrid::kGeneral);
    EXPECT_EQ(errorOf([&] { g.setFixedAlignment(2, -1); }), 380);
}

}  // namespace
}  // namespace grid

namespace grid {
namespace {

// A grid grown from a small size to one its cells fit in drops both scroll bars, also
// when a bar leaving widens the view after the grid has measured it.
TEST(FlexGridScrollBars, AGridWhoseCellsFitShowsNoScrollBar)
{
    FlexGrid g;
    g.setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    g.setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    g.setRows(3);
    g.setCols(3);
    g.resize(60, 40);
    g.show();
    QApplication::processEvents();
    // Default cells are 64 by 16 pixels. Wider than the cells only once the vertical bar
    // has gone.
    const int bar = g.verticalScrollBar()->sizeHint().width();
    g.resize(3 * 64 + 2 * g.frameWidth() + bar / 2, 3 * 16 + 2 * g.frameWidth() + 40);
    QApplication::processEvents();
    EXPECT_FALSE(g.verticalScrollBar()->isVisible());
    EXPECT_FALSE(g.horizontalScrollBar()->isVisible());
}

}  // namespace
}  // namespace grid

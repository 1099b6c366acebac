#include "window/grid_operations.h"

#include <QFontMetricsF>
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "core/numbers.h"
#include "platform/ui/qt_text.h"
#include "platform/ui/twips.h"
#include "window/event_guard.h"

namespace {

// The cell-part separator: NBSP, "||", NBSP (bytes, as every text here).
const std::string kCellPartSeparator = "\xA0||\xA0";

// Sets LeftCol with the refusal of a column it cannot scroll to suppressed; true
// when the grid took it.
bool tryLeftCol(grid::FlexGrid& grid, int col)
{
    if (col < 0 || col >= grid.Cols()) return false;
    grid.setLeftCol(col);
    return grid.LeftCol() == col;
}

// The hourglass for the length of a sort, the saved pointer back on every path.
class HourglassScope {
public:
    HourglassScope() : pointer_(gMousePointer) { MSE_Hourglass(); }
    ~HourglassScope() { MSE_PointerSet(pointer_); }
    HourglassScope(const HourglassScope&) = delete;
    HourglassScope& operator=(const HourglassScope&) = delete;

private:
    int pointer_;
};

// No repainting while rows move and cells are rewritten; Redraw is on at the end.
class RedrawOffScope {
public:
    explicit RedrawOffScope(grid::FlexGrid& grid) : grid_(grid) { grid_.setRedraw(false); }
    ~RedrawOffScope() { grid_.setRedraw(true); }
    RedrawOffScope(const RedrawOffScope&) = delete;
    RedrawOffScope& operator=(const RedrawOffScope&) = delete;

private:
    grid::FlexGrid& grid_;
};

// True when the grid has non-fixed rows and each cell of the column in them is a number.
bool columnIsNumeric(const grid::FlexGrid& grid, int col)
{
    if (grid.Rows() <= grid.FixedRows()) return false;
    double unused = 0;
    for (long r = grid.Rows() - 1; r >= grid.FixedRows(); --r)
        if (!core::parseNumber(grid.TextMatrix(r, col), unused)) return false;
    return true;
}

// The grid reads each cell as a number; the texts are shown as they were.
void sortNumeric(grid::FlexGrid& grid) { grid.setSort(grid::kSortNumericAscending); }

// Bottom-up, so that removing a row leaves the rows still to visit in place.
void sortText(grid::FlexGrid& grid)
{
    for (long r = grid.Rows() - 1; r >= grid.FixedRows(); --r) {
        bool empty = true;
        for (int c = 1; c < grid.Cols(); ++c) {
            const std::string& text = grid.TextMatrix(r, c);
            const std::size_t at = text.find(kCellPartSeparator);
            if (at != std::string::npos) grid.setTextMatrix(r, c, text.substr(at + kCellPartSeparator.size()));
            if (!grid.TextMatrix(r, c).empty()) empty = false;
        }
        if (empty) grid.RemoveItem(r);
    }
    grid.setSort(grid::kSortStringAscending);
}

}  // namespace

std::string GRDFLX_CellText(const grid::FlexGrid& grid, long row, long col)
{
    if (row < 0 || row >= grid.Rows() || col < 0 || col >= grid.Cols()) return {};
    return grid.TextMatrix(row, static_cast<int>(col));
}

void GRDFLX_CellSet(grid::FlexGrid& grid, long row, long col, const std::string& text)
{
    if (row >= grid.Rows()) grid.setRows(row + 1);
    if (col >= grid.Cols()) grid.setCols(static_cast<int>(col + 1));
    grid.setTextMatrix(row, static_cast<int>(col), text);
}

void GRDFLX_RedrawSet(grid::FlexGrid& grid, bool flag) { grid.setRedraw(flag); }

void GRID_SelColRange(const grid::FlexGrid& grid, long& first, long& last)
{
    first = std::min(grid.Col(), grid.ColSel());
    last = std::max(grid.Col(), grid.ColSel());
}

void GRID_SelRowRange(const grid::FlexGrid& grid, long& first, long& last)
{
    first = std::min(grid.Row(), grid.RowSel());
    last = std::max(grid.Row(), grid.RowSel());
}

long GRID_FixedColsWidth(const grid::FlexGrid& grid)
{
    long sum = 0;
    for (int c = 0; c < grid.FixedCols(); ++c) sum += grid.ColWidth(c);
    return sum;
}

long GRID_FixedRowsHeight(const grid::FlexGrid& grid)
{
    long sum = 0;
    for (long r = 0; r < grid.FixedRows(); ++r) sum += grid.RowHeight(r);
    return sum;
}

bool GRID_ColsFit(const grid::FlexGrid& grid, int first, int last, long startWidth)
{
    long sum = startWidth;
    for (int c = first; c <= last; ++c) {
        sum += grid.ColWidth(c);
        if (sum > grid.Width()) return false;
    }
    return true;
}

int GRID_ColAtX(const grid::FlexGrid& grid, double x)
{
    const long fixedWidth = GRID_FixedColsWidth(grid);
    const bool scrolled = x >= fixedWidth;
    double sum = scrolled ? fixedWidth : 0;
    const int end = scrolled ? grid.Cols() : grid.FixedCols();
    for (int c = scrolled ? grid.LeftCol() : 0; c < end; ++c) {
        sum += grid.ColWidth(c);
        if (x < sum) return c;
    }
    return -1;
}

long GRID_RowAtY(const grid::FlexGrid& grid, double y)
{
    const long fixedHeight = GRID_FixedRowsHeight(grid);
    const bool scrolled = y >= fixedHeight;
    double sum = scrolled ? fixedHeight : 0;
    const long end = scrolled ? grid.Rows() : grid.FixedRows();
    for (long r = scrolled ? grid.TopRow() : 0; r < end; ++r) {
        sum += grid.RowHeight(r);
        if (y <= sum) return r;
    }
    return -1;
}

void GRID_ShowCol(grid::FlexGrid& grid, int col)
{
    const long fixedWidth = GRID_FixedColsWidth(grid);
    if (col - 2 >= grid.FixedCols() && GRID_ColsFit(grid, col - 2, col, fixedWidth) && tryLeftCol(grid, col - 2))
        return;
    if (col - 1 >= grid.FixedCols() && GRID_ColsFit(grid, col - 1, col, fixedWidth) && tryLeftCol(grid, col - 1))
        return;
    if (tryLeftCol(grid, col)) return;
    for (int c = col - 2; c >= grid.FixedCols(); --c)
        if (tryLeftCol(grid, c)) return;
}

// The grid clamps TopRow itself, so one assignment does what stepping the row down
// until the grid takes it would do.
void GRID_TopRowSet(grid::FlexGrid& grid, long row)
{
    if (grid.Rows() == 0) return;
    grid.setTopRow(std::clamp(row, 0L, grid.Rows() - 1));
}

void GRID_ScrollRangeIntoView(grid::FlexGrid& grid, long row, long rowEnd, long col, long colEnd,
                              long& fixedRows, long& fixedCols)
{
    fixedRows = grid.FixedRows();
    fixedCols = grid.FixedCols();
    // A fixed cell cannot be selected.
    if (row < grid.FixedRows()) grid.setFixedRows(0);
    if (col < grid.FixedCols()) grid.setFixedCols(0);
    grid.setRow(row);
    grid.setCol(static_cast<int>(col));
    grid.setColSel(static_cast<int>(colEnd));
    grid.setRowSel(rowEnd);
    if (col < grid.LeftCol() || colEnd > GRID_ColAtX(grid, grid.Width() - grid.ColWidth(static_cast<int>(colEnd))))
        GRID_ShowCol(grid, static_cast<int>(col));
    if (grid.TopRow() != row &&
        (rowEnd > GRID_RowAtY(grid, grid.Height() - grid.RowHeight(rowEnd)) || row < grid.TopRow()))
        GRID_TopRowSet(grid, row);
}

// The selection is taken in whichever direction it was made, so that a selection
// dragged upwards or leftwards copies its cells instead of failing.
void GRID_CellsToArray(const grid::FlexGrid& grid, core::Table2D& table, bool selectedOnly)
{
    long firstRow = 0, lastRow = grid.Rows() - 1, firstCol = 0, lastCol = grid.Cols() - 1;
    if (selectedOnly) {
        GRID_SelRowRange(grid, firstRow, lastRow);
        GRID_SelColRange(grid, firstCol, lastCol);
    }
    if (lastRow < firstRow || lastCol < firstCol) {
        table.erase();
        return;
    }
    table.redim(0, lastRow - firstRow, 0, lastCol - firstCol);
    for (long r = firstRow; r <= lastRow; ++r)
        for (long c = firstCol; c <= lastCol; ++c)
            table.set(r - firstRow, c - firstCol, GRDFLX_CellText(grid, r, c));
}

bool GRDFLX_SortOnColumn(grid::FlexGrid& grid, bool allowed)
{
    HourglassScope hourglass;
    if (!allowed) return false;
    const bool numeric = grid.Col() == grid.ColSel() && columnIsNumeric(grid, grid.Col());
    RedrawOffScope redrawOff(grid);
    if (numeric) sortNumeric(grid);
    else sortText(grid);
    return true;
}

void GRID_WidenToRightAlignedText(grid::FlexGrid& grid)
{
    constexpr int kNarrowestTextColumn = 120;
    // A long cell does not push the columns after it out of the box.
    constexpr int kWidestColumn = 6000;
    const QFontMetricsF metrics(grid.font());
    for (int c = 0; c < grid.Cols(); ++c) {
        const int align = grid.ColAlignment(c);
        const bool right = align >= grid::FlexGrid::kRightTop && align <= grid::FlexGrid::kRightBottom;
        // A column narrower than a character is hidden or a stripe on purpose.
        if ((!right && align != grid::FlexGrid::kGeneral) || grid.ColWidth(c) < kNarrowestTextColumn) continue;
        // The lines that count, by their length in bytes; only the longest are measured,
        // which keeps this quick on reports of a million rows.
        std::vector<std::string> lines;
        std::size_t longest = 0;
        for (long r = grid.FixedRows(); r < grid.Rows(); ++r) {
            const std::string text = grid.TextMatrix(r, c);
            double unused = 0;
            if (text.empty() || (!right && !core::parseNumber(text, unused))) continue;
            for (std::size_t at = 0; at <= text.size();) {
                std::size_t end = text.find_first_of("\r\n", at);
                if (end == std::string::npos) end = text.size();
                if (const std::size_t size = end - at; size * 4 >= longest * 3 && size > 0) {
                    longest = std::max(longest, size);
                    lines.push_back(text.substr(at, size));
                }
                at = end + 1;
            }
            if (lines.size() > 4096) {
                std::partial_sort(lines.begin(), lines.begin() + 256, lines.end(),
                                  [](const std::string& a, const std::string& b) { return a.size() > b.size(); });
                lines.resize(256);
            }
        }
        double widest = 0;
        for (const std::string& line : lines)
            if (line.size() * 4 >= longest * 3) widest = std::max(widest, metrics.horizontalAdvance(ui::toQString(line)));
        const int need = static_cast<int>(std::ceil((widest + 8) * ui::twipsPerPixelX()));
        if (need > grid.ColWidth(c)) grid.setColWidth(c, std::min(need, std::max(kWidestColumn, grid.ColWidth(c))));
    }
}

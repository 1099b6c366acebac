#pragma once
// Operations on a grid for the dialog grids and the report grids: safe cell access,
// the selection, geometry of the visible part in twips, scrolling a range into view,
// copying cells into a table, and sorting on the selected column.
#include <string>

#include "core/table2d.h"
#include "platform/grid/flex_grid.h"

// The text of a cell, or "" for a cell outside the grid.
std::string GRDFLX_CellText(const grid::FlexGrid& grid, long row, long col);
// Sets a cell, growing Rows and Cols to reach it.
void GRDFLX_CellSet(grid::FlexGrid& grid, long row, long col, const std::string& text);
void GRDFLX_RedrawSet(grid::FlexGrid& grid, bool flag);

// The selection's first and last column (row), whichever way it was dragged.
void GRID_SelColRange(const grid::FlexGrid& grid, long& first, long& last);
void GRID_SelRowRange(const grid::FlexGrid& grid, long& first, long& last);

// Twips.
long GRID_FixedColsWidth(const grid::FlexGrid& grid);
long GRID_FixedRowsHeight(const grid::FlexGrid& grid);
// True when the columns first..last, after startWidth, fit into the grid's Width.
bool GRID_ColsFit(const grid::FlexGrid& grid, int first, int last, long startWidth);
// The column under x, -1 when none; x on a column's right edge is the next column.
int GRID_ColAtX(const grid::FlexGrid& grid, double x);
// The row under y, -1 when none; y on a row's lower edge is that row.
long GRID_RowAtY(const grid::FlexGrid& grid, double y);

// Scrolls so that the column shows, with up to two columns before it.
void GRID_ShowCol(grid::FlexGrid& grid, int col);
// Makes the row the top row, or the nearest one the grid can scroll to.
void GRID_TopRowSet(grid::FlexGrid& grid, long row);
// Selects the range and scrolls it into view. A range starting in a fixed row or
// column makes those rows or columns scrollable; the former counts come back so the
// caller can restore them.
void GRID_ScrollRangeIntoView(grid::FlexGrid& grid, long row, long rowEnd, long col, long colEnd,
                              long& fixedRows, long& fixedCols);

// The whole grid, fixed cells included, or only the selection, into a table of texts
// indexed from (0, 0).
void GRID_CellsToArray(const grid::FlexGrid& grid, core::Table2D& table, bool selectedOnly);

// Sorts the selected rows (all non-fixed rows when one row is selected) on the key
// columns Col..ColSel: a single column whose every non-fixed cell is a number by value,
// each cell keeping the text it shows; anything else as text, after dropping the rows
// empty beyond column 0 and the cell parts before the separator NBSP "||" NBSP. False,
// doing nothing, when not allowed.
bool GRDFLX_SortOnColumn(grid::FlexGrid& grid, bool allowed);

// A right-aligned column, and a column of general alignment for its numbers, grows to
// its widest cell below the fixed rows (to at most 6000 twips), so that no text in it
// is cut on the left. Columns narrower than a character (hidden ones, colour stripes)
// keep their width.
void GRID_WidenToRightAlignedText(grid::FlexGrid& grid);

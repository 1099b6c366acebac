#pragma once
// What the grid's save command writes: the grid's cells, the list of characters used
// in them, or the sorted lines of the current cell; and the writing itself. The
// save dialog that asks for the path and the choice sits on top of these.
#include <string>

#include "core/table2d.h"
#include "platform/grid/flex_grid.h"

namespace window {

enum class GridSaveKind {
    Contents,     // the cells (all, or the selection)
    Characters,   // each distinct character of those cells with its code
    SortedLines,  // the lines of the current cell, sorted, each behind a prefix
};

// The path offered first: the clipboard text when it is a full path ("/..." or a
// drive-letter path "x:\..."), else "".
std::string gridSavePathDefault(const std::string& clipboard);

// The path with ".csv" added when its file name has no suffix ("browse" is saved as
// "browse.csv", "notes.txt" stays as it is).
std::string gridSavePathWithSuffix(const std::string& path);

// The table to write, rows and columns from 0.
void gridSaveTable(const grid::FlexGrid& grid, GridSaveKind kind, const std::string& prefix,
                   bool selectedOnly, core::Table2D& table);

// Writes the table as a new CSV file and returns what to tell the user.
std::string gridSaveWrite(const std::string& path, const core::Table2D& table);

}  // namespace window

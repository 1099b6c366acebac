#pragma once
// The save command of a dialog grid (its F2 key): asks for a new file's path and what
// to write (the cells, the characters used in them, or the sorted lines of the current
// cell), writes it as CSV and says how it went.
#include "platform/grid/flex_grid.h"

// The choice of the last save, offered again by the next one.
inline bool gGridSaveChars = false;
inline bool gGridSaveSorted = false;

void GRID_SaveAsCsv(grid::FlexGrid& grid);

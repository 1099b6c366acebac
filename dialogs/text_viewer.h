#pragma once
// Shows a text of any length, control characters included, as two fixed-pitch
// listings in a message box: the text 80 characters a row, and a hex dump.
#include <string>

// The viewer with four cells a row and labels; when the text is too large to show,
// offers its first 10,000 characters instead. The pressed button, 0 when nothing was
// shown.
int HEX_ShowText(const std::string& text, const std::string& caption, const std::string& extraText);

// Both listings of the text, `cellsPerRow` cells of four characters a row in the dump
// (below 1 counts as 1), labelled when `labels` is set. The pressed button.
int HEX_TextViewer(const std::string& caption, const std::string& text, int cellsPerRow, bool labels,
                   const std::string& extraText);

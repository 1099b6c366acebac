#pragma once
// The two listings of the hex and text viewer: the text in rows of 5 x R cells of four
// bytes, and a hex dump of R cells a row showing each cell's bytes and their codes.
// A byte is one character. Every byte that would not take exactly one column on screen
// (controls, DEL, and bytes of 128 and more, which are parts of UTF-8 sequences) shows
// as a placeholder in the text parts; the hex parts keep the true codes.
#include <string>
#include <vector>

// Splits the text into cells of `charsPerCell` bytes: the text form (the last cell
// padded with blanks) and the hex form (separator and two upper-case hex digits per
// byte, blanks of the same width for the padding).
void HEX_TextToCells(const std::string& text, int charsPerCell, std::vector<std::string>& textCells,
                     std::vector<std::string>& hexCells, const std::string& separator = " ");

// Lays cells out `cellsPerRow` a row: the label ((r - 1) x step + 1, left-aligned one
// column wider than the largest label; none when the step is 0), the text cells, then
// the hex cells when there are any. Missing cells of the last row are blank.
void HEX_CellsToRows(const std::vector<std::string>& textCells, const std::vector<std::string>& hexCells,
                     std::vector<std::string>& rows, int cellsPerRow, const std::string& textSeparator,
                     const std::string& hexLead, const std::string& hexSeparator, long labelStep);

namespace window {

struct HexListings {
    std::vector<std::string> text;  // 5 x R cells a row, labelled 1, 6, 11, ...
    std::vector<std::string> hex;   // R cells a row, labelled 1, 2, 3, ...
};

// Both listings of the viewer, placeholders in; a negative R counts as 1.
HexListings hexListings(const std::string& text, int cellsPerRow, bool labels);

// Shown for a byte that would not take one column.
inline const std::string kHexPlaceholder = "\xC2\xB7";  // middle dot, UTF-8

}  // namespace window

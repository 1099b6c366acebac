#include "window/hex_listing.h"

#include <algorithm>

namespace {

constexpr int kCharsPerCell = 4;

bool takesOneColumn(unsigned char b) { return b >= 32 && b < 127; }

std::string withPlaceholders(const std::string& row)
{
    std::string out;
    out.reserve(row.size());
    for (char ch : row) {
        if (takesOneColumn(static_cast<unsigned char>(ch))) out += ch;
        else out += window::kHexPlaceholder;
    }
    return out;
}

// Cells first..last of a row joined by the separator; missing ones as blanks of the
// width of a full cell.
std::string joinCells(const std::vector<std::string>& cells, std::size_t first, std::size_t count,
                      std::size_t width, const std::string& separator)
{
    std::string out;
    for (std::size_t k = 0; k < count; ++k) {
        if (k > 0) out += separator;
        out += first + k < cells.size() ? cells[first + k] : std::string(width, ' ');
    }
    return out;
}

}  // namespace

void HEX_TextToCells(const std::string& text, int charsPerCell, std::vector<std::string>& textCells,
                     std::vector<std::string>& hexCells, const std::string& separator)
{
    static const char digits[] = "0123456789ABCDEF";
    textCells.clear();
    hexCells.clear();
    const std::size_t size = static_cast<std::size_t>(std::max(1, charsPerCell));
    for (std::size_t at = 0; at < text.size(); at += size) {
        std::string cell = text.substr(at, size);
        std::string hex;
        for (char ch : cell) {
            const unsigned char b = static_cast<unsigned char>(ch);
            hex += separator;
            hex += digits[b >> 4];
            hex += digits[b & 0x0F];
        }
        hex.append((size - cell.size()) * (separator.size() + 2), ' ');
        cell.append(size - cell.size(), ' ');
        textCells.push_back(std::move(cell));
        hexCells.push_back(std::move(hex));
    }
}

void HEX_CellsToRows(const std::vector<std::string>& textCells, const std::vector<std::string>& hexCells,
                     std::vector<std::string>& rows, int cellsPerRow, const std::string& textSeparator,
                     const std::string& hexLead, const std::string& hexSeparator, long labelStep)
{
    rows.clear();
    const std::size_t perRow = static_cast<std::size_t>(std::max(1, cellsPerRow));
    const std::size_t count = (textCells.size() + perRow - 1) / perRow;
    const std::size_t textWidth = textCells.empty() ? 0 : textCells.front().size();
    const std::size_t hexWidth = hexCells.empty() ? 0 : hexCells.front().size();
    const std::size_t labelWidth =
        labelStep == 0 || count == 0 ? 0 : std::to_string((count - 1) * labelStep + 1).size() + 1;
    for (std::size_t r = 0; r < count; ++r) {
        std::string row;
        if (labelWidth > 0) {
            row = std::to_string(r * labelStep + 1);
            row.append(labelWidth - row.size(), ' ');
        }
        row += joinCells(textCells, r * perRow, perRow, textWidth, textSeparator);
        if (!hexCells.empty()) row += hexLead + joinCells(hexCells, r * perRow, perRow, hexWidth, hexSeparator);
        rows.push_back(std::move(row));
    }
}

namespace window {

HexListings hexListings(const std::string& text, int cellsPerRow, bool labels)
{
    const int perRow = cellsPerRow < 0 ? 1 : std::max(1, cellsPerRow);
    std::vector<std::string> textCells, hexCells;
    HEX_TextToCells(text, kCharsPerCell, textCells, hexCells, " ");

    HexListings out;
    HEX_CellsToRows(textCells, {}, out.text, 5 * perRow, " ", "", "", labels ? 5 : 0);
    HEX_CellsToRows(textCells, hexCells, out.hex, perRow, " ", "       ", "  ", labels ? 1 : 0);
    // Labels, separators and hex digits are plain ASCII: only text bytes change.
    for (auto* rows : {&out.text, &out.hex})
        std::transform(rows->begin(), rows->end(), rows->begin(), withPlaceholders);
    return out;
}

}  // namespace window

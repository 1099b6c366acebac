#include "window/grid_save.h"

#include <algorithm>
#include <vector>

#include "core/file_names.h"
#include "core/progress.h"
#include "core/text.h"
#include "window/csv_files.h"
#include "window/grid_operations.h"

namespace window {

namespace {

bool isContinuation(unsigned char b) { return (b & 0xC0) == 0x80; }

// Length of the UTF-8 sequence at `at` and its code point; an invalid byte is one
// character of its own, its code the byte (as Latin-1 reads it).
std::size_t nextCharacter(const std::string& text, std::size_t at, long& code)
{
    const unsigned char lead = static_cast<unsigned char>(text[at]);
    code = lead;
    const std::size_t len = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 1;
    if (len == 1 || lead > 0xF4 || at + len > text.size()) return 1;
    long cp = lead & (0x7F >> len);
    for (std::size_t k = 1; k < len; ++k) {
        const unsigned char b = static_cast<unsigned char>(text[at + k]);
        if (!isContinuation(b)) return 1;
        cp = (cp << 6) | (b & 0x3F);
    }
    const long minimum = len == 2 ? 0x80 : len == 3 ? 0x800 : 0x10000;
    if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 1;
    code = cp;
    return len;
}

// Distinct characters in order of first appearance, case counting; column 1 the code,
// and the rows ordered by the code's text, as the old lists were ("100" before "65").
void charactersTable(const core::Table2D& cells, core::Table2D& table)
{
    std::vector<std::string> seen;
    std::vector<long> codes;
    for (long r = cells.rowLBound(); r <= cells.rowUBound(); ++r)
        for (long c = cells.colLBound(); c <= cells.colUBound(); ++c) {
            const std::string text = ARR_Item2D(cells, r, c);
            for (std::size_t at = 0; at < text.size();) {
                long code = 0;
                const std::size_t len = nextCharacter(text, at, code);
                std::string ch = text.substr(at, len);
                at += len;
                if (std::find(seen.begin(), seen.end(), ch) != seen.end()) continue;
                seen.push_back(std::move(ch));
                codes.push_back(code);
            }
        }
    table.erase();
    if (seen.empty()) return;
    table.redim(0, static_cast<long>(seen.size()) - 1, 0, 1);
    for (std::size_t i = 0; i < seen.size(); ++i) {
        table.set(static_cast<long>(i), 0, seen[i]);
        table.set(static_cast<long>(i), 1, codes[i]);
    }
    core::LngArray keys;
    keys.redim(0, 0);
    keys.set(0, 1);
    ARR_Sort2D(table, keys, 1);
}

// The lines of the text (CR, LF or CR LF end a line) in text order ignoring case,
// empty lines first.
std::vector<std::string> sortedLines(const std::string& text)
{
    std::vector<std::string> lines(1);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            lines.emplace_back();
        } else {
            lines.back() += text[i];
        }
    }
    core::sortIgnoringCase(lines);
    return lines;
}

}  // namespace

std::string gridSavePathDefault(const std::string& clipboard)
{
    const bool driveLetter = clipboard.size() >= 3 && clipboard[1] == ':' && clipboard[2] == '\\';
    const bool absolute = !clipboard.empty() && clipboard[0] == '/';
    return driveLetter || absolute ? clipboard : std::string();
}

std::string gridSavePathWithSuffix(const std::string& path)
{
    const std::string name = FILENAM_FileName(path);
    return name.empty() || name.find('.') != std::string::npos ? path : path + ".csv";
}

void gridSaveTable(const grid::FlexGrid& grid, GridSaveKind kind, const std::string& prefix,
                   bool selectedOnly, core::Table2D& table)
{
    if (kind == GridSaveKind::SortedLines) {
        const std::vector<std::string> lines = sortedLines(GRDFLX_CellText(grid, grid.Row(), grid.Col()));
        table.redim(0, static_cast<long>(lines.size()) - 1, 0, 0);
        for (std::size_t i = 0; i < lines.size(); ++i) table.set(static_cast<long>(i), 0, prefix + lines[i]);
        return;
    }
    GRID_CellsToArray(grid, table, selectedOnly);
    if (kind == GridSaveKind::Characters) {
        core::Table2D cells = std::move(table);
        charactersTable(cells, table);
    }
}

std::string gridSaveWrite(const std::string& path, const core::Table2D& table)
{
    // No window for this report; the switch is cleared even when the file never opens.
    const PIS_QuietScope quiet;
    if (CSV_WriteFile(path, "E", "", "", table, ",", 0, 0)) return "Data written successfully to file: " + path;
    return "Error when try to write data. Not complete.";
}

}  // namespace window

#include "window/csv_files.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <regex>
#include <string_view>

#include "core/progress.h"
#include "platform/sys/rt_error.h"

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// A number as the reports write it ("-1,234", "+0.5", "-3.0 %"), which a spreadsheet
// should read as a number.
bool plainNumber(const std::string& text)
{
    static const std::regex number(R"([+-]?[0-9][0-9,]*(\.[0-9]+)?( ?%)?)");
    return std::regex_match(text, number);
}

// A cell's text as a spreadsheet takes it: line breaks dropped, quotes doubled, and a
// text a spreadsheet would run as a formula ("=HYPERLINK(...)", "@SUM(...)", "-2+3")
// behind a "'", which makes it plain text there. True in `quote` when it held a quote.
std::string csvText(const std::string& text, bool& quote)
{
    std::string field;
    field.reserve(text.size() + 3);
    quote = false;
    for (char ch : text) {
        if (ch == '\r' || ch == '\n') continue;
        if (ch == '"') {
            field += '"';
            quote = true;
        }
        field += ch;
    }
    if (!field.empty() && std::string_view("=+-@\t").find(field.front()) != std::string_view::npos &&
        !plainNumber(field))
        field.insert(0, 1, '\'');
    return field;
}

std::string csvField(const std::string& text, const std::string& separator)
{
    bool quote = false;
    const std::string field = csvText(text, quote);
    if (!quote && !separator.empty() && field.find(separator) != std::string::npos) quote = true;
    return quote ? '"' + field + '"' : field;
}

// The header and footer lines are always one quoted field.
std::string csvQuoted(const std::string& text)
{
    bool quote = false;
    return '"' + csvText(text, quote) + '"';
}

bool writeLine(std::FILE* f, const std::string& line)
{
    return std::fwrite(line.data(), 1, line.size(), f) == line.size() && std::fwrite("\r\n", 1, 2, f) == 2;
}

}  // namespace

bool CSV_WriteFile(const std::string& fileName, const std::string& ifExists, const std::string& header,
                   const std::string& footer, const core::Table2D& table, const std::string& separator,
                   long firstRow, long firstCol)
{
    // "x" opens only a file that does not exist yet, so "E" cannot replace one.
    const char* mode = ifExists == "E" ? "wbx" : ifExists == "D" ? "wb" : ifExists == "A" ? "ab" : nullptr;
    if (!mode) sys::raise(5, "CSV_WriteFile");
    // Closed on every way out, a Stop (error 1066 from the update) included.
    File f(std::fopen(fileName.c_str(), mode));
    if (!f) return false;

    long report = 0;
    PIS_Start("Writing CSV file " + fileName + ". Please wait ....", "rows", std::max(0L, table.rowUBound()), "",
              report, 0, -1, true);
    bool ok = writeLine(f.get(), csvQuoted(header));
    for (long r = firstRow; ok && r <= table.rowUBound(); ++r) {
        std::string line;
        for (long c = firstCol; c <= table.colUBound(); ++c) {
            if (c > firstCol) line += separator;
            line += csvField(ARR_Item2D(table, r, c), separator);
        }
        ok = writeLine(f.get(), line);
        int64_t done = r;
        PIS_Update(done, "", report);
    }
    ok = ok && writeLine(f.get(), csvQuoted(footer));
    ok = std::fclose(f.release()) == 0 && ok;
    PIS_End(report, false);
    return ok;
}

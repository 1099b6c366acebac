#include "window/csv_files.h"

#include <algorithm>
#include <cstdio>
#include <memory>

#include "core/progress.h"
#include "platform/sys/rt_error.h"

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

std::string csvField(std::string text, const std::string& separator)
{
    std::string field;
    field.reserve(text.size() + 2);
    bool quote = false;
    for (char ch : text) {
        if (ch == '\r' || ch == '\n') continue;
        if (ch == '"') {
            field += '"';
            quote = true;
        }
        field += ch;
    }
    if (!quote && !separator.empty() && field.find(separator) != std::string::npos) quote = true;
    return quote ? '"' + field + '"' : field;
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
    bool ok = writeLine(f.get(), '"' + header + '"');
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
    ok = ok && writeLine(f.get(), '"' + footer + '"');
    ok = std::fclose(f.release()) == 0 && ok;
    PIS_End(report, false);
    return ok;
}

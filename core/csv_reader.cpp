#include "core/csv_reader.h"

#include <algorithm>
#include <cmath>

#include "core/dates.h"
#include "core/file_open.h"
#include "core/numbers.h"
#include "core/progress.h"
#include "core/vb_format.h"
#include "platform/sys/file.h"
#include "platform/sys/rt_error.h"

namespace core::csv {

namespace {

bool startsWithMarker(std::string_view line, std::string_view marker) {
    if (line.substr(0, marker.size()) == marker) return true;
    return !line.empty() && line[0] == '"' && line.substr(1, marker.size()) == marker;
}

}  // namespace

Row splitLine(std::string_view line, std::string_view separator, bool ignoreQuotes, bool& inQuotes) {
    Row fields(1);
    bool sepMatches = separator.size() == 1;
    for (char c : line) {
        if (c == '"' && !ignoreQuotes) {
            inQuotes = !inQuotes;
        } else if (sepMatches && c == separator[0] && !inQuotes) {
            fields.emplace_back();
        } else {
            fields.back() += c;
        }
    }
    return fields;
}

bool readBlock(const LineSource& nextLine, const ReadSpec& spec, std::vector<Row>& rows, int& status,
               const Progress& progress, const RowFilter& take) {
    status = kFound;
    std::string line;
    std::int64_t done = 0;
    auto report = [&](const std::string& message) {
        if (progress) progress(done, message);
    };

    if (!spec.startText.empty()) {
        while (true) {
            if (!nextLine(line)) {
                status = kNoStart;
                return false;
            }
            done += static_cast<std::int64_t>(line.size());
            report("Looking for start text");
            if (startsWithMarker(line, spec.startText)) break;
        }
    }

    bool inQuotes = false;
    long sinceReport = 0;
    long highestColumn = 0;
    while (nextLine(line)) {
        done += static_cast<std::int64_t>(line.size());
        sinceReport += static_cast<long>(line.size());
        if (sinceReport > 2000) {
            sinceReport = 0;
            if (!rows.empty()) {
                long column = spec.columnsFirst ? 1 : std::min(highestColumn, 1L);
                long k = column - spec.firstColumn;
                const Row& last = rows.back();
                std::string cell = k >= 0 && k < static_cast<long>(last.size()) ? last[static_cast<size_t>(k)] : "";
                report("Loading data. Last data loaded: " + cell);
            }
        }
        if (startsWithMarker(line, spec.endText)) return true;
        Row fields = splitLine(line, spec.separator, spec.ignoreQuotes, inQuotes);
        if (take && !take(fields)) continue;
        for (size_t k = 0; k < fields.size(); ++k)
            if (!fields[k].empty()) highestColumn = std::max(highestColumn, spec.firstColumn + static_cast<long>(k));
        rows.push_back(std::move(fields));
    }
    status = kNoEnd;
    return false;
}

}  // namespace core::csv

namespace {

enum class RangeKind { Dates, Numbers, Texts };

bool isNumber(const core::Variant& v) {
    return std::holds_alternative<long>(v) || std::holds_alternative<double>(v);
}

double numberOf(const core::Variant& v) {
    return std::holds_alternative<long>(v) ? static_cast<double>(std::get<long>(v)) : std::get<double>(v);
}

// The line filter of a key column and a range, as the reader applies it.
core::csv::RowFilter rangeFilter(const core::Variant& start, const core::Variant& end, int keyColumn,
                                 long firstColumn) {
    if (start.index() != end.index()) sys::raise(9994, "CSV_ReadCore");
    if (keyColumn < 1) return {};
    RangeKind kind = std::holds_alternative<core::DateTime>(start) ? RangeKind::Dates
                     : isNumber(start)                            ? RangeKind::Numbers
                                                                  : RangeKind::Texts;
    std::string startText = core::vbCStr(start), endText = core::vbCStr(end);
    return [=](const core::csv::Row& fields) {
        long k = keyColumn - firstColumn;
        std::string field = k >= 0 && k < static_cast<long>(fields.size()) ? fields[static_cast<size_t>(k)] : "";
        switch (kind) {
        case RangeKind::Dates: {
            auto d = core::parseDateText(field);
            if (!d) return true;
            double day = std::floor(*d);
            return std::floor(std::get<core::DateTime>(start).serial) <= day &&
                   day <= std::floor(std::get<core::DateTime>(end).serial);
        }
        case RangeKind::Numbers: {
            double n = 0;
            if (!core::parseNumber(field, n)) return true;
            return numberOf(start) <= n && n <= numberOf(end);
        }
        case RangeKind::Texts: return startText <= field && field <= endText;
        }
        return true;
    };
}

// Puts the rows into the table with exact bounds, starting from a single empty cell.
void fillTable(core::Table2D& table, const std::vector<core::csv::Row>& rows, bool columnsFirst, long firstRow,
               long firstColumn) {
    long lastRow = rows.empty() ? 0 : firstRow + static_cast<long>(rows.size()) - 1;
    long lastColumn = 0;
    for (const auto& r : rows) lastColumn = std::max(lastColumn, firstColumn + static_cast<long>(r.size()) - 1);
    lastRow = std::max(lastRow, 0L);
    if (columnsFirst)
        table.redim(0, lastColumn, 0, lastRow);
    else
        table.redim(0, lastRow, 0, lastColumn);
    for (size_t i = 0; i < rows.size(); ++i) {
        long row = firstRow + static_cast<long>(i);
        for (size_t k = 0; k < rows[i].size(); ++k) {
            long column = firstColumn + static_cast<long>(k);
            if (row < 0 || column < 0) continue;  // below the table's first index
            if (columnsFirst)
                table.set(column, row, rows[i][k]);
            else
                table.set(row, column, rows[i][k]);
        }
    }
}

}  // namespace

bool CSV_ReadFile(const std::string& fileName, const std::string& startText, const std::string& endText,
                  core::Table2D& table, int& status, int& columnsFirst, int ignoreQuotes,
                  const std::string& separator, long& firstRow, long& firstColumn) {
    return CSV_ReadCore(fileName, startText, endText, std::string(), std::string(), -1, table, status,
                        columnsFirst, ignoreQuotes, separator, firstRow, firstColumn);
}

bool CSV_ReadCore(const std::string& fileName, const std::string& startText, const std::string& endText,
                  const core::Variant& rangeStart, const core::Variant& rangeEnd, int keyColumn,
                  core::Table2D& table, int& status, int& columnsFirst, int ignoreQuotes,
                  const std::string& separator, long& firstRow, long& firstColumn) {
    status = core::csv::kFound;
    table.redim(0, 0, 0, 0);
    auto take = rangeFilter(rangeStart, rangeEnd, keyColumn, firstColumn);
    sys::File file;
    std::string options;
    gOpenIfMissing = std::string(1, 'E');  // a missing file is reported by the opener
    if (!OPENBIN_OpenForRead(fileName, file, options)) return false;
    long length = file.length();
    if (length == 0) return false;
    core::csv::ReadSpec spec{startText, endText, separator, ignoreQuotes != 0, firstColumn, columnsFirst != 0};
    std::vector<core::csv::Row> rows;
    long reportNo = 0;
    PIS_Start("Reading CSV file " + fileName + ". Please wait ....", "bytes", static_cast<std::int64_t>(length), "",
              reportNo, 0, -1, true);
    auto progress = [&](std::int64_t done, const std::string& message) { PIS_Update(done, message, reportNo); };
    bool found = false;
    try {
        found = core::csv::readBlock([&](std::string& line) { return file.readLine(line); }, spec, rows, status,
                                     progress, take);
        PIS_End(reportNo);
    } catch (...) {
        fillTable(table, rows, columnsFirst != 0, firstRow, firstColumn);
        throw;
    }
    fillTable(table, rows, columnsFirst != 0, firstRow, firstColumn);
    return found;
}

#pragma once
// Reading comma-separated text: the lines between a start text and an end text (how
// table definitions are read) into rows of fields. Every quote character is dropped,
// so a doubled quote inside a quoted field vanishes; the writer (window/csv_files.h)
// doubles them, and the asymmetry is the format as the program has it.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/table2d.h"
#include "core/variant.h"

namespace core::csv {

// Reading outcomes, as the status the callers test.
inline constexpr int kFound = -1;    // the end text was found (or nothing was read)
inline constexpr int kNoStart = -4;  // the file ended before a line with the start text
inline constexpr int kNoEnd = -5;    // the file ended before a line with the end text

struct ReadSpec {
    std::string startText;  // empty: data begins at the first line
    std::string endText;    // empty: matches every line, so no data is read
    std::string separator = ",";  // one character; a longer one never matches
    bool ignoreQuotes = false;
    long firstColumn = 1;   // the number of a line's first field
    bool columnsFirst = false;  // only for the progress text: which cell was "last loaded"
};

using Row = std::vector<std::string>;

// What the reader reports as it goes: characters read so far (line ends not counted)
// and the message to show.
using Progress = std::function<void(std::int64_t charsRead, const std::string& message)>;
// Decides whether a line's fields become a row; every line is taken without one.
using RowFilter = std::function<bool(const Row& fields)>;

// Gives the next line without its line end; false at the end of the text.
using LineSource = std::function<bool(std::string& line)>;

// Rows read before a failure stay in `rows`. Returns true when the end text was
// found; `status` is kFound, kNoStart or kNoEnd.
bool readBlock(const LineSource& nextLine, const ReadSpec& spec, std::vector<Row>& rows, int& status,
               const Progress& progress = {}, const RowFilter& take = {});

// Splits one line; `inQuotes` carries an open quote over to the next line.
Row splitLine(std::string_view line, std::string_view separator, bool ignoreQuotes, bool& inQuotes);

}  // namespace core::csv

// Reads the block between the start and end texts into the table: cell (row, column),
// or (column, row) when columnsFirst is set, rows numbered from firstRow and a line's
// fields from firstColumn. The table is first reset to one empty cell and ends with
// exact bounds. Cells hold the fields' texts. False when the file cannot be read or
// is empty (status -1) or when a marker is missing (status -4 or -5); rows read until
// then are kept, also when a Stop (error 1066) ends the reading. Progress is shown
// in bytes read; the file is opened through the file opener, which reports a missing
// one. Lines may end in LF, CR LF or CR.
bool CSV_ReadFile(const std::string& fileName, const std::string& startText, const std::string& endText,
                  core::Table2D& table, int& status, int& columnsFirst, int ignoreQuotes,
                  const std::string& separator, long& firstRow, long& firstColumn);
// As CSV_ReadFile, keeping only the lines whose field numbered keyColumn (from 1)
// lies from rangeStart to rangeEnd: compared as dates when both bounds are dates, as
// numbers when both are numbers, else as texts; a field that is not a date or number
// is kept. A key column below 1 keeps every line. Error 9994 when the bounds are of
// different types.
bool CSV_ReadCore(const std::string& fileName, const std::string& startText, const std::string& endText,
                  const core::Variant& rangeStart, const core::Variant& rangeEnd, int keyColumn,
                  core::Table2D& table, int& status, int& columnsFirst, int ignoreQuotes,
                  const std::string& separator, long& firstRow, long& firstColumn);

#pragma once
// Writing a table as a CSV file. A field is quoted only when it holds the separator or
// a double quote (inner quotes doubled); CR and LF inside a field are dropped; every
// line ends in CR LF. The header and footer lines are always written, each in quotes.
#include <string>

#include "core/table2d.h"

// Writes rows firstRow.. and columns firstCol.. of the table under a progress report
// that counts rows; a Stop ends the writing with error 1066. ifExists: "E" refuses an
// existing file, "D" replaces it, "A" appends to it. False when the file cannot be
// opened or written. A refused file is left as it was; a failed one keeps what was
// written before the failure.
bool CSV_WriteFile(const std::string& fileName, const std::string& ifExists, const std::string& header,
                   const std::string& footer, const core::Table2D& table, const std::string& separator,
                   long firstRow, long firstCol);

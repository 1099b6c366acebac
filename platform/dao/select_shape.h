#pragma once
// Tells a SELECT over one table, whose rows can be named by their rowid and so be
// edited and deleted, from any other query. Internal to the database layer.
#include <string>
#include <string_view>

namespace dao::detail {

struct SelectShape {
    bool singleTable = false;
    std::string columns;  // the text between SELECT and FROM
    std::string table;    // as written
    std::string rest;     // WHERE and ORDER BY clauses, if any
};

// singleTable is set for "SELECT <columns> FROM <table> [WHERE ...] [ORDER BY ...]"
// with no grouping, joins, compound parts, limits, DISTINCT or parameters among the
// columns; anything else is read as a whole.
SelectShape analyseSelect(std::string_view sql);

}  // namespace dao::detail

#pragma once
// Table definitions in the old engine's terms (field types, sizes, attributes,
// indexes) and how they become SQLite columns. A table is always created whole: one
// CREATE TABLE and its CREATE INDEX statements, so a failure leaves nothing behind.
#include <string>
#include <string_view>
#include <vector>

#include "platform/dao/value.h"

namespace dao {

// The old engine's type numbers; callers and definition files use them.
enum class FieldType : int {
    None = 0,
    Boolean = 1,
    Byte = 2,
    Integer = 3,   // 16-bit
    Long = 4,      // 64-bit here, so time stamps fit
    Currency = 5,
    Single = 6,
    Double = 7,
    Date = 8,      // date serial: days since 30 December 1899
    Text = 10,
    LongBinary = 11,
    Memo = 12,
};

enum FieldAttribute : long {
    kFixedField = 1,
    kAutoIncrField = 16,
};

struct Field {
    std::string name;
    FieldType type = FieldType::None;
    int size = 0;                 // characters (bytes) for Text; 0 means no limit
    long attributes = 0;          // FieldAttribute bits
    bool allowZeroLength = false; // Text only
};

struct Index {
    std::string name;
    std::string fields;  // "a;b", each optionally prefixed "+" or "-" (descending)
    bool unique = false;
    bool primary = false;
    // A partial index: only the rows where this field is Null (or, with `rowsNotNull`,
    // is not Null). Empty: every row.
    std::string rowsField = {};
    bool rowsNotNull = false;
};

struct TableDef {
    std::string name;
    std::vector<Field> fields;
    std::vector<Index> indexes;
};

// True for 1 to 64 characters, each an ASCII letter, digit or "_".
bool isValidName(std::string_view name);
// Raises error 3125 unless isValidName.
void checkName(std::string_view name);
// The name quoted for SQL (checked first).
std::string quoted(std::string_view name);

// The quoted name SQLite knows the table's index by.
std::string indexSqlName(std::string_view table, std::string_view index);
// The SQL that creates one index of the table (its fields checked against the table).
std::string createIndexSql(const TableDef& def, const Index& ix);

// The SQL that creates the table and its indexes, in order. Raises 3259 for a field
// without a type, 3191 for a field named twice, 3284 for an index named twice and
// 3125 for a bad name.
std::vector<std::string> createTableSql(const TableDef& def);

// How a column was declared, read back from its SQLite type name.
struct ColumnType {
    FieldType type = FieldType::None;  // None: a column we did not declare
    int size = 0;
};
ColumnType columnTypeFromDecl(std::string_view declaredType);

// The value as the column stores it: integer columns round half to even and clamp to
// their range, Booleans become -1/0, text is checked against the column's size
// (3163) and numbers written to text columns become text. Raises 3421 for a value
// the column cannot take.
Value coerceForColumn(const Value& v, const ColumnType& column, std::string_view columnName);

}  // namespace dao

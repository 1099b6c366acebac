#include "shell/table_building.h"

#include <filesystem>
#include <fstream>

#include "core/csv_files.h"
#include "core/numbers.h"
#include "core/text.h"
#include "platform/dao/database.h"
#include "platform/sys/rt_error.h"

namespace {

constexpr const char* kBuilder = "BLDTBL_BuildTableFromDef";

using Rows = std::vector<std::vector<std::string>>;

const std::string& cell(const std::vector<std::string>& row, size_t index) {
    static const std::string empty;
    return index < row.size() ? row[index] : empty;
}

dao::Field fieldFromRow(const std::vector<std::string>& row, size_t blockColumns, bool allowZeroLength) {
    dao::Field f;
    f.name = cell(row, 0);
    f.size = static_cast<int>(core::roundHalfEven(TXT_Val(cell(row, 2))));
    f.type = static_cast<dao::FieldType>(BLDTBL_FieldTypeFromName(cell(row, 1)));
    if (f.type == dao::FieldType::Text) f.allowZeroLength = allowZeroLength;
    f.attributes = cell(row, 1) == "Counter" ? long{dao::kAutoIncrField} : 0L;
    // Options may follow comments: every cell from the fourth on is looked at.
    for (size_t c = 3; c < blockColumns; ++c) {
        const std::string& option = cell(row, c);
        if (option.empty() || option[0] == '\'') continue;
        if (option != "FI") sys::raise(1103, kBuilder);
        f.attributes |= dao::kFixedField;
    }
    return f;
}

dao::Index indexFromRow(const std::vector<std::string>& row) {
    dao::Index ix;
    ix.name = cell(row, 0);
    ix.fields = cell(row, 1);
    const std::string& unique = cell(row, 2);
    if (unique == "UQ" || unique == "uq")
        ix.unique = true;
    else if (!unique.empty() && unique != " ")
        sys::raise(1109, kBuilder);
    const std::string& primary = cell(row, 3);
    static const char* const primaryWords[] = {"P", "p", "primary", "Primary", "prim", "Prim"};
    if (std::find(std::begin(primaryWords), std::end(primaryWords), primary) != std::end(primaryWords))
        ix.primary = true;
    else if (!primary.empty())
        sys::raise(1110, kBuilder);
    return ix;
}

bool fileFound(const std::string& path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec);
}

// Reads one block of a definition file; false when the file ends before the block does.
bool readBlock(const std::string& path, const std::string& name, Rows& rows) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    int status = 0;
    return core::csv::readBlock(in, {name + " START", name + " END"}, rows, status);
}

}  // namespace

int BLDTBL_FieldTypeFromName(const std::string& typeName) {
    struct Type { const char* name; int number; };
    static const Type types[] = {
        {"String", 10}, {"A", 10},   {"Counter", 4},  {"True/False", 1}, {"L", 1},
        {"Byte", 2},    {"Integer", 3}, {"N", 3},     {"Long", 4},       {"P", 4},
        {"Currency", 5}, {"Single", 6}, {"Double", 7}, {"Date/Time", 8},  {"Binary", 11},
        {"B", 11},      {"Memo", 12},
    };
    for (const auto& t : types)
        if (typeName == t.name) return t.number;
    return 0;
}

namespace shell {

dao::TableDef tableDefFromRows(const std::string& tableName, const Rows& fieldRows, const Rows& indexRows,
                               bool allowZeroLength) {
    dao::TableDef def;
    def.name = tableName;
    size_t blockColumns = 0;
    for (const auto& row : fieldRows) blockColumns = std::max(blockColumns, row.size());
    for (const auto& row : fieldRows) def.fields.push_back(fieldFromRow(row, blockColumns, allowZeroLength));
    for (const auto& row : indexRows) def.indexes.push_back(indexFromRow(row));
    return def;
}

}  // namespace shell

bool BLDTBL_BuildTableFromDef(const std::string& tableName, const std::string& dbPath, const std::string& defFile,
                              bool& allowZeroLength) {
    if (dbPath.find('*') != std::string::npos) sys::raise(1104, kBuilder);
    if (!fileFound(dbPath)) sys::raise(1105, kBuilder);
    dao::Database db(dbPath);
    if (tableName.empty() || tableName.size() > 40) sys::raise(1101, kBuilder);
    if (!TXT_IsWordChars(tableName)) sys::raise(1102, kBuilder);
    const std::string& defPath = defFile;
    if (defPath.find('*') != std::string::npos) sys::raise(1106, kBuilder);
    if (!fileFound(defPath)) sys::raise(1107, kBuilder);

    Rows fieldRows, indexRows;
    if (!readBlock(defPath, "FIELD DEFINITIONS", fieldRows)) return false;
    if (fieldRows.empty() || (fieldRows.size() == 1 && cell(fieldRows[0], 0).empty())) return false;
    bool haveIndexes = readBlock(defPath, "INDEX DEFINITIONS", indexRows);
    if (!haveIndexes) indexRows.clear();
    db.createTable(shell::tableDefFromRows(tableName, fieldRows, indexRows, allowZeroLength));
    return haveIndexes;
}

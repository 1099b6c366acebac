#include "shell/table_building.h"

#include <algorithm>
#include <filesystem>

#include "core/csv_reader.h"
#include "core/delimited_lists.h"
#include "core/error_handler.h"
#include "core/ini_store.h"
#include "core/numbers.h"
#include "core/path_checks.h"
#include "core/progress.h"
#include "core/text.h"
#include "core/user_interface.h"
#include "platform/dao/database.h"
#include "platform/dao/errors.h"
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

// A fifth cell "<field> Is Null" or "<field> Is Not Null" makes the index hold only
// those rows, so that an index serving a few rows costs nothing for the others. Any
// other text there is ignored, as every cell after the fourth was.
void rowsFromCell(const std::string& text, dao::Index& ix) {
    const std::string_view trimmed = core::trimBlanks(text);
    const std::string lower = core::lowerAscii(trimmed);
    for (bool notNull : {true, false}) {
        const std::string_view tail = notNull ? " is not null" : " is null";
        if (lower.size() <= tail.size() || !lower.ends_with(tail)) continue;
        ix.rowsField = std::string(core::trimBlanks(trimmed.substr(0, lower.size() - tail.size())));
        ix.rowsNotNull = notNull;
        return;
    }
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
    rowsFromCell(cell(row, 4), ix);
    return ix;
}

bool fileFound(const std::string& path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec);
}

// Reads one block of a definition file with the CSV reader, rows and columns from 1;
// false when the file ends before the block does.
bool readBlock(const std::string& path, const std::string& name, Rows& rows) {
    core::Table2D table;
    int status = 0, columnsFirst = 0;
    long firstRow = 1, firstColumn = 1;
    bool found = CSV_ReadFile(path, name + " START", name + " END", table, status, columnsFirst, 0, ",", firstRow,
                              firstColumn);
    for (long r = 1; r <= table.rowUBound(); ++r) {
        std::vector<std::string> row;
        for (long c = 1; c <= table.colUBound(); ++c) row.push_back(ARR_Item2D(table, r, c));
        rows.push_back(std::move(row));
    }
    return found;
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

std::string definitionPath(const std::string& name, const std::string& subFolder) {
    std::string path = name;
    std::replace(path.begin(), path.end(), '\\', '/');
    return PAFN_FullPath(path, subFolder);
}

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
    std::string defPath = PAFN_FullPath(defFile, "def");
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


namespace {

const std::string kChecker = "BLDTBL_CheckAllAndAddTbls";

// The items of a "|" list; blank items name nothing and are left out.
std::vector<std::string> listItems(const std::string& value) {
    core::StrArray items;
    CHUNKS_Split(value, items, 1);
    std::vector<std::string> out;
    for (long i = items.lbound(); i <= items.ubound(); ++i)
        if (!items[i].empty()) out.push_back(items[i]);
    return out;
}

// The walk's error trap: asks whether to go on with the other tables, hands the error
// to the error handler, and tells whether the walk goes on.
bool trapGoesOn(const sys::RtError& e) {
    bool goOn = core::ui().msgBox(
                    "Error during creation of querydef or load of table. This querydef/table will not be "
                    "created/loaded. Check error and use Options/Generate Tables to change SQL or delete problem "
                    "querydef" + gCRCR + "Press OK to display details of error Now." + gCRCR +
                        "NB This message will be displayed several times for a single problem (once for each "
                        "data set)." + gCRCR + "Do you want to continue with other table loads?",
                    "4", "", "") == 1;
    std::string stars(120, '*');
    std::string choice =
        TXT_FormatChoice(goOn, "", "Load Other tables [ - This module will skip the current step and continue.]"
                                   "|Stop Table Loads");
    std::string proc = kChecker + gCRCR + stars + gCR + "YOU SELECTED: " + choice + gCR +
                       "Press OK to continue. Cancel will end program" + gCR + stars;
    std::string extra = e.description();  // the database's own message
    ErrorHandler(e.number(), nullptr, proc, extra);
    return goOn;
}

// "Database in use.": what the user meets is a second running copy holding the site's
// lock, on any system, so the message names that and no operating system.
[[noreturn]] void anotherCopyRunning() {
    core::ui().info("Database in use. This problem occurs when multiple copies of this Application are running at "
                    "the same time." + gCRCR + "You must exit all other copies of this Application." + gCRCR +
                        "If this problem occurs again after all copies of the Application have been closed. "
                        "Please re-start your computer.",
                    "");
    throw sys::EndProgram();
}

// One progress report for the whole walk, started when the first table is built.
class BuildProgress {
public:
    ~BuildProgress() {
        gPISOff = false;
        if (started_) {
            try {
                PIS_End(reportNo_);
            } catch (...) {
                // A Stop pending at the very end changes nothing: the walk is over.
            }
        }
    }
    void table(long position, long total, const std::string& name) {
        if (!started_) {
            gPISOff = false;
            gPISQuiet = false;
            PIS_Start("Building tables.", "tables", total, "", reportNo_, 0, 1, true);
            started_ = true;
        }
        gPISOff = false;
        std::int64_t done = position;
        try {
            PIS_Update(done, "Table name: " + name, reportNo_);
        } catch (...) {
            gPISOff = true;
            throw;
        }
        gPISOff = true;
        core::doEvents();
    }

private:
    long reportNo_ = 0;
    bool started_ = false;
};

// Builds what is missing of one database entry "key;file". False when the user chose
// to stop.
bool checkDatabase(const std::string& iniPath, const std::string& entry, bool& allowZeroLength,
                   BuildProgress& progress) {
    std::string rest = entry, key;
    bool notFound = false;
    TXT_SplitFirst(rest, ";", key, true, notFound);
    std::string dbPath = shell::definitionPath(rest);
    auto tableKeys = listItems(INI_Get(key, "Tables", iniPath));
    std::vector<std::string> names;
    for (const auto& k : tableKeys) names.push_back(INI_Get(k, "Name", iniPath));

    dao::Database db;
    std::vector<dao::TableEntry> present;
    try {
        db = dao::Database(dbPath);
        present = db.listTables();
    } catch (const sys::RtError& e) {
        if (e.number() == dao::kErrInUseByAnotherCopy) anotherCopyRunning();
        // Held by another program: the file is sound, the caller tells the user so.
        if (e.number() == dao::kErrLocked) throw;
        return trapGoesOn(e);
    }
    for (size_t i = 0; i < tableKeys.size(); ++i) {
        bool exists = std::any_of(present.begin(), present.end(),
                                  [&](const dao::TableEntry& t) { return t.name == names[i]; });
        if (!exists) {
            try {
                progress.table(static_cast<long>(i) + 1, static_cast<long>(tableKeys.size()), names[i]);
                std::string source = BLDTDEFS_TableDefSource(tableKeys[i], iniPath);
                if (source == "SQL")
                    db.createQueryDef(names[i], INI_Get(tableKeys[i], "SQL", iniPath));
                else
                    BLDTBL_BuildTableFromDef(names[i], dbPath, source, allowZeroLength);
            } catch (const sys::RtError& e) {
                if (!trapGoesOn(e)) return false;
            }
        }
        core::doEvents();
    }
    return true;
}

}  // namespace

std::string BLDTDEFS_TableDefSource(const std::string& tableKey, const std::string& iniPath) {
    std::string source = INI_Get(tableKey, "Definitions", iniPath);
    return source == "SQL" ? source : shell::definitionPath(source, "param/def");
}

void BLDTBL_CheckAllAndAddTbls(const std::string& iniPath, bool& allowZeroLength) {
    BuildProgress progress;
    try {
        for (const auto& dataSet : listItems(INI_Get("Main", "Physical Data sets", iniPath))) {
            auto entries = listItems(INI_Get(dataSet, "DB definitions", iniPath));
            gPISOff = true;
            for (const auto& entry : entries)
                if (!checkDatabase(iniPath, entry, allowZeroLength, progress)) return;
        }
    } catch (const sys::RtError& e) {
        if (e.number() == dao::kErrLocked) throw;
        trapGoesOn(e);  // nothing is left to go on with
    }
}

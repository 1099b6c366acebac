#include "shell/database_utilities.h"

#include "core/file_names.h"
#include "core/ini_store.h"
#include "core/numbers.h"
#include "core/text.h"
#include "platform/dao/errors.h"
#include "platform/sys/rt_error.h"
#include "shell/table_building.h"

namespace {

// The text inside matching quotes, with doubled quotes made single; false when the
// value is not quoted.
bool unquote(const std::string& value, std::string& text) {
    if (value.size() < 2 || (value.front() != '\'' && value.front() != '"') || value.back() != value.front())
        return false;
    char q = value.front();
    text.clear();
    for (size_t i = 1; i + 1 < value.size(); ++i) {
        text += value[i];
        if (value[i] == q && i + 2 < value.size() && value[i + 1] == q) ++i;
    }
    return true;
}

}  // namespace

std::string TBL_DataSetDBPath(const std::string& dataSet, const std::string& iniPath) {
    std::string rest = INI_Get(dataSet, "DB definitions", iniPath), key;
    bool notFound = false;
    TXT_SplitFirst(rest, ";", key, true, notFound);
    return shell::definitionPath(rest);
}

void TBL_OpenDataSetDB(const std::string& dataSet, const std::string& iniPath, dao::Database& db) {
    db = dao::Database(TBL_DataSetDBPath(dataSet, iniPath));
}

bool TBL_CompactDB(const std::string& dataSet, const std::string& iniPath, dao::Database& db) {
    std::string path = TBL_DataSetDBPath(dataSet, iniPath);
    std::string temp;
    // Numbered names ("x.db.0.temp", ...) when the plain one is taken; no memory file.
    if (!FNGEN_NewFileName(path + ".temp", temp, true, false, 1000000)) return false;
    if (!db.isOpen() || db.path() != path) db = dao::Database(path);
    try {
        db.compact(temp);
        return true;
    } catch (const sys::RtError&) {
        if (!db.isOpen()) db = dao::Database(path);
        return false;
    }
}

void TBL_DeleteWhere(dao::Database& db, const std::string& table, const std::string& field,
                     const std::string& value) {
    std::string sql = "DELETE FROM " + dao::quoted(table) + " WHERE " + dao::quoted(field);
    std::string trimmed = value;
    while (!trimmed.empty() && trimmed.front() == ' ') trimmed.erase(0, 1);
    while (!trimmed.empty() && trimmed.back() == ' ') trimmed.pop_back();
    if (core::lowerAscii(trimmed) == "null") {
        db.execute(sql + " IS NULL");
        return;
    }
    std::string text;
    double number = 0;
    if (unquote(trimmed, text)) {
        db.execute(sql + " = ?", {dao::Value(text)});
    } else if (core::parseNumber(trimmed, number)) {
        db.execute(sql + " = ?", {dao::Value(number)});
    } else {
        dao::raise(dao::kErrSql, "TBL_DeleteWhere: " + value + " is neither a number nor a quoted text");
    }
}

core::Variant DEVSTUB_ReturnEmpty6(const core::Variant&, const core::Variant&, const core::Variant&,
                                   const core::Variant&, const core::Variant&, const core::Variant&) {
    return {};
}

core::Variant DEVSTUB_ReturnEmpty8(const core::Variant&, const core::Variant&, const core::Variant&,
                                   const core::Variant&, const core::Variant&, const core::Variant&,
                                   const core::Variant&, const core::Variant&) {
    return {};
}

#include "platform/dao/schema.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "platform/dao/errors.h"
#include "platform/sys/ascii.h"

namespace dao {

namespace {


bool sameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return sys::asciiLower(x) == sys::asciiLower(y); });
}

std::string upper(std::string_view s) { return sys::asciiUpperCopy(s); }

bool isAutoIncrement(const Field& f) { return (f.attributes & kAutoIncrField) != 0; }

std::string declaredType(const Field& f) {
    switch (f.type) {
    case FieldType::Boolean: return "BOOLEAN";
    case FieldType::Byte: return "TINYINT";
    case FieldType::Integer: return "SMALLINT";
    case FieldType::Long: return "INTEGER";
    case FieldType::Currency: return "CURRENCY";
    case FieldType::Single: return "FLOAT";
    case FieldType::Double: return "DOUBLE";
    case FieldType::Date: return "DATETIME";
    case FieldType::Text: {
        int size = f.size > 0 ? f.size : 255;
        return std::string((f.attributes & kFixedField) ? "CHAR(" : "VARCHAR(") + std::to_string(size) + ")";
    }
    case FieldType::LongBinary: return "BLOB";
    case FieldType::Memo: return "TEXT";
    case FieldType::None: break;
    }
    raise(kErrInvalidFieldType, "Invalid field data type for field '" + f.name + "'");
}

struct IndexColumn {
    std::string name;
    bool descending = false;
};

const Field& tableField(const TableDef& def, std::string_view name, const std::string& indexName) {
    checkName(name);
    auto it = std::find_if(def.fields.begin(), def.fields.end(), [&](const Field& f) { return sameName(f.name, name); });
    if (it == def.fields.end())
        raise(kErrItemNotFound, "Field '" + std::string(name) + "' of index '" + indexName +
                                    "' is not a field of table '" + def.name + "'");
    return *it;
}

std::vector<IndexColumn> indexColumns(const Index& ix, const TableDef& def) {
    std::vector<IndexColumn> cols;
    std::string_view rest = ix.fields;
    while (true) {
        auto semi = rest.find(';');
        std::string_view part = rest.substr(0, semi);
        while (!part.empty() && part.front() == ' ') part.remove_prefix(1);
        while (!part.empty() && part.back() == ' ') part.remove_suffix(1);
        IndexColumn c;
        if (!part.empty() && (part.front() == '+' || part.front() == '-')) {
            c.descending = part.front() == '-';
            part.remove_prefix(1);
        }
        c.name = tableField(def, part, ix.name).name;
        cols.push_back(c);
        if (semi == std::string_view::npos) break;
        rest.remove_prefix(semi + 1);
    }
    return cols;
}

}  // namespace

bool isValidName(std::string_view name) {
    if (name.empty() || name.size() > 64) return false;
    return std::all_of(name.begin(), name.end(), sys::isNameChar);
}

void checkName(std::string_view name) {
    if (!isValidName(name))
        raise(kErrInvalidName, "'" + std::string(name) +
                                   "' is not a valid name: use 1 to 64 letters, digits or \"_\"");
}

std::string quoted(std::string_view name) {
    checkName(name);
    return "\"" + std::string(name) + "\"";
}

std::vector<std::string> createTableSql(const TableDef& def) {
    checkName(def.name);
    if (def.fields.empty()) raise(kErrInvalidFieldType, "Table '" + def.name + "' has no fields");
    for (size_t i = 0; i < def.fields.size(); ++i) {
        checkName(def.fields[i].name);
        for (size_t j = 0; j < i; ++j)
            if (sameName(def.fields[i].name, def.fields[j].name))
                raise(kErrFieldDefinedTwice, "Field '" + def.fields[i].name + "' is defined twice");
    }
    const Index* primary = nullptr;
    for (size_t i = 0; i < def.indexes.size(); ++i) {
        checkName(def.indexes[i].name);
        for (size_t j = 0; j < i; ++j)
            if (sameName(def.indexes[i].name, def.indexes[j].name))
                raise(kErrIndexExists, "Index '" + def.indexes[i].name + "' is defined twice");
        if (def.indexes[i].primary) {
            if (primary) raise(kErrPrimaryExists, "Table '" + def.name + "' has two primary indexes");
            primary = &def.indexes[i];
        }
    }
    int autoField = -1;
    for (size_t i = 0; i < def.fields.size(); ++i) {
        const Field& f = def.fields[i];
        if (!isAutoIncrement(f)) continue;
        if (autoField >= 0)
            raise(kErrInvalidFieldType, "Table '" + def.name + "' has more than one auto-increment field");
        if (f.type != FieldType::Long)
            raise(kErrInvalidFieldType, "Auto-increment field '" + f.name + "' must be a Long");
        autoField = static_cast<int>(i);
    }
    std::vector<IndexColumn> primaryCols;
    if (primary) primaryCols = indexColumns(*primary, def);
    // The auto-increment field must be SQLite's rowid; a primary index on it alone
    // names that key. A primary key on one Long field becomes the rowid by itself,
    // which keeps key lookups and appends in key order fast.
    bool primaryIsAuto = autoField >= 0 && primaryCols.size() == 1 &&
                         primaryCols[0].name == def.fields[static_cast<size_t>(autoField)].name;
    bool primaryInTable = primary && (autoField < 0 || primaryIsAuto);

    std::string sql = "CREATE TABLE " + quoted(def.name) + " (";
    for (size_t i = 0; i < def.fields.size(); ++i) {
        const Field& f = def.fields[i];
        if (i) sql += ", ";
        sql += quoted(f.name) + " " + declaredType(f);
        if (static_cast<int>(i) == autoField) {
            if (primaryIsAuto) sql += " CONSTRAINT " + quoted(primary->name);
            sql += " PRIMARY KEY AUTOINCREMENT";
        } else if (std::any_of(primaryCols.begin(), primaryCols.end(),
                               [&](const IndexColumn& c) { return c.name == f.name; })) {
            sql += " NOT NULL";  // SQLite would let Null into a key that is not the rowid
        }
        if (f.type == FieldType::Text && !f.allowZeroLength) sql += " CHECK (" + quoted(f.name) + " <> '')";
    }
    if (primaryInTable && !primaryIsAuto) {
        sql += ", CONSTRAINT " + quoted(primary->name) + " PRIMARY KEY (";
        for (size_t i = 0; i < primaryCols.size(); ++i)
            sql += (i ? ", " : "") + quoted(primaryCols[i].name) + (primaryCols[i].descending ? " DESC" : "");
        sql += ")";
    }
    sql += ")";

    std::vector<std::string> out{sql};
    for (const Index& ix : def.indexes)
        if (&ix != primary || !primaryInTable) out.push_back(createIndexSql(def, ix));
    return out;
}

std::string indexSqlName(std::string_view table, std::string_view index) {
    // Index names are per table in the old engine but per database in SQLite.
    return "\"" + std::string(table) + "." + std::string(index) + "\"";
}

std::string createIndexSql(const TableDef& def, const Index& ix) {
    checkName(ix.name);
    auto cols = indexColumns(ix, def);
    std::string s = std::string(ix.unique || ix.primary ? "CREATE UNIQUE INDEX " : "CREATE INDEX ") +
                    indexSqlName(def.name, ix.name) + " ON " + quoted(def.name) + " (";
    for (size_t i = 0; i < cols.size(); ++i) {
        if (i) s += ", ";
        s += quoted(cols[i].name) + (cols[i].descending ? " DESC" : "");
    }
    s += ")";
    if (!ix.rowsField.empty())
        s += " WHERE " + quoted(tableField(def, ix.rowsField, ix.name).name) + (ix.rowsNotNull ? " IS NOT NULL" : " IS NULL");
    return s;
}

ColumnType columnTypeFromDecl(std::string_view declaredType) {
    std::string d = upper(declaredType);
    int size = 0;
    auto open = d.find('(');
    if (open != std::string::npos) {
        size = std::atoi(d.c_str() + open + 1);
        d.erase(open);
    }
    while (!d.empty() && d.back() == ' ') d.pop_back();
    struct Known { const char* decl; FieldType type; };
    static const Known known[] = {
        {"BOOLEAN", FieldType::Boolean},   {"TINYINT", FieldType::Byte},
        {"SMALLINT", FieldType::Integer},  {"INTEGER", FieldType::Long},
        {"CURRENCY", FieldType::Currency}, {"FLOAT", FieldType::Single},
        {"DOUBLE", FieldType::Double},     {"DATETIME", FieldType::Date},
        {"VARCHAR", FieldType::Text},      {"CHAR", FieldType::Text},
        {"BLOB", FieldType::LongBinary},   {"TEXT", FieldType::Memo},
    };
    for (const auto& k : known)
        if (d == k.decl) return {k.type, k.type == FieldType::Text ? size : 0};
    // A column declared by other means: go by SQLite's affinity rules.
    if (d.find("INT") != std::string::npos) return {FieldType::Long, 0};
    if (d.find("CHAR") != std::string::npos || d.find("CLOB") != std::string::npos ||
        d.find("TEXT") != std::string::npos)
        return {FieldType::Memo, 0};
    if (d.find("REAL") != std::string::npos || d.find("FLOA") != std::string::npos ||
        d.find("DOUB") != std::string::npos)
        return {FieldType::Double, 0};
    return {FieldType::None, 0};
}

namespace {

[[noreturn]] void conversionError(const Value& v, std::string_view column) {
    std::string shown = v.kind() == Value::Kind::Text ? "\"" + *v.textIf() + "\"" : v.asText();
    raise(kErrConversion, "Data type conversion error: " + shown + " cannot be stored in field '" +
                              std::string(column) + "'");
}

double numberOf(const Value& v, std::string_view column) {
    if (v.kind() != Value::Kind::Text) return v.asDouble();
    double d = 0;
    if (!parseNumber(*v.textIf(), d)) conversionError(v, column);
    return d;
}

Value clampedInteger(const Value& v, std::string_view column, std::int64_t lo, std::int64_t hi) {
    std::int64_t n = 0;
    if (v.kind() == Value::Kind::Integer) {
        n = v.asInteger();
    } else {
        double d = numberOf(v, column);
        if (std::isnan(d)) conversionError(v, column);
        n = Value(d).asInteger();
    }
    return Value(static_cast<long long>(std::clamp(n, lo, hi)));
}

}  // namespace

Value coerceForColumn(const Value& v, const ColumnType& column, std::string_view columnName) {
    if (v.isNull()) return v;
    switch (column.type) {
    case FieldType::None: return v;
    case FieldType::Long:
        return clampedInteger(v, columnName, std::numeric_limits<std::int64_t>::min(),
                              std::numeric_limits<std::int64_t>::max());
    case FieldType::Integer: return clampedInteger(v, columnName, -32768, 32767);
    case FieldType::Byte: return clampedInteger(v, columnName, 0, 255);
    case FieldType::Boolean: {
        if (const std::string* t = v.textIf()) {
            std::string u = upper(*t);
            if (u == "TRUE" || u == "YES" || u == "ON") return Value(true);
            if (u == "FALSE" || u == "NO" || u == "OFF") return Value(false);
        }
        return Value(numberOf(v, columnName) != 0);
    }
    case FieldType::Single: return Value(static_cast<double>(static_cast<float>(numberOf(v, columnName))));
    case FieldType::Currency: return Value(std::nearbyint(numberOf(v, columnName) * 10000.0) / 10000.0);
    case FieldType::Double:
    case FieldType::Date: return Value(numberOf(v, columnName));
    case FieldType::Text:
    case FieldType::Memo: {
        std::string text = v.asText();
        if (column.type == FieldType::Text && column.size > 0 && text.size() > static_cast<size_t>(column.size))
            raise(kErrFieldTooSmall, "The field '" + std::string(columnName) + "' is too small for " +
                                         std::to_string(text.size()) + " characters (it holds " +
                                         std::to_string(column.size) + ")");
        return Value(std::move(text));
    }
    case FieldType::LongBinary: return v;
    }
    return v;
}

}  // namespace dao

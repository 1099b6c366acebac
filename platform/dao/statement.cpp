#include "platform/dao/statement.h"

#include <sqlite3.h>

#include "platform/dao/connection.h"
#include "platform/dao/errors.h"

namespace dao {

Statement::Statement(sqlite3* db, std::string_view sql) : db_(db), sql_(sql) {
    if (!db_) raise(kErrObjectClosed, "The database is not open");
    const char* tail = nullptr;
    int rc = sqlite3_prepare_v2(db_, sql_.data(), static_cast<int>(sql_.size()), &stmt_, &tail);
    if (rc != SQLITE_OK) {
        sqlite3_finalize(stmt_);
        stmt_ = nullptr;
        detail::raiseSqlite(db_, rc, sql_);
    }
    if (!stmt_) raise(kErrInvalidSql, "Invalid SQL statement: the text is empty");
    for (const char* p = tail; p && p < sql_.data() + sql_.size(); ++p) {
        if (*p == ' ' || *p == '\t' || *p == '\r' || *p == '\n' || *p == ';') continue;
        sqlite3_finalize(stmt_);
        stmt_ = nullptr;
        raise(kErrInvalidSql, "Only one SQL statement may be given: " + sql_);
    }
}

Statement::~Statement() { sqlite3_finalize(stmt_); }

Statement::Statement(Statement&& other) noexcept
    : db_(other.db_), stmt_(other.stmt_), sql_(std::move(other.sql_)) {
    other.stmt_ = nullptr;
}

Statement& Statement::operator=(Statement&& other) noexcept {
    if (this != &other) {
        sqlite3_finalize(stmt_);
        db_ = other.db_;
        stmt_ = other.stmt_;
        sql_ = std::move(other.sql_);
        other.stmt_ = nullptr;
    }
    return *this;
}

void Statement::bind(int index, const Value& value) {
    int rc = SQLITE_OK;
    switch (value.kind()) {
    case Value::Kind::Null: rc = sqlite3_bind_null(stmt_, index); break;
    case Value::Kind::Integer: rc = sqlite3_bind_int64(stmt_, index, value.asInteger()); break;
    case Value::Kind::Real: rc = sqlite3_bind_double(stmt_, index, value.asDouble()); break;
    case Value::Kind::Text: {
        const std::string& t = *value.textIf();
        rc = sqlite3_bind_text(stmt_, index, t.data(), static_cast<int>(t.size()), SQLITE_TRANSIENT);
        break;
    }
    }
    if (rc != SQLITE_OK) detail::raiseSqlite(db_, rc, "binding value " + std::to_string(index));
}

void Statement::bindAll(std::span<const Value> values) {
    if (static_cast<int>(values.size()) != parameterCount())
        raise(kErrSql, "Expected " + std::to_string(parameterCount()) + " values, got " +
                           std::to_string(values.size()) + " (" + sql_ + ")");
    for (size_t i = 0; i < values.size(); ++i) bind(static_cast<int>(i) + 1, values[i]);
}

void Statement::bindInt(int index, std::int64_t value) {
    int rc = sqlite3_bind_int64(stmt_, index, value);
    if (rc != SQLITE_OK) detail::raiseSqlite(db_, rc, "binding value " + std::to_string(index));
}

void Statement::bindText(int index, std::string_view value) {
    // A null pointer would bind Null; an empty text stays text.
    int rc = sqlite3_bind_text(stmt_, index, value.empty() ? "" : value.data(), static_cast<int>(value.size()),
                               SQLITE_TRANSIENT);
    if (rc != SQLITE_OK) detail::raiseSqlite(db_, rc, "binding value " + std::to_string(index));
}

void Statement::bindTextKept(int index, std::string_view value) {
    int rc = sqlite3_bind_text(stmt_, index, value.empty() ? "" : value.data(), static_cast<int>(value.size()),
                               SQLITE_STATIC);
    if (rc != SQLITE_OK) detail::raiseSqlite(db_, rc, "binding value " + std::to_string(index));
}

void Statement::bindNull(int index) {
    int rc = sqlite3_bind_null(stmt_, index);
    if (rc != SQLITE_OK) detail::raiseSqlite(db_, rc, "binding value " + std::to_string(index));
}

bool Statement::step() {
    int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    sqlite3_reset(stmt_);
    detail::raiseSqlite(db_, rc, sql_);
}

void Statement::reset() {
    if (!stmt_) return;
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
}

int Statement::columnCount() const { return sqlite3_column_count(stmt_); }

std::string Statement::columnName(int column) const {
    const char* n = sqlite3_column_name(stmt_, column);
    return n ? n : "";
}

Value Statement::column(int column) const {
    switch (sqlite3_column_type(stmt_, column)) {
    case SQLITE_NULL: return Value();
    case SQLITE_INTEGER: return Value(static_cast<long long>(sqlite3_column_int64(stmt_, column)));
    case SQLITE_FLOAT: return Value(sqlite3_column_double(stmt_, column));
    default: {
        const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
        int n = sqlite3_column_bytes(stmt_, column);
        return Value(std::string(p ? p : "", static_cast<size_t>(n)));
    }
    }
}

bool Statement::columnIsNull(int column) const { return sqlite3_column_type(stmt_, column) == SQLITE_NULL; }

std::int64_t Statement::columnInt(int column) const { return sqlite3_column_int64(stmt_, column); }

std::string_view Statement::columnText(int column) const {
    const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
    if (!p) return {};
    return {p, static_cast<size_t>(sqlite3_column_bytes(stmt_, column))};
}

int Statement::parameterCount() const { return sqlite3_bind_parameter_count(stmt_); }

std::string Statement::originTable(int column) const {
    const char* n = sqlite3_column_table_name(stmt_, column);
    return n ? n : "";
}

std::string Statement::originColumn(int column) const {
    const char* n = sqlite3_column_origin_name(stmt_, column);
    return n ? n : "";
}

}  // namespace dao

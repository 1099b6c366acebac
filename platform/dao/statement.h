#pragma once
// One prepared SQLite statement that finalises itself. Values are bound by type,
// never pasted into the SQL text; failures raise sys::RtError with SQLite's message.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "platform/dao/value.h"

struct sqlite3;
struct sqlite3_stmt;

namespace dao {

class Statement {
public:
    Statement(sqlite3* db, std::string_view sql);
    ~Statement();
    Statement(Statement&& other) noexcept;
    Statement& operator=(Statement&& other) noexcept;
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    void bind(int index, const Value& value);  // 1-based, as SQLite numbers "?"
    void bindAll(std::span<const Value> values);
    // Typed binds for hot loops: no Value is built. Empty text binds as text.
    void bindInt(int index, std::int64_t value);
    void bindText(int index, std::string_view value);
    // Binds the text without a copy: it must stay as it is until the next reset.
    void bindTextKept(int index, std::string_view value);
    void bindNull(int index);
    // Runs to the next row: true while a row is ready, false when done.
    bool step();
    // Makes the statement ready to run again and clears its bindings.
    void reset();

    int columnCount() const;
    std::string columnName(int column) const;
    Value column(int column) const;
    // Typed reads for hot loops; a view is valid until the next step or reset.
    bool columnIsNull(int column) const;
    std::int64_t columnInt(int column) const;  // Null reads as 0
    std::string_view columnText(int column) const;  // Null reads as ""
    int parameterCount() const;
    // The table and column a result column comes from; empty for expressions.
    std::string originTable(int column) const;
    std::string originColumn(int column) const;
    const std::string& sql() const { return sql_; }

private:
    sqlite3* db_ = nullptr;
    sqlite3_stmt* stmt_ = nullptr;
    std::string sql_;
};

// Resets a statement when the scope ends, so a reused statement holds no read lock
// and no stale bindings whatever the exit path.
class ResetOnExit {
public:
    explicit ResetOnExit(Statement& s) : s_(s) {}
    ~ResetOnExit() { s_.reset(); }
    ResetOnExit(const ResetOnExit&) = delete;
    ResetOnExit& operator=(const ResetOnExit&) = delete;

private:
    Statement& s_;
};

}  // namespace dao

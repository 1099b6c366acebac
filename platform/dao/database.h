#pragma once
// An open site database: the old engine's Database object on SQLite. Statements
// take their values bound, never pasted; table, field and index names are checked
// as letters, digits and "_". A second running copy of the program on the same file
// is refused with error 3197.
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/dao/recordset.h"
#include "platform/dao/schema.h"
#include "platform/dao/statement.h"
#include "platform/dao/value.h"

namespace dao {

namespace detail {
struct Connection;
}

struct OpenOptions {
    bool readOnly = false;
    bool create = false;  // make an empty database when the file is missing
};

struct TableEntry {
    std::string name;
    bool isQuery = false;  // a stored query definition rather than a table
};

// A query definition: a SELECT stored by name is a view; other statements are kept
// by name and run by execute(). A temporary one (empty name) is not stored.
class QueryDef {
public:
    const std::string& name() const { return name_; }
    const std::string& sql() const { return sql_; }
    bool isTemporary() const { return name_.empty(); }
    Recordset openRecordset(RecordsetType type = RecordsetType::Dynaset, std::vector<Value> params = {}) const;
    long long execute(std::vector<Value> params = {}) const;  // rows changed

private:
    friend class Database;
    QueryDef(std::shared_ptr<detail::Connection> conn, std::string name, std::string sql)
        : conn_(std::move(conn)), name_(std::move(name)), sql_(std::move(sql)) {}
    std::shared_ptr<detail::Connection> conn_;
    std::string name_, sql_;
};

class Database {
public:
    Database() = default;
    // Raises 3024 for a missing file (unless options.create), 3197 when another
    // running copy holds it, 3343 when it is no database.
    explicit Database(const std::string& path, OpenOptions options = {});
    ~Database();
    Database(Database&&) noexcept;
    Database& operator=(Database&&) noexcept;  // closes what was open

    bool isOpen() const;
    const std::string& path() const;
    // Closes the database and every recordset opened on it.
    void close();
    // What SQLite's quick check finds wrong with the file ("" when nothing), checked
    // once per opening: a damaged file must not take new data. A file another
    // connection holds locked is not checked ("") until it is free.
    std::string damage();
    // Whether the quick check has run on this opening.
    bool damageChecked();

    // Runs one statement with its "?" values; the number of rows changed.
    long long execute(std::string_view sql, std::vector<Value> params = {});

    // Runs a SELECT kept prepared by its text and hands each row to `row`, without
    // the copy a recordset makes: for hot loops. The statement is reset on every exit
    // path; `row` must not run the same SQL text again.
    void forEachRow(std::string_view sql, const std::vector<Value>& params,
                    const std::function<void(const Statement&)>& row);
    // A statement kept prepared by its text, for hot loops that bind and step it
    // themselves under a ResetOnExit. With `writes`, this layer's own read
    // transactions end first, as for execute().
    Statement& prepared(std::string_view sql, bool writes);
    // Tables and stored query definitions, by name.
    std::vector<TableEntry> listTables();
    // Creates the table with its fields and indexes at once (3010 when it exists).
    void createTable(const TableDef& def);
    // The fields of a table as declared, and its indexes.
    TableDef tableDef(std::string_view name);
    // Adds one index to a table (its fields checked against the table); drops one
    // by its name, when it is there.
    void createIndex(std::string_view table, const Index& ix);
    void dropIndex(std::string_view table, std::string_view name);

    QueryDef createQueryDef(std::string_view name, std::string_view sql);
    QueryDef queryDef(std::string_view name);  // 3265 when there is none

    // A table or stored query by name, or a SELECT with "?" values.
    Recordset openRecordset(std::string_view source, RecordsetType type = RecordsetType::Dynaset,
                            std::vector<Value> params = {});

    // The pages of the file and how many of them are free (left by deleted rows).
    struct PageUse {
        long long pages = 0;
        long long free = 0;
    };
    PageUse pageUse();

    // Writes a compacted copy to tempPath, then renames it over the file and opens
    // it again. Any failure leaves the original file untouched and open. Refused
    // (3356) while another connection of this program has the file open.
    void compact(const std::string& tempPath);

    detail::Connection& connection() const;

private:
    friend class Transaction;
    std::shared_ptr<detail::Connection> conn_;
    OpenOptions options_;
};

// Writes a compacted copy of the database file at source to destination, which must
// not exist (3204).
void compactDatabase(const std::string& source, const std::string& destination);

// Commits or rolls back on every exit path, as chosen, so nothing half-written is
// left behind. Guards nest. Long writes call tick() after each row: every batchSize
// rows the work is committed and a new transaction begins.
class Transaction {
public:
    enum class OnExit { Rollback, Commit };
    explicit Transaction(Database& db, OnExit onExit = OnExit::Rollback, long batchSize = 0);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    void commit();
    void rollback();
    void tick();

private:
    void begin();
    std::shared_ptr<detail::Connection> conn_;
    OnExit onExit_;
    long batchSize_;
    long pending_ = 0;
    int level_ = 0;
    bool open_ = false;
    bool outer_ = false;  // began the transaction itself (BEGIN), not a savepoint in one
};

}  // namespace dao

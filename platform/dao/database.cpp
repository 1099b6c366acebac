#include "platform/dao/database.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>

#include "platform/dao/connection.h"
#include "platform/dao/errors.h"
#include "platform/dao/recordset_core.h"
#include "platform/sys/ascii.h"
#include "platform/sys/rt_error.h"

namespace dao {

void Database::forEachRow(std::string_view sql, const std::vector<Value>& params,
                          const std::function<void(const Statement&)>& row) {
    auto& conn = connection();
    Statement& s = conn.cached(sql);
    ResetOnExit reset(s);
    s.bindAll(params);
    while (s.step()) row(s);
}

Statement& Database::prepared(std::string_view sql, bool writes) {
    auto& conn = connection();
    if (writes) conn.beforeWrite();
    return conn.cached(sql);
}

namespace {
// Every stored query definition is kept here by name; a SELECT is also a view.
constexpr const char* kQueryTable = "_dao_querydefs";
constexpr size_t kCacheLimit = 256;
}  // namespace

namespace detail {

Connection::~Connection() { close(); }

sqlite3* Connection::handle() const {
    if (!db) raise(kErrObjectClosed, "The database is not open");
    return db;
}

Statement& Connection::cached(std::string_view sql) {
    auto it = cache.find(sql);
    if (it != cache.end()) return *it->second;
    // Callers bind their values, so the texts are few; a runaway is cut back.
    if (cache.size() >= kCacheLimit) cache.clear();
    auto stmt = std::make_unique<Statement>(handle(), sql);
    return *cache.emplace(std::string(sql), std::move(stmt)).first->second;
}

long long Connection::changes() const { return sqlite3_changes64(handle()); }
long long Connection::lastInsertRowid() const { return sqlite3_last_insert_rowid(handle()); }

void Connection::beginRead() {
    if (implicitRead || !db || !sqlite3_get_autocommit(db)) return;
    int rc = sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) raiseSqlite(db, rc, "BEGIN");
    implicitRead = true;
}

void Connection::endRead() {
    if (!implicitRead) return;
    implicitRead = false;
    if (db && !sqlite3_get_autocommit(db)) sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
}

void Connection::beforeWrite() {
    handle();
    if (!lock) return endRead();
    for (Connection* c : lock->connections) c->endRead();
}

void Connection::close() {
    endRead();
    if (lock) std::erase(lock->connections, this);
    for (RecordsetCore* rs : recordsets) rs->detach();
    recordsets.clear();
    cache.clear();
    if (db) sqlite3_close(db);  // rolls back any open transaction
    db = nullptr;
    savepointDepth = 0;
    lock.reset();  // after SQLite has let go of the file
}

}  // namespace detail

namespace {

bool fileExists(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0;
}

// Before the library's first use: no global counting of every allocation, which
// takes a lock each time.
void configureLibraryOnce() {
    static const bool done = [] {
        sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0);
        return true;
    }();
    (void)done;
}

std::shared_ptr<detail::Connection> openConnection(const std::string& path, OpenOptions options) {
    configureLibraryOnce();
    if (!fileExists(path)) {
        if (!options.create || options.readOnly) raise(kErrFileNotFound, "Could not find file '" + path + "'");
        int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd < 0) sys::raiseErrno(errno, path, "dao");
        ::close(fd);
    }
    auto conn = std::make_shared<detail::Connection>();
    conn->path = path;
    conn->readOnly = options.readOnly;
    conn->lock = detail::FileLock::acquire(path, !options.readOnly);
    int flags = (options.readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE) | SQLITE_OPEN_NOMUTEX;
    int rc = sqlite3_open_v2(path.c_str(), &conn->db, flags, nullptr);
    if (rc != SQLITE_OK) {
        std::string message = conn->db ? sqlite3_errmsg(conn->db) : sqlite3_errstr(rc);
        int number = detail::errorNumberFor(conn->db ? sqlite3_extended_errcode(conn->db) : rc, message);
        conn->close();
        raise(number, message + " (" + path + ")");
    }
    // Statements kept prepared hold on to the default small-allocation slots; with
    // more of them the cursors of each step are not taken from the heap.
    sqlite3_db_config(conn->db, SQLITE_DBCONFIG_LOOKASIDE, nullptr, 1200, 1000);
    sqlite3_extended_result_codes(conn->db, 1);
    conn->lock->connections.push_back(conn.get());
    // Reading the schema proves the file is a database now rather than at first use.
    conn->cached("SELECT count(*) FROM sqlite_master").step();
    conn->cached("SELECT count(*) FROM sqlite_master").reset();
    // 16 MiB of page cache: an addition writes its rows nearly in key order, so what it
    // touches again is the right edge of each tree; measured on 10 million lines a
    // cache four times as large saved no time and cost 64 MiB and the page faults of
    // filling it. Reads of large ranges go straight through anyway.
    sqlite3_exec(conn->db, "PRAGMA cache_size = -16384; PRAGMA temp_store = MEMORY", nullptr, nullptr, nullptr);
    return conn;
}

// The rows of a partial index, as createIndexSql writes them: WHERE "field" IS [NOT] NULL.
void partialRows(detail::Connection& conn, const std::string& ixName, Index& ix) {
    Statement s(conn.handle(), "SELECT sql FROM sqlite_master WHERE type = 'index' AND name = ?");
    s.bind(1, Value(ixName));
    if (!s.step() || s.column(0).isNull()) return;
    const std::string sql = s.column(0).asText();
    const size_t where = sql.rfind(" WHERE \"");
    if (where == std::string::npos) return;
    const size_t open = where + 8, close = sql.find('"', open);
    if (close == std::string::npos) return;
    ix.rowsField = sql.substr(open, close - open);
    ix.rowsNotNull = sql.compare(close + 1, std::string::npos, " IS NOT NULL") == 0;
}

std::string firstWord(std::string_view sql) {
    size_t b = 0;
    while (b < sql.size() && (sql[b] == ' ' || sql[b] == '\t' || sql[b] == '\r' || sql[b] == '\n' || sql[b] == '('))
        ++b;
    std::string w;
    while (b < sql.size() && sys::isAsciiLetter(sql[b])) w += sys::asciiUpper(sql[b++]);
    return w;
}

void runSql(detail::Connection& conn, const std::string& sql) {
    Statement s(conn.handle(), sql);
    while (s.step()) {
    }
}

}  // namespace

Database::Database(const std::string& path, OpenOptions options)
    : conn_(openConnection(path, options)), options_(options) {}

Database::~Database() { close(); }
Database::Database(Database&& other) noexcept = default;

Database& Database::operator=(Database&& other) noexcept {
    if (this != &other) {
        close();
        conn_ = std::move(other.conn_);
        options_ = other.options_;
    }
    return *this;
}

bool Database::isOpen() const { return conn_ && conn_->db; }

std::string Database::damage() {
    detail::Connection& c = connection();
    if (!c.damage) {
        std::string found;
        try {
            forEachRow("PRAGMA quick_check(1)", {}, [&](const Statement& s) { found = s.column(0).asText(); });
        } catch (const sys::RtError& e) {
            // A lock another connection holds says nothing of the file: check it next time.
            if (e.number() == kErrLocked) return {};
            found = e.description();
        }
        c.damage = found == "ok" ? std::string() : found;
    }
    return *c.damage;
}

bool Database::damageChecked() { return connection().damage.has_value(); }

const std::string& Database::path() const {
    static const std::string none;
    return conn_ ? conn_->path : none;
}

void Database::close() {
    if (conn_) conn_->close();
    conn_.reset();
}

detail::Connection& Database::connection() const {
    if (!conn_) raise(kErrObjectClosed, "The database is not open");
    conn_->handle();
    return *conn_;
}

long long Database::execute(std::string_view sql, std::vector<Value> params) {
    auto& conn = connection();
    conn.beforeWrite();
    Statement& s = conn.cached(sql);
    ResetOnExit reset(s);
    s.bindAll(params);
    while (s.step()) {
    }
    return conn.changes();
}

namespace {

bool hasQueryTable(detail::Connection& conn) {
    Statement s(conn.handle(), "SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ?");
    s.bind(1, Value(kQueryTable));
    return s.step();
}

// A table, view or stored query of that name, in any letter case.
bool objectExists(detail::Connection& conn, std::string_view name) {
    Statement s(conn.handle(),
                "SELECT 1 FROM sqlite_master WHERE type IN ('table', 'view') AND name = ? COLLATE NOCASE");
    s.bind(1, Value(name));
    if (s.step()) return true;
    if (!hasQueryTable(conn)) return false;
    Statement q(conn.handle(), std::string("SELECT 1 FROM ") + kQueryTable + " WHERE name = ? COLLATE NOCASE");
    q.bind(1, Value(name));
    return q.step();
}

// The text after a marker in a table's CREATE statement, up to the closing quote.
bool declares(const std::string& createSql, const std::string& marker) {
    return createSql.find(marker) != std::string::npos;
}

std::string constraintName(const std::string& createSql, size_t before) {
    // ... CONSTRAINT "name" PRIMARY KEY, the last such phrase before `before`
    const std::string tag = "CONSTRAINT \"";
    size_t at = createSql.rfind(tag, before);
    if (at == std::string::npos) return {};
    size_t b = at + tag.size(), e = createSql.find('"', b);
    return createSql.substr(b, e - b);
}

}  // namespace

std::vector<TableEntry> Database::listTables() {
    auto& conn = connection();
    std::vector<TableEntry> out;
    Statement s(conn.handle(),
                "SELECT name, type FROM sqlite_master WHERE type IN ('table', 'view') "
                "AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\' AND name <> ?");
    s.bind(1, Value(kQueryTable));
    while (s.step()) out.push_back({s.column(0).asText(), s.column(1).asText() == "view"});
    if (hasQueryTable(conn)) {
        Statement q(conn.handle(), std::string("SELECT name FROM ") + kQueryTable + " WHERE isView = 0");
        while (q.step()) out.push_back({q.column(0).asText(), true});
    }
    std::sort(out.begin(), out.end(), [](const TableEntry& a, const TableEntry& b) { return a.name < b.name; });
    return out;
}

void Database::createTable(const TableDef& def) {
    auto sqls = createTableSql(def);
    auto& conn = connection();
    if (objectExists(conn, def.name)) raise(kErrTableExists, "Table '" + def.name + "' already exists");
    Transaction tx(*this);
    for (const auto& sql : sqls) runSql(conn, sql);
    tx.commit();
}

TableDef Database::tableDef(std::string_view name) {
    checkName(name);
    auto& conn = connection();
    TableDef def;
    std::string createSql;
    {
        Statement s(conn.handle(), "SELECT name, sql FROM sqlite_master WHERE type = 'table' AND name = ? COLLATE NOCASE");
        s.bind(1, Value(name));
        if (!s.step()) raise(kErrItemNotFound, "Item not found in this collection: table '" + std::string(name) + "'");
        def.name = s.column(0).asText();
        createSql = s.column(1).asText();
    }
    std::vector<std::pair<int, std::string>> primaryCols;
    Statement info(conn.handle(), "PRAGMA table_info(" + quoted(def.name) + ")");
    while (info.step()) {
        Field f;
        f.name = info.column(1).asText();
        std::string decl = info.column(2).isNull() ? "" : info.column(2).asText();
        ColumnType t = columnTypeFromDecl(decl);
        f.type = t.type;
        f.size = t.size;
        if (decl.rfind("CHAR(", 0) == 0) f.attributes |= kFixedField;
        std::string q = quoted(f.name);
        if (declares(createSql, q + " INTEGER PRIMARY KEY AUTOINCREMENT") ||
            (declares(createSql, q + " INTEGER CONSTRAINT") &&
             declares(createSql.substr(createSql.find(q + " INTEGER CONSTRAINT")),
                      "PRIMARY KEY AUTOINCREMENT")))
            f.attributes |= kAutoIncrField;
        f.allowZeroLength = f.type == FieldType::Text && !declares(createSql, "CHECK (" + q + " <> '')");
        if (auto pk = info.column(5).asInteger(); pk > 0) primaryCols.emplace_back(static_cast<int>(pk), f.name);
        def.fields.push_back(f);
    }
    if (!primaryCols.empty()) {
        std::sort(primaryCols.begin(), primaryCols.end());
        Index ix;
        ix.primary = ix.unique = true;
        size_t at = createSql.find("PRIMARY KEY");
        if (at != std::string::npos) ix.name = constraintName(createSql, at);
        for (const auto& [order, col] : primaryCols) ix.fields += (ix.fields.empty() ? "" : ";") + col;
        if (!ix.name.empty()) def.indexes.push_back(ix);
    }
    Statement list(conn.handle(), "PRAGMA index_list(" + quoted(def.name) + ")");
    std::string prefix = def.name + ".";
    while (list.step()) {
        std::string ixName = list.column(1).asText();
        if (list.column(3).asText() != "c" || ixName.rfind(prefix, 0) != 0) continue;
        Index ix;
        ix.name = ixName.substr(prefix.size());
        ix.unique = list.column(2).asInteger() != 0;
        std::string quotedIx = "\"" + ixName + "\"";
        Statement cols(conn.handle(), "PRAGMA index_xinfo(" + quotedIx + ")");
        while (cols.step()) {
            if (cols.column(5).asInteger() == 0) continue;  // not a key column
            if (!ix.fields.empty()) ix.fields += ";";
            if (cols.column(3).asInteger() != 0) ix.fields += "-";
            ix.fields += cols.column(2).asText();
        }
        if (list.column(4).asInteger() != 0) partialRows(conn, ixName, ix);
        def.indexes.push_back(ix);
    }
    return def;
}

void Database::createIndex(std::string_view table, const Index& ix) {
    const std::string sql = createIndexSql(tableDef(table), ix);
    auto& conn = connection();
    conn.beforeWrite();
    runSql(conn, sql);
}

void Database::dropIndex(std::string_view table, std::string_view name) {
    checkName(table);
    checkName(name);
    auto& conn = connection();
    conn.beforeWrite();
    runSql(conn, "DROP INDEX IF EXISTS " + indexSqlName(table, name));
}

QueryDef Database::createQueryDef(std::string_view name, std::string_view sqlIn) {
    auto& conn = connection();
    std::string sql(sqlIn);
    if (name.empty()) return QueryDef(conn_, "", sql);
    checkName(name);
    std::string verb = firstWord(sql);
    static const char* const verbs[] = {"SELECT", "INSERT", "UPDATE", "DELETE", "CREATE", "DROP", "ALTER", "REPLACE", "WITH"};
    if (std::find(std::begin(verbs), std::end(verbs), verb) == std::end(verbs))
        raise(kErrInvalidSql, "Invalid SQL statement; expected SELECT, INSERT, UPDATE or DELETE: \"" + sql + "\"");
    if (objectExists(conn, name)) raise(kErrObjectExists, "Object '" + std::string(name) + "' already exists");
    bool isView = verb == "SELECT" || verb == "WITH";
    Transaction tx(*this);
    runSql(conn, std::string("CREATE TABLE IF NOT EXISTS ") + kQueryTable +
                     " (name TEXT PRIMARY KEY COLLATE NOCASE, sql TEXT NOT NULL, isView INTEGER NOT NULL)");
    if (isView) runSql(conn, "CREATE VIEW " + quoted(name) + " AS " + sql);
    execute(std::string("INSERT INTO ") + kQueryTable + " (name, sql, isView) VALUES (?, ?, ?)",
            {Value(name), Value(sql), Value(isView ? 1 : 0)});
    tx.commit();
    return QueryDef(conn_, std::string(name), sql);
}

QueryDef Database::queryDef(std::string_view name) {
    auto& conn = connection();
    if (hasQueryTable(conn)) {
        Statement s(conn.handle(), std::string("SELECT name, sql FROM ") + kQueryTable + " WHERE name = ? COLLATE NOCASE");
        s.bind(1, Value(name));
        if (s.step()) return QueryDef(conn_, s.column(0).asText(), s.column(1).asText());
    }
    raise(kErrItemNotFound, "Item not found in this collection: query '" + std::string(name) + "'");
}

Recordset Database::openRecordset(std::string_view source, RecordsetType type, std::vector<Value> params) {
    auto& conn = connection();
    std::string sql(source);
    if (isValidName(source)) {
        bool stored = hasQueryTable(conn) && [&] {
            Statement s(conn.handle(), std::string("SELECT isView FROM ") + kQueryTable + " WHERE name = ? COLLATE NOCASE");
            s.bind(1, Value(source));
            return s.step() && s.column(0).asInteger() == 0;
        }();
        if (stored) raise(kErrSql, "Query '" + sql + "' is not a SELECT and has no rows");
        sql = "SELECT * FROM " + quoted(source);
    }
    return Recordset(std::make_unique<detail::RecordsetCore>(conn_, sql, type, std::move(params)));
}

Recordset QueryDef::openRecordset(RecordsetType type, std::vector<Value> params) const {
    if (!conn_) raise(kErrObjectClosed, "The query definition is closed");
    conn_->handle();
    if (!isTemporary()) {
        std::string verb = firstWord(sql_);
        if (verb != "SELECT" && verb != "WITH") raise(kErrSql, "Query '" + name_ + "' is not a SELECT and has no rows");
    }
    return Recordset(std::make_unique<detail::RecordsetCore>(conn_, sql_, type, std::move(params)));
}

long long QueryDef::execute(std::vector<Value> params) const {
    if (!conn_) raise(kErrObjectClosed, "The query definition is closed");
    std::string verb = firstWord(sql_);
    if (verb == "SELECT") raise(kErrExecuteSelect, "Cannot execute a select query");
    conn_->beforeWrite();
    Statement& s = conn_->cached(sql_);
    ResetOnExit reset(s);
    s.bindAll(params);
    while (s.step()) {
    }
    return conn_->changes();
}

Database::PageUse Database::pageUse() {
    auto& conn = connection();
    PageUse use;
    auto count = [&](const char* sql) {
        Statement s(conn.handle(), sql);
        return s.step() ? s.columnInt(0) : 0;
    };
    use.pages = count("PRAGMA page_count");
    use.free = count("PRAGMA freelist_count");
    return use;
}

void Database::compact(const std::string& tempPath) {
    auto& conn = connection();
    if (conn.lock && conn.lock->users() > 1)
        raise(kErrOpenElsewhere, "The database " + conn.path + " is open elsewhere in the program; close it first");
    if (fileExists(tempPath)) raise(kErrDatabaseExists, "Database already exists: " + tempPath);
    std::string path = conn.path;
    conn.beforeWrite();  // VACUUM cannot run inside a transaction
    try {
        Statement s(conn.handle(), "VACUUM INTO ?");
        s.bind(1, Value(tempPath));
        s.step();
        // The copy must be on disk before it replaces the original.
        int fd = ::open(tempPath.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0 || ::fsync(fd) != 0) {
            int err = errno;
            if (fd >= 0) ::close(fd);
            sys::raiseErrno(err, tempPath, "dao");
        }
        ::close(fd);
    } catch (...) {
        std::remove(tempPath.c_str());
        throw;
    }
    close();
    int renameErr = std::rename(tempPath.c_str(), path.c_str()) == 0 ? 0 : errno;
    if (renameErr) std::remove(tempPath.c_str());
    conn_ = openConnection(path, options_);
    if (renameErr) sys::raiseErrno(renameErr, tempPath + " -> " + path, "dao");
}

void compactDatabase(const std::string& source, const std::string& destination) {
    if (fileExists(destination)) raise(kErrDatabaseExists, "Database already exists: " + destination);
    Database db(source, OpenOptions{.readOnly = true});
    try {
        Statement s(db.connection().handle(), "VACUUM INTO ?");
        s.bind(1, Value(destination));
        s.step();
    } catch (...) {
        std::remove(destination.c_str());
        throw;
    }
}

Transaction::Transaction(Database& db, OnExit onExit, long batchSize)
    : conn_(db.conn_), onExit_(onExit), batchSize_(batchSize) {
    begin();
}

Transaction::~Transaction() {
    try {
        if (onExit_ == OnExit::Commit)
            commit();
        else
            rollback();
    } catch (...) {
        // A destructor must not throw; commit() has already rolled back on failure.
    }
}

void Transaction::begin() {
    if (!conn_ || !conn_->db) raise(kErrObjectClosed, "The database is not open");
    conn_->beforeWrite();
    // The outermost guard is a plain transaction: under a savepoint SQLite also
    // copies every page a write touches into a statement journal in memory.
    outer_ = sqlite3_get_autocommit(conn_->db) != 0;
    level_ = ++conn_->savepointDepth;
    try {
        runSql(*conn_, outer_ ? std::string("BEGIN") : "SAVEPOINT dao_tx" + std::to_string(level_));
    } catch (...) {
        --conn_->savepointDepth;
        throw;
    }
    open_ = true;
    pending_ = 0;
}

void Transaction::commit() {
    if (!open_) return;
    open_ = false;
    if (!conn_->db) return;  // closed meanwhile: SQLite has rolled back
    try {
        conn_->beforeWrite();
        runSql(*conn_, outer_ ? std::string("COMMIT") : "RELEASE dao_tx" + std::to_string(level_));
        --conn_->savepointDepth;
    } catch (...) {
        open_ = true;
        rollback();
        throw;
    }
}

void Transaction::rollback() {
    if (!open_) return;
    open_ = false;
    if (!conn_->db) return;
    --conn_->savepointDepth;
    if (outer_) {
        if (!sqlite3_get_autocommit(conn_->db)) runSql(*conn_, "ROLLBACK");
        return;
    }
    std::string name = "dao_tx" + std::to_string(level_);
    runSql(*conn_, "ROLLBACK TO " + name);
    runSql(*conn_, "RELEASE " + name);
}

void Transaction::tick() {
    if (batchSize_ <= 0 || !open_) return;
    if (++pending_ < batchSize_) return;
    commit();
    begin();
}

}  // namespace dao

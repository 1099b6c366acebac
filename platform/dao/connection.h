#pragma once
// The state one open database shares with its recordsets and query definitions.
// Internal to the database layer.
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/dao/file_lock.h"
#include "platform/dao/statement.h"

struct sqlite3;

namespace dao::detail {

class RecordsetCore;

struct Connection {
    sqlite3* db = nullptr;
    std::string path;
    bool readOnly = false;
    std::shared_ptr<FileLock> lock;
    // Looked up by a view of the SQL text, so a hot loop allocates nothing.
    struct TextHash {
        using is_transparent = void;
        size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
    };
    // Statements kept prepared for reuse, by their SQL text.
    std::unordered_map<std::string, std::unique_ptr<Statement>, TextHash, std::equal_to<>> cache;
    std::vector<RecordsetCore*> recordsets;  // open ones; closed with the connection
    int savepointDepth = 0;
    // A read transaction the layer began itself: a point read outside a transaction
    // would lock and unlock the file each time, which makes walking rows slow.
    bool implicitRead = false;
    std::optional<std::string> damage;  // the quick check's finding, once it ran

    ~Connection();
    sqlite3* handle() const;  // raises 3420 when closed
    Statement& cached(std::string_view sql);
    long long changes() const;
    long long lastInsertRowid() const;
    void close();
    // Begins a read transaction unless one is open; rows read after it are cheap.
    void beginRead();
    // Ends the read transaction this layer began, if any.
    void endRead();
    // Before anything writes: no connection of this process may be reading then,
    // or the write could not be committed.
    void beforeWrite();
};

int errorNumberFor(int extendedCode, const std::string& message);
[[noreturn]] void raiseSqlite(sqlite3* db, int rc, const std::string& context);

}  // namespace dao::detail

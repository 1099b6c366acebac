#pragma once
// The state behind a Recordset. Internal to the database layer.
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/dao/recordset.h"
#include "platform/dao/schema.h"
#include "platform/dao/value.h"

namespace dao {
class Statement;
}

namespace dao::detail {

struct Connection;

class RecordsetCore {
public:
    // Opens `sql` (a SELECT) with its values.
    RecordsetCore(std::shared_ptr<Connection> conn, const std::string& sql, RecordsetType type,
                  std::vector<Value> params);
    ~RecordsetCore();
    RecordsetCore(const RecordsetCore&) = delete;
    RecordsetCore& operator=(const RecordsetCore&) = delete;

    void detach();  // the connection closes
    bool open() const { return conn_ != nullptr; }
    void checkOpen() const;

    bool eof();
    bool bof();
    void moveFirst();
    void moveLast();
    void moveNext();
    void movePrevious();
    long long count();
    Bookmark bookmark();
    void setBookmark(Bookmark b);
    Bookmark lastModified() const;

    int fieldCount() const { return static_cast<int>(names_.size()); }
    const std::string& fieldName(int i) const;
    int fieldIndex(std::string_view name) const;  // -1 when unknown
    Value field(int i);
    void setField(int i, const Value& v);
    void addNew();
    void edit();
    void update();
    void cancelUpdate();
    void deleteRecord();
    EditMode mode() const { return mode_; }
    bool updatable() const { return updatable_; }

private:
    void openKeyset(const std::string& table, const std::string& columns, const std::string& rest,
                    std::vector<Value> params);
    void readWhole(const std::string& sql, std::vector<Value> params);
    void loadKeys();
    long long size() const;
    bool isDeleted(long long pos) const;
    void position(long long pos);  // -1 = before the first, size() = after the last
    void needCurrent();
    const std::vector<Value>& currentRow();
    Statement& insertStatement();
    Statement& updateStatement();

    std::shared_ptr<Connection> conn_;
    RecordsetType type_;
    bool updatable_ = false;
    bool keyset_ = false;

    std::vector<std::string> names_;  // result columns
    // Keyset mode: the table, its columns and where each result column comes from.
    std::string table_;
    std::vector<std::string> tableColumns_;
    std::vector<ColumnType> columnTypes_;
    std::vector<int> tableColumnOf_;  // per result column, -1 for none
    int rowidColumn_ = -1;            // table column that is the rowid, if any
    std::string keysSql_;
    std::vector<Value> keysParams_;
    std::string fetchSql_;
    bool keysLoaded_ = false;
    std::vector<std::int64_t> keys_;
    std::vector<std::int64_t> addedBeforeLoad_;  // join the set at the end, as added rows do
    std::vector<char> deleted_;
    long long deletedCount_ = 0;
    std::unordered_map<std::int64_t, long long> keyPos_;  // built on first setBookmark

    // Whole mode: the rows themselves.
    std::vector<std::vector<Value>> rows_;

    long long pos_ = -1;
    bool bof_ = true, eof_ = true;
    bool rowValid_ = false;
    bool rowMissing_ = false;
    std::vector<Value> row_;

    EditMode mode_ = EditMode::None;
    std::vector<Value> buffer_;  // per table column
    std::vector<char> dirty_;
    std::int64_t lastModified_ = 0;
    bool hasLastModified_ = false;
    // The SQL of the insert and update statements by which columns they set.
    std::unordered_map<std::string, std::string> insertByMask_, updateByMask_;
};

}  // namespace dao::detail

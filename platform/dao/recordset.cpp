#include "platform/dao/recordset.h"

#include <algorithm>

#include "platform/dao/connection.h"
#include "platform/dao/errors.h"
#include "platform/dao/recordset_core.h"
#include "platform/dao/select_shape.h"
#include "platform/dao/statement.h"
#include "platform/sys/ascii.h"
#include "platform/sys/rt_error.h"

namespace dao::detail {

namespace {


bool sameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return sys::asciiLower(x) == sys::asciiLower(y); });
}

// A name read from the database itself, quoted for SQL.
std::string ident(std::string_view name) {
    std::string out = "\"";
    for (char c : name) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

[[noreturn]] void noCurrentRecord() { raise(kErrNoCurrentRecord, "No current record"); }

}  // namespace

RecordsetCore::RecordsetCore(std::shared_ptr<Connection> conn, const std::string& sql, RecordsetType type,
                             std::vector<Value> params)
    : conn_(std::move(conn)), type_(type) {
    conn_->handle();
    SelectShape shape = analyseSelect(sql);
    bool opened = false;
    if (shape.singleTable) {
        try {
            openKeyset(shape.table, shape.columns, shape.rest, params);
            opened = true;
        } catch (const sys::RtError&) {
            // Not a plain table after all (a view, say): read it whole below, which
            // also reports any fault of the query itself.
            keyset_ = false;
            names_.clear();
            tableColumns_.clear();
            columnTypes_.clear();
            tableColumnOf_.clear();
        }
    }
    if (!opened) readWhole(sql, std::move(params));
    updatable_ = keyset_ && !conn_->readOnly &&
                 (type_ == RecordsetType::Dynaset || type_ == RecordsetType::Table);
    conn_->recordsets.push_back(this);
}

RecordsetCore::~RecordsetCore() {
    if (!conn_) return;
    std::erase(conn_->recordsets, this);
    conn_->endRead();
}

void RecordsetCore::detach() { conn_.reset(); }

void RecordsetCore::checkOpen() const {
    if (!conn_ || !conn_->db) raise(kErrObjectClosed, "The recordset is closed");
}

void RecordsetCore::openKeyset(const std::string& table, const std::string& columns, const std::string& rest,
                               std::vector<Value> params) {
    fetchSql_ = "SELECT " + columns + " FROM " + table + " WHERE " + table + ".rowid=?";
    Statement fetch(conn_->handle(), fetchSql_);
    int n = fetch.columnCount();
    std::string written = table.front() == '"' ? table.substr(1, table.size() - 2) : table;
    for (int i = 0; i < n; ++i) {
        // A view's columns come from its tables: only the table itself has the rows.
        std::string origin = fetch.originTable(i);
        if (!sameName(origin, written)) raise(kErrSql, "not a column of the table");  // read whole instead
        table_ = origin;
        names_.push_back(fetch.columnName(i));
    }
    Statement info(conn_->handle(), "PRAGMA table_info(" + ident(table_) + ")");
    int pkCount = 0, pkColumn = -1;
    while (info.step()) {
        tableColumns_.push_back(info.column(1).asText());
        std::string decl = info.column(2).isNull() ? "" : info.column(2).asText();
        columnTypes_.push_back(columnTypeFromDecl(decl));
        if (info.column(5).asInteger() > 0) {
            ++pkCount;
            pkColumn = sys::asciiUpperCopy(decl) == "INTEGER" ? static_cast<int>(tableColumns_.size()) - 1 : -1;
        }
    }
    rowidColumn_ = pkCount == 1 ? pkColumn : -1;
    for (int i = 0; i < n; ++i) {
        std::string origin = fetch.originColumn(i);
        auto it = std::find_if(tableColumns_.begin(), tableColumns_.end(),
                               [&](const std::string& c) { return sameName(c, origin); });
        tableColumnOf_.push_back(it == tableColumns_.end() ? -1 : static_cast<int>(it - tableColumns_.begin()));
    }
    keysSql_ = "SELECT " + table + ".rowid FROM " + table + (rest.empty() ? "" : " " + rest);
    Statement& keys = conn_->cached(keysSql_);
    if (keys.parameterCount() != static_cast<int>(params.size()))
        raise(kErrSql, "Expected " + std::to_string(keys.parameterCount()) + " values, got " +
                           std::to_string(params.size()));
    keysParams_ = std::move(params);
    buffer_.assign(tableColumns_.size(), Value());
    dirty_.assign(tableColumns_.size(), 0);
    keyset_ = true;
}

void RecordsetCore::readWhole(const std::string& sql, std::vector<Value> params) {
    Statement s(conn_->handle(), sql);
    s.bindAll(params);
    for (int i = 0; i < s.columnCount(); ++i) names_.push_back(s.columnName(i));
    while (s.step()) {
        std::vector<Value> row;
        row.reserve(names_.size());
        for (int i = 0; i < s.columnCount(); ++i) row.push_back(s.column(i));
        rows_.push_back(std::move(row));
    }
    position(0);
}

void RecordsetCore::loadKeys() {
    if (!keyset_ || keysLoaded_) return;
    checkOpen();
    conn_->beginRead();
    Statement& s = conn_->cached(keysSql_);
    ResetOnExit reset(s);
    s.bindAll(keysParams_);
    while (s.step()) keys_.push_back(s.column(0).asInteger());
    if (!addedBeforeLoad_.empty()) {
        std::unordered_map<std::int64_t, char> loaded;
        for (auto k : keys_) loaded[k] = 1;
        for (auto k : addedBeforeLoad_)
            if (!loaded.count(k)) keys_.push_back(k);
        addedBeforeLoad_.clear();
    }
    deleted_.assign(keys_.size(), 0);
    keysLoaded_ = true;
    position(0);
}

long long RecordsetCore::size() const {
    return keyset_ ? static_cast<long long>(keys_.size()) : static_cast<long long>(rows_.size());
}

bool RecordsetCore::isDeleted(long long pos) const {
    return keyset_ && pos >= 0 && pos < size() && deleted_[static_cast<size_t>(pos)];
}

void RecordsetCore::position(long long pos) {
    pos_ = pos;
    rowValid_ = false;
    rowMissing_ = false;
    long long live = count();
    bof_ = pos < 0 || live == 0;
    eof_ = pos >= size() || live == 0;
}

bool RecordsetCore::eof() {
    checkOpen();
    loadKeys();
    return eof_;
}

bool RecordsetCore::bof() {
    checkOpen();
    loadKeys();
    return bof_;
}

void RecordsetCore::moveFirst() {
    checkOpen();
    loadKeys();
    cancelUpdate();
    long long p = 0;
    while (p < size() && isDeleted(p)) ++p;
    if (p >= size()) noCurrentRecord();
    position(p);
}

void RecordsetCore::moveLast() {
    checkOpen();
    loadKeys();
    cancelUpdate();
    long long p = size() - 1;
    while (p >= 0 && isDeleted(p)) --p;
    if (p < 0) noCurrentRecord();
    position(p);
}

void RecordsetCore::moveNext() {
    checkOpen();
    loadKeys();
    if (eof_) noCurrentRecord();
    cancelUpdate();
    long long p = pos_ + 1;
    while (p < size() && isDeleted(p)) ++p;
    position(std::min(p, size()));
    bof_ = false;
    if (eof_ && keyset_) conn_->endRead();  // a finished walk holds no read open
}

void RecordsetCore::movePrevious() {
    checkOpen();
    loadKeys();
    if (bof_) noCurrentRecord();
    cancelUpdate();
    long long p = pos_ - 1;
    while (p >= 0 && isDeleted(p)) --p;
    position(std::max(p, -1LL));
    eof_ = false;
}

long long RecordsetCore::count() {
    if (keyset_ && !keysLoaded_) {
        checkOpen();
        loadKeys();
    }
    return size() - deletedCount_;
}

Bookmark RecordsetCore::bookmark() {
    checkOpen();
    loadKeys();
    if (bof_ || eof_) noCurrentRecord();
    return Bookmark{keyset_ ? keys_[static_cast<size_t>(pos_)] : pos_};
}

void RecordsetCore::setBookmark(Bookmark b) {
    checkOpen();
    loadKeys();
    cancelUpdate();
    long long p = -1;
    if (keyset_) {
        if (keyPos_.size() != keys_.size()) {
            keyPos_.clear();
            for (size_t i = 0; i < keys_.size(); ++i) keyPos_[keys_[i]] = static_cast<long long>(i);
        }
        auto it = keyPos_.find(b.key);
        if (it != keyPos_.end()) p = it->second;
    } else if (b.key >= 0 && b.key < size()) {
        p = b.key;
    }
    if (p < 0) raise(kErrBadBookmark, "Not a valid bookmark");
    position(p);
    bof_ = eof_ = false;
}

Bookmark RecordsetCore::lastModified() const {
    if (!hasLastModified_) raise(kErrNoCurrentRecord, "No row has been added or edited");
    return Bookmark{lastModified_};
}

const std::string& RecordsetCore::fieldName(int i) const {
    if (i < 0 || i >= fieldCount()) raise(kErrItemNotFound, "Item not found in this collection: field " + std::to_string(i));
    return names_[static_cast<size_t>(i)];
}

int RecordsetCore::fieldIndex(std::string_view name) const {
    for (size_t i = 0; i < names_.size(); ++i)
        if (sameName(names_[i], name)) return static_cast<int>(i);
    return -1;
}

void RecordsetCore::needCurrent() {
    loadKeys();
    if (bof_ || eof_) noCurrentRecord();
    if (isDeleted(pos_)) raise(kErrRecordDeleted, "Record is deleted");
}

const std::vector<Value>& RecordsetCore::currentRow() {
    needCurrent();
    if (!keyset_) return rows_[static_cast<size_t>(pos_)];
    if (!rowValid_) {
        conn_->beginRead();
        Statement& s = conn_->cached(fetchSql_);
        ResetOnExit reset(s);
        s.bind(1, Value(static_cast<long long>(keys_[static_cast<size_t>(pos_)])));
        rowMissing_ = !s.step();
        if (!rowMissing_) {
            row_.resize(names_.size());
            for (size_t i = 0; i < names_.size(); ++i) row_[i] = s.column(static_cast<int>(i));
        }
        rowValid_ = true;
    }
    if (rowMissing_) raise(kErrRecordDeleted, "Record is deleted");
    return row_;
}

Value RecordsetCore::field(int i) {
    checkOpen();
    fieldName(i);
    if (mode_ != EditMode::None) {
        int tc = tableColumnOf_[static_cast<size_t>(i)];
        if (tc >= 0) return buffer_[static_cast<size_t>(tc)];
    }
    return currentRow()[static_cast<size_t>(i)];
}

void RecordsetCore::setField(int i, const Value& v) {
    checkOpen();
    fieldName(i);
    if (mode_ == EditMode::None) raise(kErrUpdateWithoutEdit, "Update or CancelUpdate without AddNew or Edit");
    int tc = tableColumnOf_[static_cast<size_t>(i)];
    if (tc < 0) raise(kErrFieldReadOnly, "Field '" + names_[static_cast<size_t>(i)] + "' cannot be updated");
    auto c = static_cast<size_t>(tc);
    buffer_[c] = coerceForColumn(v, columnTypes_[c], tableColumns_[c]);
    dirty_[c] = 1;
}

void RecordsetCore::addNew() {
    checkOpen();
    if (!updatable_) raise(kErrReadOnly, "Cannot update: the recordset is read-only");
    std::fill(buffer_.begin(), buffer_.end(), Value());
    std::fill(dirty_.begin(), dirty_.end(), 0);
    mode_ = EditMode::AddNew;
}

void RecordsetCore::edit() {
    checkOpen();
    if (!updatable_) raise(kErrReadOnly, "Cannot update: the recordset is read-only");
    const auto& row = currentRow();
    std::fill(buffer_.begin(), buffer_.end(), Value());
    std::fill(dirty_.begin(), dirty_.end(), 0);
    for (size_t i = 0; i < names_.size(); ++i)
        if (tableColumnOf_[i] >= 0) buffer_[static_cast<size_t>(tableColumnOf_[i])] = row[i];
    mode_ = EditMode::Edit;
}

Statement& RecordsetCore::insertStatement() {
    std::string mask(dirty_.begin(), dirty_.end());
    auto it = insertByMask_.find(mask);
    if (it != insertByMask_.end()) return conn_->cached(it->second);
    std::string cols, marks;
    for (size_t c = 0; c < dirty_.size(); ++c) {
        if (!dirty_[c]) continue;
        if (!cols.empty()) { cols += ", "; marks += ", "; }
        cols += ident(tableColumns_[c]);
        marks += "?";
    }
    std::string sql = cols.empty() ? "INSERT INTO " + ident(table_) + " DEFAULT VALUES"
                                   : "INSERT INTO " + ident(table_) + " (" + cols + ") VALUES (" + marks + ")";
    insertByMask_[mask] = sql;
    return conn_->cached(sql);
}

Statement& RecordsetCore::updateStatement() {
    std::string mask(dirty_.begin(), dirty_.end());
    auto it = updateByMask_.find(mask);
    if (it != updateByMask_.end()) return conn_->cached(it->second);
    std::string sets;
    for (size_t c = 0; c < dirty_.size(); ++c) {
        if (!dirty_[c]) continue;
        if (!sets.empty()) sets += ", ";
        sets += ident(tableColumns_[c]) + " = ?";
    }
    std::string sql = "UPDATE " + ident(table_) + " SET " + sets + " WHERE rowid = ?";
    updateByMask_[mask] = sql;
    return conn_->cached(sql);
}

void RecordsetCore::update() {
    checkOpen();
    if (mode_ == EditMode::None) raise(kErrUpdateWithoutEdit, "Update or CancelUpdate without AddNew or Edit");
    bool anyDirty = std::find(dirty_.begin(), dirty_.end(), 1) != dirty_.end();
    conn_->beforeWrite();
    if (mode_ == EditMode::AddNew) {
        Statement& s = insertStatement();
        ResetOnExit reset(s);
        int k = 0;
        for (size_t c = 0; c < dirty_.size(); ++c)
            if (dirty_[c]) s.bind(++k, buffer_[c]);
        s.step();
        lastModified_ = conn_->lastInsertRowid();
        if (keysLoaded_) {
            keys_.push_back(lastModified_);
            deleted_.push_back(0);
            if (!keyPos_.empty()) keyPos_[lastModified_] = static_cast<long long>(keys_.size()) - 1;
        } else if (keyset_) {
            addedBeforeLoad_.push_back(lastModified_);
        }
    } else {
        needCurrent();
        std::int64_t key = keys_[static_cast<size_t>(pos_)];
        if (anyDirty) {
            Statement& s = updateStatement();
            ResetOnExit reset(s);
            int k = 0;
            for (size_t c = 0; c < dirty_.size(); ++c)
                if (dirty_[c]) s.bind(++k, buffer_[c]);
            s.bind(++k, Value(static_cast<long long>(key)));
            s.step();
            if (rowidColumn_ >= 0 && dirty_[static_cast<size_t>(rowidColumn_)] &&
                !buffer_[static_cast<size_t>(rowidColumn_)].isNull()) {
                key = buffer_[static_cast<size_t>(rowidColumn_)].asInteger();
                keys_[static_cast<size_t>(pos_)] = key;
                keyPos_.clear();
            }
        }
        lastModified_ = key;
        rowValid_ = false;
    }
    hasLastModified_ = true;
    mode_ = EditMode::None;
}

void RecordsetCore::cancelUpdate() { mode_ = EditMode::None; }

void RecordsetCore::deleteRecord() {
    checkOpen();
    if (!updatable_) raise(kErrReadOnly, "Cannot update: the recordset is read-only");
    needCurrent();
    cancelUpdate();
    conn_->beforeWrite();
    Statement& s = conn_->cached("DELETE FROM " + ident(table_) + " WHERE rowid = ?");
    ResetOnExit reset(s);
    s.bind(1, Value(static_cast<long long>(keys_[static_cast<size_t>(pos_)])));
    s.step();
    if (conn_->changes() == 0) raise(kErrRecordDeleted, "Record is deleted");
    deleted_[static_cast<size_t>(pos_)] = 1;
    ++deletedCount_;
    rowValid_ = false;
}

}  // namespace dao::detail

namespace dao {

Recordset::Recordset() = default;
Recordset::Recordset(std::unique_ptr<detail::RecordsetCore> core) : core_(std::move(core)) {}
Recordset::~Recordset() = default;
Recordset::Recordset(Recordset&&) noexcept = default;
Recordset& Recordset::operator=(Recordset&&) noexcept = default;

detail::RecordsetCore& Recordset::core() const {
    if (!core_) raise(kErrObjectClosed, "The recordset is closed");
    core_->checkOpen();
    return *core_;
}

bool Recordset::isOpen() const { return core_ && core_->open(); }
void Recordset::close() { core_.reset(); }
bool Recordset::updatable() const { return core().updatable(); }
bool Recordset::eof() const { return core().eof(); }
bool Recordset::bof() const { return core().bof(); }
void Recordset::moveFirst() { core().moveFirst(); }
void Recordset::moveLast() { core().moveLast(); }
void Recordset::moveNext() { core().moveNext(); }
void Recordset::movePrevious() { core().movePrevious(); }
long long Recordset::recordCount() const { return core().count(); }
Bookmark Recordset::bookmark() const { return core().bookmark(); }
void Recordset::setBookmark(Bookmark b) { core().setBookmark(b); }
Bookmark Recordset::lastModified() const { return core().lastModified(); }
int Recordset::fieldCount() const { return core().fieldCount(); }
std::string Recordset::fieldName(int index) const { return core().fieldName(index); }
bool Recordset::hasField(std::string_view name) const { return core().fieldIndex(name) >= 0; }

Value Recordset::field(std::string_view name) const {
    int i = core().fieldIndex(name);
    if (i < 0) raise(kErrItemNotFound, "Item not found in this collection: field '" + std::string(name) + "'");
    return core_->field(i);
}

Value Recordset::field(int index) const { return core().field(index); }

void Recordset::setField(std::string_view name, const Value& value) {
    int i = core().fieldIndex(name);
    if (i < 0) raise(kErrItemNotFound, "Item not found in this collection: field '" + std::string(name) + "'");
    core_->setField(i, value);
}

void Recordset::addNew() { core().addNew(); }
void Recordset::edit() { core().edit(); }
void Recordset::update() { core().update(); }
void Recordset::cancelUpdate() { core().cancelUpdate(); }
void Recordset::deleteRecord() { core().deleteRecord(); }
EditMode Recordset::editMode() const { return core().mode(); }

}  // namespace dao

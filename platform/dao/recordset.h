#pragma once
// A set of rows from a table or a query, walked with a current row as the old
// engine's recordsets are. Over one table the rows are held as their keys (rowids)
// and read when visited, so millions of rows cost little memory and the rows can be
// added, edited and deleted; any other query is read whole and is read-only. The
// keys are taken at the set's first move or read, not at opening, so a set opened
// only to add rows never reads the table.
// Insert and update statements stay prepared between rows, so that long loops of
// addNew/update run at full speed (inside a Transaction).
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/dao/value.h"

namespace dao {

namespace detail {
class RecordsetCore;
}

// The old engine's numbers for the kinds of recordset.
enum class RecordsetType : int { Table = 1, Dynaset = 2, Snapshot = 4, ForwardOnly = 8 };

enum class EditMode { None, Edit, AddNew };

// Names a row of one recordset; only meaningful to the recordset that gave it.
struct Bookmark {
    std::int64_t key = 0;
    friend bool operator==(const Bookmark&, const Bookmark&) = default;
};

class Recordset {
public:
    Recordset();
    explicit Recordset(std::unique_ptr<detail::RecordsetCore> core);
    ~Recordset();
    Recordset(Recordset&&) noexcept;
    Recordset& operator=(Recordset&&) noexcept;

    bool isOpen() const;
    void close();
    bool updatable() const;

    // Both are true for an empty recordset. Moving past either end raises 3021.
    bool eof() const;
    bool bof() const;
    void moveFirst();
    void moveLast();
    void moveNext();
    void movePrevious();
    // All rows of the set (the old engine counted only the rows visited so far;
    // after moveLast the two agree).
    long long recordCount() const;

    Bookmark bookmark() const;
    void setBookmark(Bookmark b);
    Bookmark lastModified() const;  // the row last added or edited

    int fieldCount() const;
    std::string fieldName(int index) const;
    bool hasField(std::string_view name) const;
    // Field names ignore letter case; an unknown one raises 3265. A deleted current
    // row raises 3167, no current row 3021.
    Value field(std::string_view name) const;
    Value field(int index) const;
    // Only between addNew or edit and update (else 3020). The value is stored as the
    // column's type takes it (see coerceForColumn).
    void setField(std::string_view name, const Value& value);

    void addNew();
    void edit();
    void update();  // stores the added or edited row; the current row stays where it was
    void cancelUpdate();
    void deleteRecord();  // the current row; it stays current until the next move
    EditMode editMode() const;

private:
    detail::RecordsetCore& core() const;
    std::unique_ptr<detail::RecordsetCore> core_;
};

}  // namespace dao

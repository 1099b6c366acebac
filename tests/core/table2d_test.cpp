#include "core/table2d.h"

#include <gtest/gtest.h>

#include "core/user_interface.h"

using core::Cell;
using core::Table2D;

namespace {

constexpr long kAll = 2147483647;

// Rows of texts from (r0, c0).
Table2D table(long r0, long c0, const std::vector<std::vector<Cell>>& rows) {
    Table2D t;
    t.redim(r0, r0 + static_cast<long>(rows.size()) - 1, c0,
            c0 + static_cast<long>(rows[0].size()) - 1);
    for (std::size_t r = 0; r < rows.size(); ++r)
        for (std::size_t c = 0; c < rows[r].size(); ++c)
            t.set(r0 + static_cast<long>(r), c0 + static_cast<long>(c), rows[r][c]);
    return t;
}

// Bounds and cell texts: "r0..r1 x c0..c1: a,b / c,d".
std::string shape(const Table2D& t) {
    if (!t.hasBounds()) return "none";
    std::string s = std::to_string(t.rowLBound()) + ".." + std::to_string(t.rowUBound()) + " x " +
                    std::to_string(t.colLBound()) + ".." + std::to_string(t.colUBound()) + ":";
    for (long r = t.rowLBound(); r <= t.rowUBound(); ++r) {
        s += r > t.rowLBound() ? " / " : " ";
        for (long c = t.colLBound(); c <= t.colUBound(); ++c)
            s += (c > t.colLBound() ? "," : "") + ARR_Item2D(t, r, c);
    }
    return s;
}

std::string column(const Table2D& t, long c) {
    std::string s;
    for (long r = t.rowLBound(); r <= t.rowUBound(); ++r)
        s += (s.empty() ? "" : ",") + ARR_Item2D(t, r, c);
    return s;
}

core::LngArray keys(std::vector<long> cols) {
    core::LngArray a;
    a.redim(0, static_cast<long>(cols.size()) - 1);
    for (std::size_t k = 0; k < cols.size(); ++k) a.set(static_cast<long>(k), cols[k]);
    return a;
}

class Table2DTest : public ::testing::Test {
protected:
    void TearDown() override { gArrGrowRows = saved_; }
    long saved_ = gArrGrowRows;
};

}  // namespace

TEST_F(Table2DTest, TableWithoutBoundsIsEmptyNotAnError) {
    Table2D t;
    EXPECT_FALSE(ARR_HasBounds(t));
    EXPECT_EQ(t.rowUBound(), -1);
    EXPECT_EQ(ARR_Item2D(t, 0, 0), "");
    long r = 7, c = 7;
    EXPECT_FALSE(ARR_Find2D(t, Cell(std::string()), r, c, -1, -1, kAll, kAll, true, -1));
    EXPECT_EQ(r, -1);
    EXPECT_EQ(c, -1);
    Table2D target = table(0, 0, {{std::string("keep")}});
    core::LngArray widths;
    ARR_Copy2DRange(t, target, false, -1, -1, kAll, kAll);
    ARR_Copy2DWidths(t, target, true, widths);
    ARR_Sort2D(t, keys({0}), 1);
    EXPECT_EQ(shape(target), "0..0 x 0..0: keep");
    EXPECT_FALSE(widths.hasBounds());
    EXPECT_FALSE(t.hasBounds());
}

TEST_F(Table2DTest, Item2DGivesCellTextsAndEmptyOutsideTheBounds) {
    Table2D t = table(1, 1, {{Cell(7L), Cell(true), Cell(1e20), Cell(), Cell(std::string("a b"))}});
    EXPECT_EQ(ARR_Item2D(t, 1, 1), "7");
    EXPECT_EQ(ARR_Item2D(t, 1, 2), "True");
    EXPECT_EQ(ARR_Item2D(t, 1, 3), "1E+20");
    EXPECT_EQ(ARR_Item2D(t, 1, 4), "");
    EXPECT_EQ(ARR_Item2D(t, 1, 5), "a b");
    EXPECT_EQ(ARR_Item2D(t, 0, 1), "");
    EXPECT_EQ(ARR_Item2D(t, 1, 6), "");
    EXPECT_THROW(t(0, 1), sys::RtError);
}

TEST_F(Table2DTest, AddRowUniqueGrowsByTheGrowthUnit) {
    struct Case {
        const char* name;
        long grow;
        std::optional<Table2D> start;
        long row, col;
        const char* after;
    };
    const Case cases[] = {
        {"exact growth from no bounds", 1, std::nullopt, 5, 2,
         "0..5 x 0..2: ,, / ,, / ,, / ,, / ,, / ,,v"},
        {"rows grow by 30", 30, table(0, 0, {{std::string("a")}}), 1, 0, nullptr},
        {"columns grow in place", 2, table(0, 0, {{std::string("a")}, {std::string("b")}}), 1, 1,
         "0..1 x 0..2: a,, / b,v,"},
        {"a store inside changes one cell", 30, table(0, 0, {{std::string("a"), std::string("b")}}),
         0, 1, "0..0 x 0..1: a,v"},
        {"rows restart from 0 when they grow", 1, table(2, 1, {{std::string("a")}}), 3, 1,
         "0..3 x 1..1:  /  / a / v"},
        {"rows below 0 are kept", 1, table(-1, 0, {{std::string("a")}}), 1, 0,
         "-1..1 x 0..0: a /  / v"},
        {"a growth unit below 1 counts as 30", 0, table(0, 0, {{std::string("a")}}), 1, 0, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        gArrGrowRows = c.grow;
        Table2D t = c.start.value_or(Table2D());
        bool stored = false;
        ARR_AddRowUnique(t, c.row, c.col, Cell(std::string("v")), 0, 0, 0, stored);
        EXPECT_TRUE(stored);
        if (c.after) {
            EXPECT_EQ(shape(t), c.after);
        } else {
            EXPECT_EQ(t.rowUBound(), 30);
            EXPECT_EQ(t.colUBound(), 0);
            EXPECT_EQ(column(t, 0).substr(0, 4), "a,v,");
        }
    }
    EXPECT_EQ(gArrGrowRows, 30);
}

TEST_F(Table2DTest, RowsAndColumnsAddedOneByOneKeepEveryCell) {
    gArrGrowRows = 1;
    Table2D t;
    bool stored = false;
    for (long r = 0; r < 3000; ++r)
        for (long c = 0; c < (r < 10 ? r + 1 : 3); ++c)
            ARR_AddRowUnique(t, r, c, Cell(r * 10 + c), 0, 0, 0, stored);
    EXPECT_EQ(t.rowUBound(), 2999);
    EXPECT_EQ(t.colUBound(), 9);
    for (long r = 0; r < 3000; ++r)
        for (long c = 0; c <= 9; ++c) {
            bool set = c < (r < 10 ? r + 1 : 3);
            ASSERT_EQ(ARR_Item2D(t, r, c), set ? std::to_string(r * 10 + c) : "") << r << "," << c;
        }
}

TEST_F(Table2DTest, AddRowUniqueRefusesDuplicatesPerScope) {
    const Table2D start = table(
        0, 0, {{std::string("abc"), std::string("x")}, {std::string("y"), std::string("ABC")}});
    struct Case {
        const char* name;
        long dupTable, dupRow, dupCol, row, col;
        bool stored;
    };
    const Case cases[] = {
        {"row check ignoring case refuses", 0, 2, 0, 0, 1, false},
        {"row check exactly lets other capitals in", 0, 1, 0, 0, 1, true},
        {"row check looks only at that row", 0, 2, 0, 2, 0, true},
        {"column check ignoring case refuses", 0, 0, 2, 1, 0, false},
        {"column check looks only at that column", 0, 0, 1, 5, 0, true},
        {"table check exactly finds row 1", 1, 0, 0, 3, 3, false},
        {"no check stores", 0, 0, 0, 0, 1, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Table2D t = start;
        bool stored = !c.stored;
        ARR_AddRowUnique(t, c.row, c.col, Cell(std::string("ABC")), c.dupTable, c.dupRow, c.dupCol,
                         stored);
        EXPECT_EQ(stored, c.stored);
        if (!c.stored)
            EXPECT_EQ(shape(t), shape(start));
        else
            EXPECT_EQ(ARR_Item2D(t, c.row, c.col), "ABC");
    }
}

TEST_F(Table2DTest, Find2DSearchesTheClippedRangeRowByRow) {
    const Table2D t = table(0, 0,
                            {{std::string("a|b|c"), Cell(5L), std::string("Key")},
                             {std::string("key"), Cell(), std::string("b")},
                             {Cell(core::DateTime{45000}), Cell(1L), Cell(1L)}});
    struct Case {
        const char* name;
        Cell value;
        long firstRow, firstCol, lastRow, lastCol;
        bool matchCase;
        long itemNo, row, col;
    };
    const Case cases[] = {
        {"whole extent, exact", std::string("key"), -1, -1, kAll, kAll, true, -1, 1, 0},
        {"ignoring case hits the first in row order", std::string("KEY"), -1, -1, kAll, kAll, false,
         -1, 0, 2},
        {"list item 2 of a cell", std::string("b"), -1, -1, kAll, kAll, true, 2, 0, 0},
        {"item 4 of a three-item list is empty", std::string(""), 0, 0, 0, 0, true, 4, 0, 0},
        {"range excludes the first hit", std::string("b"), 1, -1, kAll, kAll, true, -1, 1, 2},
        {"number against number", Cell(5.0), -1, -1, kAll, kAll, true, -1, 0, 1},
        {"number never equals its text exactly", std::string("5"), -1, -1, kAll, kAll, true, -1, -1,
         -1},
        {"but does as lower-cased text", std::string("5"), -1, -1, kAll, kAll, false, -1, 0, 1},
        {"empty equals the empty text", std::string(""), 1, -1, kAll, kAll, true, -1, 1, 1},
        {"a date against its serial", Cell(45000.0), -1, -1, kAll, kAll, true, -1, 2, 0},
        {"empty range", std::string("a|b|c"), 1, 0, 0, kAll, true, -1, -1, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        long r = 99, k = 99;
        bool found = ARR_Find2D(t, c.value, r, k, c.firstRow, c.firstCol, c.lastRow, c.lastCol,
                                c.matchCase, c.itemNo);
        EXPECT_EQ(found, c.row != -1);
        EXPECT_EQ(r, c.row);
        EXPECT_EQ(k, c.col);
    }
}

TEST_F(Table2DTest, RangeCopiesKeepIndexesOrTranspose) {
    const Table2D src = table(0, 0,
                              {{std::string("a"), std::string("b")},
                               {std::string("c"), std::string("d")},
                               {std::string("e"), std::string("f")}});
    struct Case {
        const char* name;
        bool transpose;
        long firstRow, firstCol, lastRow, lastCol;
        const char* after;
    };
    const Case cases[] = {
        {"all rows", false, -1, -1, kAll, kAll, "0..2 x 0..1: a,b / c,d / e,f"},
        {"sub-range keeps its indexes", false, 1, 1, 2, 5, "1..2 x 1..1: d / f"},
        {"transposed", true, -1, -1, kAll, kAll, "0..1 x 0..2: a,c,e / b,d,f"},
        {"transposed sub-range", true, 1, 0, 2, 0, "0..0 x 1..2: c,e"},
        {"empty range leaves the target", false, 3, 0, kAll, kAll, "0..0 x 0..0: old"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Table2D target = table(0, 0, {{std::string("old")}});
        ARR_Copy2DRange(src, target, c.transpose, c.firstRow, c.firstCol, c.lastRow, c.lastCol);
        EXPECT_EQ(shape(target), c.after);
    }
    Table2D copy;
    ARR_Copy2DRange(src, copy, false, -1, -1, kAll, kAll);
    copy.set(0, 0, std::string("changed"));
    EXPECT_EQ(ARR_Item2D(src, 0, 0), "a");
}

TEST_F(Table2DTest, CopyWithWidthsMeasuresTargetColumns) {
    const Table2D src = table(1, 0,
                              {{std::string("abc"), Cell()},
                               {std::string("a"), Cell(12345L)},
                               {std::string(""), std::string("xy")}});
    Table2D target;
    core::LngArray widths;
    ARR_Copy2DWidths(src, target, false, widths);
    EXPECT_EQ(shape(target), shape(src));
    EXPECT_EQ(widths.lbound(), 0);
    EXPECT_EQ(widths.items(), (std::vector<long>{3, 5}));

    ARR_Copy2DWidths(src, target, true, widths);
    EXPECT_EQ(shape(target), "0..1 x 1..3: abc,a, / ,12345,xy");
    EXPECT_EQ(widths.lbound(), 1);
    EXPECT_EQ(widths.items(), (std::vector<long>{3, 5, 2}));

    Table2D blank = table(0, 0, {{Cell()}, {std::string()}});
    ARR_Copy2DWidths(blank, target, false, widths);
    EXPECT_EQ(widths.items(), (std::vector<long>{0}));

    target.set(0, 0, std::string("changed"));
    EXPECT_EQ(ARR_Item2D(blank, 0, 0), "");
}

TEST_F(Table2DTest, SortIsStableIgnoresCaseAndJoinsTheKeyColumns) {
    struct Case {
        const char* name;
        std::vector<std::vector<Cell>> rows;
        long rowLo;
        std::vector<long> keyCols;
        const char* order;  // column 0 after the sort
    };
    const Case cases[] = {
        {"ignoring case, equal keys keep their order",
         {{std::string("1"), std::string("b")},
          {std::string("2"), std::string("A")},
          {std::string("3"), std::string("B")},
          {std::string("4"), std::string("a")}},
         0,
         {1},
         "2,4,1,3"},
        {"second key breaks ties of the first",
         {{std::string("1"), std::string("x"), std::string("2")},
          {std::string("2"), std::string("X"), std::string("1")},
          {std::string("3"), std::string("a"), std::string("9")}},
         0,
         {1, 2},
         "3,2,1"},
        {"key columns are joined into one key",
         {{std::string("1"), std::string("abc"), std::string("5")},
          {std::string("2"), std::string("ab"), std::string("z")}},
         0,
         {1, 2},
         "1,2"},
        {"keys in the order given",
         {{std::string("1"), std::string("b"), std::string("a")},
          {std::string("2"), std::string("a"), std::string("b")}},
         0,
         {2, 1},
         "1,2"},
        {"numbers sort by their text",
         {{std::string("1"), Cell(10L)},
          {std::string("2"), Cell(9L)},
          {std::string("3"), Cell(1e20)}},
         0,
         {1},
         "1,3,2"},
        {"rows keep the lower bound",
         {{std::string("1"), std::string("z")}, {std::string("2"), std::string("y")}},
         5,
         {1},
         "2,1"},
        {"underscore sorts before letters",
         {{std::string("1"), std::string("a")}, {std::string("2"), std::string("_")}},
         0,
         {1},
         "2,1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Table2D t = table(c.rowLo, 0, c.rows);
        ARR_Sort2D(t, keys(c.keyCols), 1);
        EXPECT_EQ(column(t, 0), c.order);
        EXPECT_EQ(t.rowLBound(), c.rowLo);
    }
}

TEST_F(Table2DTest, SortHasNoRowLimit) {
    const long n = 40000;  // more rows than a list control could hold
    Table2D t;
    t.redim(0, n - 1, 0, 1);
    for (long r = 0; r < n; ++r) {
        t.set(r, 0, r);
        t.set(r, 1, std::string(1, static_cast<char>('a' + (n - 1 - r) % 26)));
    }
    ARR_Sort2D(t, keys({1}), 1);
    EXPECT_EQ(ARR_Item2D(t, 0, 1), "a");
    EXPECT_EQ(ARR_Item2D(t, n - 1, 1), "z");
    // Within one key, rows keep their original (ascending) order.
    for (long r = 1; r < n; ++r) {
        if (ARR_Item2D(t, r, 1) == ARR_Item2D(t, r - 1, 1)) {
            ASSERT_LT(std::get<long>(t(r - 1, 0)), std::get<long>(t(r, 0))) << r;
        }
    }
}

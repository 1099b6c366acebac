#include "platform/grid/cell_store.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace grid {
namespace {

// A store of one key column and one tag column that records the original order.
CellStore storeOf(const std::vector<std::string>& keys)
{
    CellStore s;
    s.setCols(2);
    for (const std::string& k : keys) s.insertRow(s.rows(), k + "\t" + std::to_string(s.rows()));
    return s;
}

std::vector<std::string> column(const CellStore& s, int col)
{
    std::vector<std::string> out;
    for (long r = 0; r < s.rows(); ++r) out.emplace_back(s.text(r, col));
    return out;
}

TEST(CellStoreSort, OrdersByCodeAndKeepsEqualKeysInPlace)
{
    const std::vector<std::string> keys = {"10", "9", "b", "B", "9", "", "1,000", "a"};
    struct Case {
        SortCode code;
        std::vector<std::string> keys;
        std::vector<std::string> tags;
    } cases[] = {
        // Texts and empty cells read as 0; equal numbers keep their order.
        {kSortNumericAscending, {"b", "B", "", "a", "9", "9", "10", "1,000"},
         {"2", "3", "5", "7", "1", "4", "0", "6"}},
        {kSortNumericDescending, {"1,000", "10", "9", "9", "b", "B", "", "a"},
         {"6", "0", "1", "4", "2", "3", "5", "7"}},
        // Byte order: digits, then upper case, then lower case.
        {kSortStringAscending, {"", "1,000", "10", "9", "9", "B", "a", "b"},
         {"5", "6", "0", "1", "4", "3", "7", "2"}},
        {kSortStringDescending, {"b", "a", "B", "9", "9", "10", "1,000", ""},
         {"2", "7", "3", "1", "4", "0", "6", "5"}},
        // Numbers first by value, then the texts.
        {kSortGenericAscending, {"9", "9", "10", "1,000", "", "B", "a", "b"},
         {"1", "4", "0", "6", "5", "3", "7", "2"}},
        {kSortGenericDescending, {"b", "a", "B", "", "1,000", "10", "9", "9"},
         {"2", "7", "3", "5", "6", "0", "1", "4"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        CellStore s = storeOf(keys);
        s.sortRows(0, s.rows() - 1, 0, 0, c.code);
        EXPECT_EQ(column(s, 0), c.keys);
        EXPECT_EQ(column(s, 1), c.tags);
    }
}

// A number too large for a Double ("1e999" as a search term) is a text like any other.
TEST(CellStoreSort, ANumberPastADoublesRangeSortsAsText)
{
    CellStore s = storeOf({"b", "1e999", "5"});
    s.sortRows(0, s.rows() - 1, 0, 0, kSortGenericAscending);
    EXPECT_EQ(column(s, 0), (std::vector<std::string>{"5", "1e999", "b"}));
}

TEST(CellStoreSort, LaterKeyColumnsBreakTiesAndRowsOutsideTheRangeStay)
{
    CellStore s;
    s.setCols(3);
    for (const char* item : {"head\t\t", "x\t2\tp", "x\t1\tq", "a\t9\tr", "tail\t0\ts"})
        s.insertRow(s.rows(), item);
    s.setBackColor(1, 2, 0x00FF00);
    s.sortRows(1, 3, 0, 1, kSortStringAscending);
    EXPECT_EQ(column(s, 2), (std::vector<std::string>{"", "r", "q", "p", "s"}));
    // The colour travels with its row.
    EXPECT_EQ(s.backColor(3, 2), 0x00FF00u);
    EXPECT_EQ(s.backColor(1, 2), 0u);
}

// A row's number (what a report row stands for) follows its row through sorts,
// insertions, removals and a longer grid.
TEST(CellStore, RowDataTravelsWithItsRow)
{
    CellStore s = storeOf({"c", "a", "b"});
    for (long r = 0; r < s.rows(); ++r) s.setRowData(r, 10 + r);
    s.sortRows(0, s.rows() - 1, 0, 0, kSortStringAscending);
    s.insertRow(1, "new");
    s.removeRow(0);
    s.setRows(5);
    std::vector<long> data;
    for (long r = 0; r < s.rows(); ++r) data.push_back(s.rowData(r));
    EXPECT_EQ(column(s, 0), (std::vector<std::string>{"new", "b", "c", "", ""}));
    EXPECT_EQ(data, (std::vector<long>{0, 12, 10, 0, 0}));
}

TEST(CellStore, InsertSplitsTabsAndDropsFieldsBeyondTheLastColumn)
{
    CellStore s;
    s.setCols(2);
    s.insertRow(0, "a\tb\tc");
    s.insertRow(0, "only");
    EXPECT_EQ(column(s, 0), (std::vector<std::string>{"only", "a"}));
    EXPECT_EQ(column(s, 1), (std::vector<std::string>{"", "b"}));
    s.setCols(3);
    EXPECT_EQ(s.text(1, 2), "");
}

TEST(CellStore, ShrinkingColumnsDropsTheirCellsForGood)
{
    CellStore s;
    s.setCols(3);
    s.setRows(1);
    s.setText(0, 2, "gone");
    s.setBackColor(0, 2, 255);
    s.setCols(2);
    s.setCols(3);
    EXPECT_EQ(s.text(0, 2), "");
    EXPECT_EQ(s.backColor(0, 2), 0u);
}

// Texts shared in one pool: rewriting cells, longer and shorter, copying a cell onto
// another and shrinking the table must leave every other text intact, also across the
// compaction that many rewrites bring.
TEST(CellStore, RewritesCopiesAndCompactionKeepEveryText)
{
    CellStore s;
    s.setCols(3);
    s.setRows(50);
    std::vector<std::vector<std::string>> shadow(50, std::vector<std::string>(3));
    for (int round = 0; round < 1000; ++round)
        for (long r = 0; r < 50; ++r) {
            const int c = (round + r) % 3;
            // Lengths go up and down, so some writes fit in place and some do not.
            shadow[r][c] = std::string(static_cast<std::size_t>((round * 7 + r) % 120), char('a' + round % 26));
            s.setText(r, c, shadow[r][c]);
        }
    s.setText(0, 0, s.text(49, 2));  // the source lives in the same pool
    shadow[0][0] = shadow[49][2];
    s.setText(1, 1, "");
    shadow[1][1].clear();
    s.removeRow(10);
    shadow.erase(shadow.begin() + 10);
    s.setCols(2);
    for (long r = 0; r < s.rows(); ++r)
        for (int c = 0; c < 2; ++c) {
            SCOPED_TRACE(std::to_string(r) + "," + std::to_string(c));
            ASSERT_EQ(s.text(r, c), shadow[r][c]);
        }
}

}  // namespace
}  // namespace grid

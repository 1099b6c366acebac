#pragma once
// The key table of an analysis: numbers for value texts, found by the exact text. The
// letter cells of the original layout are kept only as the place a text would sit in
// (row and column), which the memory level sizes; the lookup itself is a hash on the
// whole text, so texts that differ only by "|" or by case stay apart.
#include <string>
#include <string_view>
#include <unordered_map>

// Rows and columns of a key table at a memory level: 1 gives 27 x 27, 2 gives 27 x 729,
// 3 gives 729 x 729, 4 gives 729 x 19683 (upper bounds).
void LISTX_KeyTableSize(int level, long& rowUBound, long& colUBound);
// 1 to 26 for the letters A to Z in either case, 27 for any other character.
int LISTX_LetterIndex(std::string_view text, std::size_t position);

struct KeyTable {
    int level = 3;
    std::unordered_map<std::string, long> numbers;
};

// A fresh key table for a memory level (1, 2, 3 or 4).
KeyTable LISTX_KeyTableNew(int level);
// The text's cell (row, column) and number; a text seen for the first time gets the
// next number, with `added` true.
void LISTX_KeyFind(KeyTable& table, const std::string& text, long& row, long& col, long& number, bool& added);

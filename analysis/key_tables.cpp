#include "analysis/key_tables.h"
#include "platform/sys/ascii.h"

void LISTX_KeyTableSize(int level, long& rowUBound, long& colUBound) {
    switch (level) {
        case 1: rowUBound = 27; colUBound = 27; break;
        case 2: rowUBound = 27; colUBound = 729; break;
        case 4: rowUBound = 729; colUBound = 19683; break;
        default: rowUBound = 729; colUBound = 729; break;
    }
}

namespace {

int letterIndex(char c) {
    const int n = static_cast<unsigned char>(sys::asciiUpper(c)) - 64;
    return n >= 1 && n <= 26 ? n : 27;
}

}  // namespace

int LISTX_LetterIndex(std::string_view text, std::size_t position) {
    return position < 1 || position > text.size() ? 27 : letterIndex(text[position - 1]);
}

KeyTable LISTX_KeyTableNew(int level) {
    // Not reserved for the level's cell count: the hash grows with the texts it holds,
    // and half a million empty buckets made every lookup a cache miss.
    KeyTable table;
    table.level = level;
    return table;
}

void LISTX_KeyFind(KeyTable& table, const std::string& text, long& row, long& col, long& number, bool& added) {
    // The letters at positions 1, 3, 5 and 7 and at the end of the text with its "|" taken out.
    int l1 = 27, l3 = 27, l5 = 27, l7 = 27, ln = 27;
    std::size_t position = 0;
    for (char c : text) {
        if (c == '|') continue;
        switch (++position) {
            case 1: l1 = letterIndex(c); break;
            case 3: l3 = letterIndex(c); break;
            case 5: l5 = letterIndex(c); break;
            case 7: l7 = letterIndex(c); break;
            default: break;
        }
        ln = letterIndex(c);
    }
    switch (table.level) {
        case 1: row = l1; col = ln; break;
        case 2: row = l1; col = (ln - 1) * 27 + l3; break;
        case 4: row = (l1 - 1) * 27 + l5; col = (ln - 1) * 27 + l3 + (l7 - 1) * 729; break;
        default: row = (l1 - 1) * 27 + l5; col = (ln - 1) * 27 + l3; break;
    }
    auto [it, inserted] = table.numbers.try_emplace(text, static_cast<long>(table.numbers.size()) + 1);
    number = it->second;
    added = inserted;
}

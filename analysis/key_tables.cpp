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

int LISTX_LetterIndex(std::string_view text, std::size_t position) {
    if (position < 1 || position > text.size()) return 27;
    const int n = static_cast<unsigned char>(sys::asciiUpper(text[position - 1])) - 64;
    return n >= 1 && n <= 26 ? n : 27;
}

KeyTable LISTX_KeyTableNew(int level) {
    // Not reserved for the level's cell count: the hash grows with the texts it holds,
    // and half a million empty buckets made every lookup a cache miss.
    KeyTable table;
    table.level = level;
    return table;
}

void LISTX_KeyFind(KeyTable& table, const std::string& text, long& row, long& col, long& number, bool& added) {
    std::string plain;
    plain.reserve(text.size());
    for (char c : text)
        if (c != '|') plain += c;
    const int l1 = LISTX_LetterIndex(plain, 1), ln = LISTX_LetterIndex(plain, plain.size()), l3 = LISTX_LetterIndex(plain, 3);
    const int l5 = LISTX_LetterIndex(plain, 5), l7 = LISTX_LetterIndex(plain, 7);
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

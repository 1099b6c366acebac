#include "core/delimited_lists.h"

#include <algorithm>
#include <climits>
#include <vector>

#include "core/ini_store.h"
#include "core/numbers.h"
#include "core/stored_text.h"
#include "core/text.h"
#include "core/vb_format.h"

namespace {

using Items = std::vector<std::string>;

struct Mode {
    bool plain = true;
    char open = '{';
    char close = '}';
};

Mode modeOf(std::string_view spec) {
    Mode m;
    m.plain = spec == kChunksNoExclusion;
    if (!m.plain) CHUNKS_ParsePair(spec, m.open, m.close);
    return m;
}

std::string_view trimBlanks(std::string_view s) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
}

std::string_view orBar(std::string_view delimiter) { return delimiter.empty() ? "|" : delimiter; }
std::string_view orMarker(std::string_view marker) { return marker.empty() ? kChunksMarker : marker; }

bool contains(std::string_view text, std::string_view find) {
    return !find.empty() && text.find(find) != std::string_view::npos;
}
bool contains(std::string_view text, char c) { return text.find(c) != std::string_view::npos; }

std::string replaced(std::string_view text, std::string_view find, std::string_view by) {
    return TXT_Replace(text, find, by, true);
}

int codeOf(char c) { return static_cast<unsigned char>(c); }

// A delimiter whose end is also its start ("||", ":::", "abab") can fuse with an item
// that ends or begins in its characters; no pair standing for the whole delimiter
// can mark that.
bool overlapsItself(std::string_view delimiter) {
    for (size_t k = 1; k < delimiter.size(); ++k)
        if (delimiter.substr(0, k) == delimiter.substr(delimiter.size() - k)) return true;
    return false;
}

// What a plain list's escape pair stands for: the delimiter, or for a delimiter that
// overlaps itself its first character, so that no item keeps any character that
// could start a delimiter.
std::string_view escapedByPair(std::string_view delimiter) {
    return overlapsItself(delimiter) ? delimiter.substr(0, 1) : delimiter;
}

Items CHUNKS_SplitPlain(std::string rest, std::string_view delimiter, std::string_view marker,
                 size_t limit) {
    Items out;
    std::string pair;
    bool trailer = CHUNKS_TrailerStrip(rest, marker, pair);
    size_t pos = 0;
    for (;;) {
        size_t p = rest.find(delimiter, pos);
        std::string item = rest.substr(pos, p == std::string::npos ? std::string::npos : p - pos);
        if (trailer) item = replaced(item, pair, escapedByPair(delimiter));
        out.push_back(std::move(item));
        if (p == std::string::npos || out.size() >= limit) break;
        pos = p + delimiter.size();
    }
    return out;
}

Items CHUNKS_SplitProtected(std::string rest, std::string_view delimiter, Mode m, size_t limit) {
    Items out;
    std::string p1, p2;
    bool trailer = CHUNKS_TrailerProtStrip(rest, m.open, p1, p2);
    for (;;) {
        std::string item;
        bool last = false;
        std::string_view t = trimBlanks(rest);
        if (t.empty() || t.front() != m.open) {
            size_t p = rest.find(delimiter);
            if (p == std::string::npos) {
                item = rest;
                last = true;
            } else {
                item = rest.substr(0, p);
                rest = rest.substr(p + delimiter.size());
            }
        } else {
            if (!contains(rest, m.close)) rest += m.close;
            t = trimBlanks(rest);
            item = std::string(t.substr(1, t.find(m.close) - 1));
            std::string remainder = rest.substr(rest.find(m.close) + 1);
            std::string_view tr = trimBlanks(remainder);
            if (tr.empty() || !tr.starts_with(delimiter))
                last = true;  // anything after the region that is not a delimiter is dropped
            else
                rest = remainder.substr(remainder.find(delimiter) + delimiter.size());
        }
        if (trailer) item = replaced(replaced(item, p1, std::string(1, m.open)), p2,
                                     std::string(1, m.close));
        out.push_back(std::move(item));
        if (last || out.size() >= limit) break;
    }
    return out;
}

Items splitItems(std::string_view text, std::string_view delimiter, Mode m,
                 std::string_view marker, size_t limit = SIZE_MAX) {
    if (text.empty()) return {std::string()};
    delimiter = orBar(delimiter);
    return m.plain ? CHUNKS_SplitPlain(std::string(text), delimiter, orMarker(marker), limit)
                   : CHUNKS_SplitProtected(std::string(text), delimiter, m, limit);
}

// The empty list has no items (its split gives one empty one).
Items itemsOf(std::string_view list, std::string_view delimiter, Mode m, std::string_view marker) {
    return list.empty() ? Items{} : splitItems(list, delimiter, m, marker);
}

std::string concat(const Items& items, std::string_view delimiter) {
    std::string out;
    for (size_t i = 0; i < items.size(); ++i) {
        if (i) out += delimiter;
        out += items[i];
    }
    return out;
}

std::string wrapAll(const Items& items, std::string_view delimiter, Mode m) {
    std::string out;
    for (size_t i = 0; i < items.size(); ++i) {
        if (i) out += delimiter;
        out += m.open + items[i] + m.close;
    }
    return out;
}

std::string plainWithPair(const Items& items, std::string_view delimiter, std::string_view marker,
                          const std::string& pair) {
    Items encoded;
    for (const auto& e : items) encoded.push_back(replaced(e, escapedByPair(delimiter), pair));
    return concat(encoded, delimiter) + std::string(marker) + pair;
}

std::string protectedWithPairs(const Items& items, std::string_view delimiter, Mode m,
                               const std::string& p1, const std::string& p2) {
    Items encoded;
    for (const auto& e : items)
        encoded.push_back(replaced(replaced(e, std::string(1, m.open), p1), std::string(1, m.close), p2));
    return wrapAll(encoded, delimiter, m) + m.open + m.open + p1 + p2;
}

// The pair(s) for an escape trailer: the first candidates, in the usual order, with which
// splitting gives back exactly these items.
std::string joinEscaped(const Items& items, const std::string& plainText,
                        std::string_view delimiter, Mode m, std::string_view marker) {
    if (m.plain) {
        std::string pair =
            TXT_UnusedCharFind(plainText, 2, codeOf(delimiter.front()), 0, 33, [&](const std::string& p) {
                return splitItems(plainWithPair(items, delimiter, marker, p), delimiter, m, marker) == items;
            });
        return plainWithPair(items, delimiter, marker, pair);
    }
    std::string p2;
    const std::string open(1, m.open);
    std::string p1 = TXT_UnusedCharFind(plainText, 2, codeOf(m.open), codeOf(m.close), 33,
                                        [&](const std::string& c1) {
        // A P1 that fuses with the items fails with every P2; skip it before the search.
        for (const auto& e : items)
            if (replaced(replaced(e, open, c1), c1, open) != e) return false;
        try {
            p2 = TXT_UnusedCharFind(plainText + c1, 2, codeOf(m.open), codeOf(m.close), 33,
                                    [&](const std::string& c2) {
                return splitItems(protectedWithPairs(items, delimiter, m, c1, c2), delimiter, m,
                                  marker) == items;
            });
            return true;
        } catch (const sys::RtError& e) {
            if (e.number() != 9910) throw;
            return false;
        }
    });
    return protectedWithPairs(items, delimiter, m, p1, p2);
}

// Without escapes a list splits back unless its end happens to look like a trailer.
bool looksLikeTrailer(const std::string& text, Mode m, std::string_view marker) {
    std::string copy = text, a, b;
    return m.plain ? CHUNKS_TrailerStrip(copy, marker, a) : CHUNKS_TrailerProtStrip(copy, m.open, a, b);
}

std::string joinItems(const Items& items, std::string_view delimiter, Mode m, std::string_view marker) {
    if (items.empty()) return {};
    marker = orMarker(marker);
    if (m.plain) {
        std::string text = concat(items, delimiter);
        if (delimiter.empty()) return text;
        bool escape = std::any_of(items.begin(), items.end(),
                                  [&](const std::string& e) { return contains(e, delimiter); });
        if (!escape && overlapsItself(delimiter))
            escape = splitItems(text, delimiter, m, marker) != items;
        if (!escape && !looksLikeTrailer(text, m, marker)) return text;
        return joinEscaped(items, text, delimiter, m, marker);
    }
    std::string text = wrapAll(items, delimiter, m);
    bool escape = std::any_of(items.begin(), items.end(), [&](const std::string& e) {
        return contains(e, m.open) || contains(e, m.close);
    });
    if (!escape && !looksLikeTrailer(text, m, marker)) return text;
    return joinEscaped(items, text, orBar(delimiter), m, marker);
}

void fill(core::StrArray& out, const Items& items, long lowerBound) {
    out.redim(lowerBound, lowerBound + static_cast<long>(items.size()) - 1);
    for (size_t i = 0; i < items.size(); ++i) out.set(lowerBound + static_cast<long>(i), items[i]);
}

Items range(const core::StrArray& a, long first, long last, bool skipBlank) {
    Items out;
    if (!a.hasBounds()) return out;
    long hi = last >= 0 ? std::min(a.ubound(), last) : a.ubound();
    for (long i = std::max(first, a.lbound()); i <= hi; ++i)
        if (!skipBlank || !trimBlanks(a[i]).empty()) out.push_back(a[i]);
    return out;
}

bool sameItem(std::string_view a, std::string_view b, long dupMode) {
    return TXT_IsEqual(a, b, dupMode == 1);
}

// The insertion as stored lists have always been written: the list's text is kept
// and only the new item is encoded, reusing the list's pairs where they still serve.
std::string insertPlain(std::string_view list, std::string_view item, std::string_view delimiter,
                        bool atFront, std::string_view marker) {
    std::string stripped(list), pair;
    bool hadTrailer = CHUNKS_TrailerStrip(stripped, marker, pair);
    bool newPair = hadTrailer ? contains(item, pair) : contains(item, delimiter);
    if (newPair) {
        std::string fresh = TXT_UnusedCharFind(stripped + std::string(item), 2,
                                               codeOf(delimiter.front()), 0, 33);
        if (hadTrailer) stripped = replaced(stripped, pair, fresh);
        pair = fresh;
    }
    bool trailer = hadTrailer || newPair;
    std::string encoded = trailer ? replaced(item, escapedByPair(delimiter), pair) : std::string(item);
    std::string sep = stripped.empty() ? "" : std::string(delimiter);
    std::string out = atFront ? encoded + sep + stripped : stripped + sep + encoded;
    return trailer ? out + std::string(marker) + pair : out;
}

std::string insertProtected(std::string_view list, std::string_view item, std::string_view delimiter,
                            Mode m, bool atFront) {
    std::string stripped(list), p1, p2;
    bool hadTrailer = CHUNKS_TrailerProtStrip(stripped, m.open, p1, p2);
    bool newPairs = hadTrailer ? contains(item, p1) || contains(item, p2)
                               : contains(item, m.open) || contains(item, m.close);
    if (newPairs) {
        std::string text = stripped + std::string(item);
        std::string n1 = TXT_UnusedCharFind(text, 2, codeOf(m.open), codeOf(m.close), 33);
        std::string n2 = TXT_UnusedCharFind(n1 + text, 2, codeOf(m.open), codeOf(m.close), 33);
        if (hadTrailer) stripped = replaced(replaced(stripped, p1, n1), p2, n2);
        p1 = n1;
        p2 = n2;
    }
    bool trailer = hadTrailer || newPairs;
    std::string encoded(item);
    if (trailer)
        encoded = replaced(replaced(encoded, std::string(1, m.open), p1), std::string(1, m.close), p2);
    encoded = m.open + encoded + m.close;
    std::string sep = stripped.empty() ? "" : std::string(delimiter);
    std::string out = atFront ? encoded + sep + stripped : stripped + sep + encoded;
    return trailer ? out + m.open + m.open + p1 + p2 : out;
}

std::string itemText(long v) { return std::to_string(v); }
std::string itemText(int v) { return std::to_string(v); }
std::string itemText(const std::string& v) { return v; }

template <class T>
std::string joinVariants(const core::TypedArray<T>& values, long first) {
    core::StrArray texts;
    if (values.hasBounds()) {
        texts.redim(values.lbound(), values.ubound());
        for (long i = values.lbound(); i <= values.ubound(); ++i) texts.set(i, itemText(values[i]));
    }
    return CHUNKS_Join(texts, first);
}

long clampedLong(double v) { return core::vbCLng(std::clamp(v, -2147483648.0, 2147483647.0)); }

template <class T, class Convert>
void toNumbers(const Items& items, core::TypedArray<T>& out, long lowerBound, Convert convert) {
    out.redim(lowerBound, lowerBound + static_cast<long>(items.size()) - 1);
    for (size_t i = 0; i < items.size(); ++i)
        out.set(lowerBound + static_cast<long>(i), convert(TXT_Val(items[i])));
}

template <class T, class Convert>
void listToNumbers(std::string_view list, core::TypedArray<T>& out, long lowerBound, Convert convert) {
    if (list.empty()) {
        out.redim(0, 0);
        return;
    }
    core::StrArray items;
    CHUNKS_Split(list, items, lowerBound);
    toNumbers(items.items(), out, items.lbound(), convert);
}

}  // namespace

void CHUNKS_ParsePair(std::string_view spec, char& open, char& close) {
    open = '{';
    close = '}';
    if (spec.size() == 2 && spec[0] != ' ' && spec[1] != ' ' && spec[0] != spec[1]) {
        open = spec[0];
        close = spec[1];
    }
}

bool CHUNKS_TrailerStrip(std::string& text, std::string_view marker, std::string& pair) {
    marker = orMarker(marker);
    if (text.size() < marker.size() + 2) return false;
    size_t at = text.size() - marker.size() - 2;
    if (text.compare(at, marker.size(), marker) != 0) return false;
    pair = text.substr(text.size() - 2);
    text.resize(at);
    return true;
}

bool CHUNKS_TrailerProtStrip(std::string& text, char open, std::string& pair1, std::string& pair2) {
    size_t n = text.size();
    if (n <= 6 || text[n - 6] != open || text[n - 5] != open) return false;
    pair1 = text.substr(n - 4, 2);
    pair2 = text.substr(n - 2);
    text.resize(n - 6);
    return true;
}

namespace {

// The items, or no more than `limit` of them.
void splitInto(std::string_view text, std::string_view delimiter, std::string_view spec, core::StrArray& out,
               long lowerBound, std::string_view marker, size_t limit) {
    if (text.empty()) {
        out.redim(0, 0);
        return;
    }
    fill(out, splitItems(text, delimiter, modeOf(spec), marker, limit), lowerBound);
}

}  // namespace

void CHUNKS_SplitEx(std::string_view text, std::string_view delimiter, std::string_view spec,
                    core::StrArray& out, long lowerBound, std::string_view marker) {
    splitInto(text, delimiter, spec, out, lowerBound, marker, SIZE_MAX);
}

void CHUNKS_Split(std::string_view text, core::StrArray& out, long lowerBound, std::string_view marker) {
    CHUNKS_SplitEx(text, "|", kChunksNoExclusion, out, lowerBound, marker);
}

std::string CHUNKS_JoinEx(const core::StrArray& items, std::string_view delimiter,
                          std::string_view spec, long first, bool skipBlank,
                          std::string_view marker, long last) {
    return joinItems(range(items, first, last, skipBlank), delimiter, modeOf(spec), marker);
}

std::string CHUNKS_Join(const core::StrArray& items, long first, std::string_view marker) {
    return CHUNKS_JoinEx(items, "|", kChunksNoExclusion, first, false, marker, -1);
}

std::string CHUNKS_JoinVariants(const core::LngArray& values, long first) { return joinVariants(values, first); }
std::string CHUNKS_JoinVariants(const core::IntArray& values, long first) { return joinVariants(values, first); }
std::string CHUNKS_JoinVariants(const core::StrArray& values, long first) { return joinVariants(values, first); }

std::string CHUNKS_GetEx(long n, std::string_view delimiter, std::string_view spec,
                         std::string_view list, const std::string& dflt) {
    if (n <= 0) return dflt;
    core::StrArray items;
    splitInto(list, delimiter, spec, items, 0, kChunksMarker, static_cast<size_t>(n));  // no further than item n
    return LLIST_StrArrItem(items, n - 1, dflt);
}

std::string CHUNKS_Get(long n, std::string_view list) {
    return CHUNKS_GetEx(n, "|", kChunksNoExclusion, list, {});
}

std::string CHUNKS_GetProt(long n, std::string_view list) { return CHUNKS_GetEx(n, "|", "{}", list, {}); }
double CHUNKS_GetNum(long n, std::string_view list) { return TXT_Val(CHUNKS_Get(n, list)); }
double CHUNKS_GetProtNum(long n, std::string_view list) { return TXT_Val(CHUNKS_GetProt(n, list)); }
bool CHUNKS_GetIsTrue(long n, std::string_view list) { return SYS32_StrIsTrue(CHUNKS_Get(n, list)); }

long CHUNKS_Count(std::string_view list) {
    if (list.empty()) return 0;
    std::string stripped(list), pair;
    // The marker's own bars are not item separators.
    CHUNKS_TrailerStrip(stripped, kChunksMarker, pair);
    return static_cast<long>(std::count(stripped.begin(), stripped.end(), '|')) + 1;
}

void CHUNKS_SetEx(long n, std::string& list, std::string_view delimiter, std::string_view spec,
                  std::string_view value) {
    if (n <= 0) return;
    Mode m = modeOf(spec);
    Items items = splitItems(list, delimiter, m, kChunksMarker);
    if (items.size() < static_cast<size_t>(n)) items.resize(static_cast<size_t>(n));
    items[static_cast<size_t>(n - 1)] = std::string(value);
    list = joinItems(items, orBar(delimiter), m, kChunksMarker);
}

void CHUNKS_Set(long n, std::string& list, std::string_view value) {
    CHUNKS_SetEx(n, list, "|", kChunksNoExclusion, value);
}

void CHUNKS_Append(std::string& list, std::string_view item) {
    std::string stripped = list, pair;
    if (contains(item, "|") || CHUNKS_TrailerStrip(stripped, kChunksMarker, pair)) {
        Items items = itemsOf(list, "|", Mode{}, kChunksMarker);
        items.emplace_back(item);
        list = joinItems(items, "|", Mode{}, kChunksMarker);
    } else {
        list = list.empty() ? std::string(item) : list + "|" + std::string(item);
    }
}

std::string CHUNKS_InsertEx(std::string_view list, std::string_view item,
                            std::string_view delimiter, std::string_view spec, long dupMode,
                            bool showMessage, bool atFront, bool& ok, std::string_view marker) {
    ok = true;
    delimiter = orBar(delimiter);
    marker = orMarker(marker);
    Mode m = modeOf(spec);
    if (dupMode < 0 || dupMode > 2) {
        core::ui().info("Internal parameter err Chunks/0088", "");
        dupMode = 0;
    }
    Items items = itemsOf(list, delimiter, m, marker);
    // Compared with the items themselves, so an item holding the delimiter is never
    // taken for two neighbouring items.
    if (dupMode != 0 && std::any_of(items.begin(), items.end(), [&](const std::string& e) {
            return sameItem(e, item, dupMode);
        })) {
        if (showMessage) core::ui().info("Item already exists. List can contain unique items only.", "");
        ok = false;
        return std::string(list);
    }
    if (atFront)
        items.insert(items.begin(), std::string(item));
    else
        items.emplace_back(item);
    std::string out = m.plain ? insertPlain(list, item, delimiter, atFront, marker)
                              : insertProtected(list, item, delimiter, m, atFront);
    // A reused or fresh pair can fuse with the text around it; the join then picks a
    // pair that keeps every item.
    if (splitItems(out, delimiter, m, marker) != items) out = joinItems(items, delimiter, m, marker);
    return out;
}

long CHUNKS_AddUnique(std::string& list, std::string_view item, std::string_view delimiter,
                      std::string_view spec, long dupMode, bool showMessage, bool atFront, bool& ok) {
    ok = false;
    long pos = CHUNKS_IndexOf(list, item, delimiter, spec, false);
    if (pos != -1) return pos;
    list = CHUNKS_InsertEx(list, item, delimiter, spec, dupMode, showMessage, atFront, ok);
    return CHUNKS_IndexOf(list, item, delimiter, spec, false);
}

std::string CHUNKS_ListOf(std::initializer_list<std::string_view> texts) {
    std::string list;
    // Plain joining until a text holds "|"; from then on each text is escaped and kept
    // once (case ignored). The first two texts are judged together.
    bool escaped = false;
    size_t k = 0;
    for (std::string_view t : texts) {
        ++k;
        if (k > 2 && t == "|") continue;
        if (k == 1) escaped = std::any_of(texts.begin(), texts.begin() + std::min<size_t>(2, texts.size()),
                                          [](std::string_view x) { return contains(x, "|"); });
        else if (!escaped && contains(t, "|")) escaped = true;
        if (escaped) {
            bool ok = false;
            CHUNKS_AddUnique(list, t, "|", kChunksNoExclusion, 0, false, false, ok);
        } else {
            list = k == 1 ? std::string(t) : list + "|" + std::string(t);
        }
    }
    return list;
}

long CHUNKS_IndexOf(std::string_view list, std::string_view item, std::string_view delimiter,
                    std::string_view spec, bool caseSensitive) {
    Items items = itemsOf(list, delimiter, modeOf(spec), kChunksMarker);
    for (size_t i = 0; i < items.size(); ++i)
        if (TXT_IsEqual(items[i], item, caseSensitive)) return static_cast<long>(i) + 1;
    return -1;
}

long CHUNKS_FindCS(std::string_view list, std::string_view item, bool caseSensitive, long notFound) {
    long pos = 0;
    std::string hay = "|" + std::string(list) + "|";
    if (!TXT_InStrEx(hay, "|" + std::string(item) + "|", caseSensitive, 1, core::kNoEnd, pos))
        return notFound;
    std::string_view prefix = list.substr(0, static_cast<size_t>(pos - 1));
    return prefix.empty() ? 1 : CHUNKS_Count(prefix);
}

long CHUNKS_Find(std::string_view list, std::string_view item, bool caseSensitive, bool byItems,
                 long notFound) {
    if (!byItems) return CHUNKS_FindCS(list, item, caseSensitive, notFound);
    long pos = CHUNKS_IndexOf(list, item, "|", kChunksNoExclusion, caseSensitive);
    return pos == -1 ? notFound : pos;
}

bool CHUNKS_Contains(std::string_view item, std::string_view list, std::string_view delimiter,
                     std::string_view spec, bool caseSensitive) {
    Mode m = modeOf(spec);
    std::string d(delimiter);
    std::string wanted = m.plain ? std::string(item) : m.open + std::string(item) + m.close;
    return TXT_InStrEx(d + std::string(list) + d, d + wanted + d, caseSensitive);
}

std::string CHUNKS_RemoveItem(std::string_view list, std::string_view item,
                              std::string_view delimiter, std::string_view spec,
                              bool caseSensitive, bool& found, std::string& positions) {
    found = false;
    positions.clear();
    Mode m = modeOf(spec);
    Items items = itemsOf(list, delimiter, m, kChunksMarker), kept;
    for (size_t i = 0; i < items.size(); ++i) {
        if (!TXT_IsEqual(items[i], item, caseSensitive)) {
            kept.push_back(items[i]);
            continue;
        }
        found = true;
        positions += (positions.empty() ? "" : "|") + std::to_string(i + 1);
    }
    if (!found) return std::string(list);
    return joinItems(kept, orBar(delimiter), m, kChunksMarker);
}

std::string CHUNKS_RemoveAtPositions(std::string_view list, std::string_view positions,
                                     std::string_view delimiter, std::string_view spec,
                                     bool& removed) {
    Mode m = modeOf(spec);
    Items items = itemsOf(list, delimiter, m, kChunksMarker), kept;
    std::string wanted = "|" + std::string(positions) + "|";
    bool any = false;
    for (size_t i = 0; i < items.size(); ++i) {
        if (contains(wanted, "|" + std::to_string(i + 1) + "|")) {
            any = true;
            continue;
        }
        kept.push_back(items[i]);
    }
    if (!any) return std::string(list);
    removed = true;
    return joinItems(kept, orBar(delimiter), m, kChunksMarker);
}

void CHUNKS_ToIntArray(std::string_view list, core::IntArray& out, long lowerBound) {
    listToNumbers(list, out, lowerBound, [](double v) { return core::vbCInt(v); });
}

void CHUNKS_ToSngArray(std::string_view list, core::SngArray& out, long lowerBound) {
    listToNumbers(list, out, lowerBound, [](double v) { return static_cast<float>(v); });
}

void CHUNKS_ToLngArray(std::string_view list, core::LngArray& out, long lowerBound, bool simpleSplit) {
    if (!simpleSplit || list.empty()) {
        listToNumbers(list, out, lowerBound, clampedLong);
        return;
    }
    // The items of a "|" split of the raw text, ignoring any trailer, read in place. Up to 9
    // plain digits, as the stored lists of page numbers and bytes hold, always fit a Long
    // and need neither Val's Double nor CLng's rounding.
    out.redim(lowerBound, lowerBound + static_cast<long>(std::count(list.begin(), list.end(), '|')));
    long i = lowerBound;
    size_t from = 0;
    for (size_t k = 0; k <= list.size(); ++k) {
        if (k < list.size() && list[k] != '|') continue;
        const std::string_view item = list.substr(from, k - from);
        long long digits = 0;
        out.set(i++, core::plainDigitsValue(item, 9, digits) ? static_cast<long>(digits) : clampedLong(TXT_Val(item)));
        from = k + 1;
    }
}

std::string CHUNKS_FormatNums(std::string_view indexList, std::string_view sourceList,
                              std::string_view delimiter, std::string_view spec,
                              std::string_view formatList, std::string_view separator) {
    std::string out;
    long n = CHUNKS_Count(indexList);
    for (long k = 1; k <= n; ++k) {
        long v = core::vbCLng(TXT_Val(CHUNKS_Get(k, indexList)));
        std::string s = CHUNKS_GetEx(v, delimiter, spec, sourceList, {});
        std::string f = CHUNKS_Get(k, formatList);
        if (!f.empty())
            s = f.find_first_of("#0") != std::string::npos ? TXT_FormatDbl(TXT_Val(s), f)
                                                             : TXT_FormatStr(s, f);
        if (k > 1) out += separator;
        out += s;
    }
    return out;
}

void CHUNKS_IniGet(const std::string& section, const std::string& entry, const std::string& iniFile,
                   std::string_view delimiter, std::string_view spec, core::StrArray& out,
                   long lowerBound, int readMode) {
    out.redim(0, 0);
    std::string value = INI_Get(section, entry, iniFile, readMode);
    if (value != kIniNotFound && !trimBlanks(value).empty())
        CHUNKS_SplitEx(value, delimiter, spec, out, lowerBound);
}

void CHUNKS_IniPut(const std::string& section, const std::string& entry, std::string iniFile,
                   const core::StrArray& items, std::string_view delimiter, std::string_view spec,
                   long first, bool skipBlank) {
    INI_Put(section, entry, CHUNKS_JoinEx(items, delimiter, spec, first, skipBlank), iniFile, -1);
}

void CHUNKS_IniDelete(const std::string& section, const std::string& entry, std::string iniFile,
                      std::string_view item, std::string_view delimiter, std::string_view spec,
                      bool caseSensitive, int readMode) {
    std::string value = INI_Get(section, entry, iniFile, readMode);
    if (value == kIniNotFound) return;
    bool found = false;
    std::string positions;
    std::string list = CHUNKS_RemoveItem(value, item, delimiter, spec, caseSensitive, found, positions);
    if (found) INI_Put(section, entry, list, iniFile, -1);
}

bool CHUNKS_IniAdd(const std::string& section, const std::string& entry, std::string iniFile,
                   std::string_view item, std::string_view delimiter, std::string_view spec,
                   long dupMode, bool showMessage, bool atFront, bool& ok, int readMode,
                   long maxLength) {
    std::string value = INI_Get(section, entry, iniFile, readMode);
    if (value == kIniNotFound) value.clear();  // the sentinel is no item
    std::string list =
        CHUNKS_InsertEx(value, item, delimiter, spec, dupMode, showMessage, atFront, ok);
    if (!ok) return ok;
    if (maxLength > 0 && static_cast<long>(list.size()) > maxLength) {
        // Whole items fall away from the end away from the new one.
        Mode m = modeOf(spec);
        Items items = splitItems(list, orBar(delimiter), m, kChunksMarker);
        while (items.size() > 1 && static_cast<long>(list.size()) > maxLength) {
            if (atFront)
                items.pop_back();
            else
                items.erase(items.begin());
            list = joinItems(items, orBar(delimiter), m, kChunksMarker);
        }
    }
    INI_Put(section, entry, list, iniFile, -1);
    return ok;
}

void CHUNKS_ArrayItemInsert(core::StrArray& items, long index, std::string_view item,
                            std::string_view delimiter, std::string_view spec, long dupMode,
                            bool showMessage, bool atFront, bool& ok, std::string_view marker,
                            const std::string& dflt) {
    std::string list = CHUNKS_InsertEx(LLIST_StrArrItem(items, index, dflt), item, delimiter,
                                       spec, dupMode, showMessage, atFront, ok, marker);
    long outIndex = 0;
    bool stringSpace = false, appended = false;
    LLIST_StrArrAdd(items, index, list, 0, outIndex, stringSpace, appended, false);
}

std::string CHUNKS_FormTagGet(long n, core::UiHandle form) { return CHUNKS_Get(n, core::ui().tag(form)); }
std::string CHUNKS_CtlTagGet(long n, core::UiHandle control) {
    return CHUNKS_Get(n, core::ui().tag(control));
}
double CHUNKS_CtlTagNum(long n, core::UiHandle control) { return TXT_Val(CHUNKS_CtlTagGet(n, control)); }

void CHUNKS_CtlTagSet(long n, core::UiHandle control, std::string_view value) {
    std::string tag = core::ui().tag(control);
    CHUNKS_Set(n, tag, value);
    core::ui().setTag(control, tag);
}

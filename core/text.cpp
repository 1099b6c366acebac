#include "core/text.h"

#include <algorithm>
#include <new>
#include <stdexcept>

#include "core/user_interface.h"
#include "platform/sys/ascii.h"
#include "platform/sys/rt_error.h"

namespace {

constexpr auto npos = std::string_view::npos;


bool sameChar(char a, char b, bool caseSensitive) {
    return caseSensitive ? a == b : sys::asciiLower(a) == sys::asciiLower(b);
}

bool equalTexts(std::string_view a, std::string_view b, bool caseSensitive) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(),
                      [caseSensitive](char x, char y) { return sameChar(x, y, caseSensitive); });
}

size_t findFrom(std::string_view text, std::string_view find, size_t from, bool caseSensitive) {
    if (find.empty() || from > text.size()) return npos;
    if (caseSensitive) return text.find(find, from);
    auto it = std::search(text.begin() + long(from), text.end(), find.begin(), find.end(),
                          [](char x, char y) { return sys::asciiLower(x) == sys::asciiLower(y); });
    return it == text.end() ? npos : size_t(it - text.begin());
}

size_t findLast(std::string_view text, std::string_view find, bool caseSensitive) {
    if (find.empty()) return npos;
    if (caseSensitive) return text.rfind(find);
    auto it = std::find_end(text.begin(), text.end(), find.begin(), find.end(),
                            [](char x, char y) { return sys::asciiLower(x) == sys::asciiLower(y); });
    return it == text.end() ? npos : size_t(it - text.begin());
}

std::string_view trimBlanksLeft(std::string_view text) {
    size_t first = text.find_first_not_of(' ');
    return first == npos ? std::string_view{} : text.substr(first);
}

std::string_view trimBlanksRight(std::string_view text) {
    size_t last = text.find_last_not_of(' ');
    return last == npos ? std::string_view{} : text.substr(0, last + 1);
}

// Display cuts must not leave half a UTF-8 character behind; texts that are not UTF-8
// (Latin-1 falls back at the Qt edge) are cut at the byte.
bool isContinuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

size_t utf8SequenceLength(char lead) {
    auto c = static_cast<unsigned char>(lead);
    if ((c & 0xE0) == 0xC0) return 2;
    if ((c & 0xF0) == 0xE0) return 3;
    if ((c & 0xF8) == 0xF0) return 4;
    return 1;
}

// Start of the well-formed UTF-8 sequence that `pos` falls inside of, else `pos`.
size_t sequenceStartAround(std::string_view text, size_t pos) {
    if (pos >= text.size() || !isContinuation(text[pos])) return pos;
    for (size_t back = 1; back <= 3 && back <= pos; ++back) {
        size_t lead = pos - back;
        if (isContinuation(text[lead])) continue;
        size_t length = utf8SequenceLength(text[lead]);
        if (length <= back || lead + length > text.size()) return pos;
        for (size_t i = lead + 1; i < lead + length; ++i)
            if (!isContinuation(text[i])) return pos;
        return lead;
    }
    return pos;
}

std::string leftPart(std::string_view text, size_t n) {
    return std::string(text.substr(0, sequenceStartAround(text, std::min(n, text.size()))));
}

std::string rightPart(std::string_view text, size_t n) {
    size_t from = text.size() - std::min(n, text.size());
    size_t start = sequenceStartAround(text, from);
    if (start != from) from = start + utf8SequenceLength(text[start]);
    return std::string(text.substr(from));
}

std::string_view midPart(std::string_view text, long start, long length, long endPos) {
    if (start < 1) sys::raise(5, "TXT_MidSafe");
    if (length == core::kNoLength && endPos != core::kNoEnd) length = endPos - start + 1;
    if (start > long(text.size()) || length <= 0) return {};
    return text.substr(size_t(start - 1), size_t(length));
}

// The suffix list is a plain "|" list.
std::vector<std::string_view> barItems(std::string_view list) {
    std::vector<std::string_view> items;
    if (list.empty()) return items;
    size_t from = 0;
    for (size_t bar; (bar = list.find('|', from)) != npos; from = bar + 1)
        items.push_back(list.substr(from, bar - from));
    items.push_back(list.substr(from));
    return items;
}

}  // namespace

namespace core {

std::string_view trimBlanks(std::string_view text) { return trimBlanksRight(trimBlanksLeft(text)); }

std::string lowerAscii(std::string_view text) { return sys::asciiLowerCopy(text); }

std::vector<std::size_t> orderIgnoringCase(const std::vector<std::string>& texts, bool descending) {
    std::vector<std::size_t> order(texts.size());
    std::vector<std::string> keys(texts.size());
    for (std::size_t i = 0; i < texts.size(); ++i) {
        order[i] = i;
        keys[i] = lowerAscii(texts[i]);
    }
    if (descending)
        std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return keys[b] < keys[a]; });
    else
        std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return keys[a] < keys[b]; });
    return order;
}

void sortIgnoringCase(std::vector<std::string>& texts) {
    const std::vector<std::size_t> order = orderIgnoringCase(texts);
    std::vector<std::string> sorted;
    sorted.reserve(texts.size());
    for (std::size_t i : order) sorted.push_back(std::move(texts[i]));
    texts = std::move(sorted);
}

std::string upperAscii(std::string_view text) { return sys::asciiUpperCopy(text); }

}  // namespace core

// ---- Comparison and search

int TXT_CompareMode(bool caseSensitive) { return caseSensitive ? 0 : 1; }

bool TXT_IsEqual(std::string_view a, std::string_view b, bool caseSensitive) {
    return equalTexts(a, b, caseSensitive);
}

bool TXT_StartsWith(std::string_view text, std::string_view prefix, bool caseSensitive) {
    return prefix.size() <= text.size() &&
           equalTexts(text.substr(0, prefix.size()), prefix, caseSensitive);
}

bool TXT_StartsWithTrim(std::string_view text, std::string_view prefix, bool caseSensitive,
                        bool trim) {
    return TXT_StartsWith(trim ? trimBlanksLeft(text) : text, prefix, caseSensitive);
}

bool TXT_EndsWith(std::string_view text, std::string_view suffix, bool caseSensitive) {
    return suffix.size() <= text.size() &&
           equalTexts(text.substr(text.size() - suffix.size()), suffix, caseSensitive);
}

bool TXT_InStrEx(std::string_view text, std::string_view find, bool caseSensitive, long start,
                 long endPos, long& position) {
    size_t p = findFrom(midPart(text, start, core::kNoLength, endPos), find, 0, caseSensitive);
    position = p == npos ? 0 : start + long(p);
    return p != npos;
}

bool TXT_InStrEx(std::string_view text, std::string_view find, bool caseSensitive, long start,
                 long endPos) {
    long position = 0;
    return TXT_InStrEx(text, find, caseSensitive, start, endPos, position);
}

long TXT_CountOf(std::string_view text, std::string_view find, bool caseSensitive) {
    long count = 0;
    for (size_t p = findFrom(text, find, 0, caseSensitive); p != npos;
         p = findFrom(text, find, p + 1, caseSensitive))
        ++count;
    return count;
}

// ---- Cutting and extracting

std::string TXT_MidSafe(std::string_view text, long start, long length, long endPos) {
    return std::string(midPart(text, start, length, endPos));
}

std::string TXT_FitLen(std::string_view text, long maximum, std::string_view suffix, bool& cut) {
    long room = std::max(0L, maximum - long(suffix.size()));
    cut = long(text.size()) > room;
    if (!cut) return std::string(text);
    if (room > 0) return leftPart(text, size_t(room)) + std::string(suffix);
    // The suffix alone fills the maximum: keep one character of the text and what fits
    // of the suffix.
    if (maximum <= 0) return {};
    return leftPart(text, 1) + TXT_FitLen(suffix, maximum - 1);
}

std::string TXT_FitLen(std::string_view text, long maximum, std::string_view suffix) {
    bool cut = false;
    return TXT_FitLen(text, maximum, suffix, cut);
}

std::string TXT_RightWithPrefix(std::string_view text, long maximum, std::string_view prefix) {
    if (long(text.size()) <= maximum) return std::string(text);
    if (!prefix.empty())
        return std::string(prefix) +
               rightPart(text, size_t(std::max(1L, maximum - long(prefix.size()))));
    if (maximum <= 0) return {};
    return rightPart(text, size_t(maximum));
}

std::string TXT_DropLeft(std::string_view text, long n) {
    if (n <= 0) return std::string(text);
    return n >= long(text.size()) ? std::string() : std::string(text.substr(size_t(n)));
}

std::string TXT_DropRight(std::string_view text, long n) {
    if (n <= 0) return std::string(text);
    return n >= long(text.size()) ? std::string()
                                  : std::string(text.substr(0, text.size() - size_t(n)));
}

void TXT_DropLeftV(std::string& text, long n) {
    if (n > 0) text.erase(0, size_t(std::min(n, long(text.size()))));
}

void TXT_DropRightV(std::string& text, long n) {
    if (n > 0) text.resize(text.size() - size_t(std::min(n, long(text.size()))));
}

void TXT_SplitFirst(std::string& text, std::string_view delimiter, std::string& head,
                    bool caseSensitive, bool& notFound, bool wantMatch, std::string& match) {
    size_t p = findFrom(text, delimiter, 0, caseSensitive);
    if (p == npos) {
        notFound = true;
        head.clear();
        return;
    }
    size_t length = delimiter.size();
    if (wantMatch) match = text.substr(p, length);
    head = text.substr(0, p);
    text.erase(0, p + length);
}

void TXT_SplitFirst(std::string& text, std::string_view delimiter, std::string& head,
                    bool caseSensitive, bool& notFound) {
    std::string unused;
    TXT_SplitFirst(text, delimiter, head, caseSensitive, notFound, false, unused);
}

std::string TXT_SplitFirstS(std::string_view text, std::string_view delimiter,
                            bool caseSensitive) {
    size_t p = findFrom(text, delimiter, 0, caseSensitive);
    return std::string(p == npos ? text : text.substr(0, p));
}

std::string TXT_SplitFirstV(std::string_view text, std::string_view delimiter,
                            bool caseSensitive) {
    size_t p = findFrom(text, delimiter, 0, caseSensitive);
    return std::string(p == npos ? text : text.substr(p + delimiter.size()));
}

void TXT_SplitLast(std::string& text, std::string_view delimiter, std::string& tail,
                   bool caseSensitive, bool& found) {
    size_t p = findLast(text, delimiter, caseSensitive);
    if (p == npos) {
        tail.clear();
        return;
    }
    found = true;
    tail = text.substr(p + delimiter.size());
    text.erase(p);
}

std::string TXT_AfterLast(std::string_view text, std::string_view delimiter, bool caseSensitive,
                          std::string& before) {
    size_t p = findLast(text, delimiter, caseSensitive);
    if (p == npos) {
        before = text;
        return std::string(text);
    }
    std::string after(text.substr(p + delimiter.size()));
    before = text.substr(0, p);
    return after;
}

std::string TXT_AfterLast(std::string_view text, std::string_view delimiter, bool caseSensitive) {
    std::string before;
    return TXT_AfterLast(text, delimiter, caseSensitive, before);
}

// ---- Building and changing

std::string TXT_Replace(std::string_view text, std::string_view find,
                        std::string_view replacement, bool caseSensitive) {
    if (find.empty() || TXT_IsEqual(find, replacement, caseSensitive)) return std::string(text);
    std::string out;
    size_t from = 0;
    for (size_t p; (p = findFrom(text, find, from, caseSensitive)) != npos;
         from = p + find.size()) {
        out += text.substr(from, p - from);
        out += replacement;
    }
    out += text.substr(from);
    return out;
}

std::string TXT_ReplaceEach(std::string_view text, const std::vector<std::string>& finds,
                            const std::vector<std::string>& replacements, bool caseSensitive,
                            bool& changed) {
    std::string out(text);
    for (size_t k = 0; k < finds.size(); ++k) {
        if (findFrom(out, finds[k], 0, caseSensitive) == npos) continue;
        if (k >= replacements.size()) sys::raise(sys::kErrSubscript, "TXT_ReplaceEach");
        out = TXT_Replace(out, finds[k], replacements[k], caseSensitive);
        changed = true;
    }
    return out;
}

// Removing at the first match and searching again from the start is the same as
// dropping each match as soon as its last character has been copied: every match
// before it is gone already.
std::string TXT_RemoveChar(std::string_view text, std::string_view find, bool caseSensitive) {
    if (find.empty()) return std::string(text);
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        out += c;
        if (out.size() >= find.size() &&
            equalTexts(std::string_view(out).substr(out.size() - find.size()), find,
                       caseSensitive))
            out.resize(out.size() - find.size());
    }
    return out;
}

std::string TXT_RemoveAmpV(std::string_view text) { return TXT_RemoveChar(text, "&", true); }

void TXT_ReplaceCrLf(std::string& text) {
    TXT_CrLfInit();
    text = TXT_RemoveChar(TXT_RemoveChar(text, gCR, true), gLF, true);
}

void TXT_StripSuffixes(std::string& text, std::string_view suffixList, bool caseSensitive) {
    std::vector<std::string_view> suffixes = barItems(suffixList);
    std::erase_if(suffixes, [](std::string_view s) { return s.empty(); });
    bool removed = true;
    while (removed) {
        removed = false;
        for (std::string_view suffix : suffixes) {
            if (!TXT_EndsWith(text, suffix, caseSensitive)) continue;
            TXT_DropRightV(text, long(suffix.size()));
            removed = true;
        }
    }
}

void TXT_EnsureSuffix(std::string& text, std::string_view suffix, bool rightTrim,
                      bool caseSensitive) {
    if (rightTrim) text.resize(trimBlanksRight(text).size());
    if (!TXT_EndsWith(text, suffix, caseSensitive)) text += suffix;
}

void TXT_QuoteIfSpace(std::string& text, std::string_view character, bool caseSensitive) {
    if (findFrom(text, character, 0, caseSensitive) != npos) text = '"' + text + '"';
}

std::string TXT_AccelCaption(std::string& caption, std::string_view key) {
    std::string head;
    bool notFound = false;
    TXT_SplitFirst(caption, key, head, false, notFound);
    return head + "&" + std::string(key) + caption;
}

void TXT_AppendWithBar(std::string_view item, std::string& text) {
    if (!text.empty()) text += "| ";
    text += item;
}

void TXT_LastBarToAnd(std::string& text) {
    size_t p = text.rfind('|');
    if (p != npos) text.replace(p, 1, " and");
}

bool TXT_ConcatSafe(std::string_view text, std::string& target, bool atFront) {
    try {
        std::string joined;
        joined.reserve(text.size() + target.size());
        joined += atFront ? text : std::string_view(target);
        joined += atFront ? std::string_view(target) : text;
        target = std::move(joined);
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    } catch (const std::length_error&) {
        return false;
    }
}

std::string TXT_Repeat(std::string_view text, int count) {
    std::string out;
    if (count < 1) return out;
    out.reserve(text.size() * size_t(count));
    for (int i = 0; i < count; ++i) out += text;
    return out;
}

std::string TXT_RepeatSafe(std::string_view text, long count) {
    std::string out;
    if (count < 1 || text.empty()) return out;
    try {
        if (size_t(count) <= out.max_size() / text.size()) out.reserve(text.size() * size_t(count));
    } catch (const std::exception&) {
        // Too big to reserve at once: build as far as memory allows.
    }
    try {
        for (long i = 0; i < count; ++i) out += text;
    } catch (const std::bad_alloc&) {
    } catch (const std::length_error&) {
    }
    return out;
}

std::string TXT_ProperCase(std::string_view text) {
    std::string out = core::lowerAscii(text);
    if (!out.empty()) out[0] = sys::asciiUpper(out[0]);
    return out;
}

std::string TXT_Normalize(std::string_view text, std::string_view textForEmpty, bool trim,
                          bool lower, bool upper, std::string_view prefix,
                          std::string_view suffix) {
    std::string out(trim ? trimBlanksRight(trimBlanksLeft(text)) : text);
    if (lower) out = core::lowerAscii(out);
    if (upper) out = core::upperAscii(out);
    if (out.empty()) return std::string(textForEmpty);
    return std::string(prefix) + out + std::string(suffix);
}

void TXT_ClipboardSet(const std::string& text) {
    core::ui().clipboardClear();
    core::ui().clipboardSetText(text);
}

// ---- Characters

bool TXT_IsAlnum(std::string_view character, bool digits) {
    if (character.empty()) return false;
    char c = character[0];
    if (sys::isAsciiLetter(c)) return true;
    return digits && c >= '0' && c <= '9';
}

bool TXT_IsWordChars(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), sys::isNameChar);
}

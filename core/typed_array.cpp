#include "core/typed_array.h"

#include <bit>
#include <functional>
#include <new>
#include <stdexcept>
#include <type_traits>

#include "core/delimited_lists.h"
#include "core/text.h"
#include "core/vb_format.h"
#include "platform/sys/ascii.h"

namespace core::detail {

namespace {


std::uint64_t mix(std::uint64_t x) {
    x ^= x >> 33;
    x *= 0xff51afd7ed558ccdULL;
    x ^= x >> 33;
    return x;
}

}  // namespace

std::uint64_t itemHash(const std::string& v, Match m) {
    if (m == Match::Exact) return std::hash<std::string>{}(v);
    std::uint64_t h = 1469598103934665603ULL;  // FNV-1a over the folded bytes
    for (char c : v) {
        h ^= static_cast<unsigned char>(sys::asciiLower(c));
        h *= 1099511628211ULL;
    }
    return h;
}
std::uint64_t itemHash(long v, Match) { return mix(static_cast<std::uint64_t>(v)); }
std::uint64_t itemHash(int v, Match) { return mix(static_cast<std::uint64_t>(v)); }
std::uint64_t itemHash(float v, Match) {
    if (v == 0.0f) v = 0.0f;  // -0 equals 0
    return mix(std::bit_cast<std::uint32_t>(v));
}

bool itemEqual(const std::string& a, const std::string& b, Match m) {
    return TXT_IsEqual(a, b, m == Match::Exact);
}

void FindIndex::add(std::uint64_t hash, std::size_t offset) { map_[hash].push_back(offset); }

void FindIndex::remove(std::uint64_t hash, std::size_t offset) {
    auto it = map_.find(hash);
    if (it == map_.end()) return;
    auto& offs = it->second;
    auto pos = std::lower_bound(offs.begin(), offs.end(), offset);
    if (pos != offs.end() && *pos == offset) offs.erase(pos);
    if (offs.empty()) map_.erase(it);
}

void FindIndex::insert(std::uint64_t hash, std::size_t offset) {
    auto& offs = map_[hash];
    offs.insert(std::lower_bound(offs.begin(), offs.end(), offset), offset);
}

const std::vector<std::size_t>* FindIndex::candidates(std::uint64_t hash) const {
    auto it = map_.find(hash);
    return it == map_.end() ? nullptr : &it->second;
}

}  // namespace core::detail

using core::Match;

namespace {

// Blank after trimming spaces, as VB's Trim sees it.
bool isBlank(std::string_view s) { return s.find_first_not_of(' ') == std::string_view::npos; }

// The text after the last separator, "" when there is none.
std::string afterLastSeparator(const std::string& item, const std::string& separator,
                               bool caseSensitive) {
    std::string head = item, tail;
    bool found = false;
    TXT_SplitLast(head, separator, tail, caseSensitive, found);
    return tail;
}

template <class T>
long uboundOr(const core::TypedArray<T>& a, long dflt) {
    return a.hasBounds() ? a.ubound() : dflt;
}

template <class T>
T itemOr(const core::TypedArray<T>& a, long index, const T& dflt) {
    return a.inBounds(index) ? a[index] : dflt;
}

template <class T>
long findFrom(const core::TypedArray<T>& a, const T& v, long& start, Match m) {
    if (!a.hasBounds()) return -1;
    if (start < 0) start = a.lbound();
    return a.find(v, start, m);
}

template <class T>
void restoreAfterFailedStore(core::TypedArray<T>& a, bool bounded, long oldHi, bool& outSpace) {
    outSpace = true;
    if (!bounded)
        a.erase();
    else if (a.ubound() != oldHi)
        a.redimPreserve(oldHi);
}

// The add shared by every element type. searchMatch is empty when the duplicate mode
// asks for no search. Running out of memory while storing restores the old bounds.
template <class T>
void addItem(core::TypedArray<T>& a, long position, T value, const Match* searchMatch,
             bool reuseBlank, long& outIndex, bool& outSpace, bool& outAppended) {
    const bool bounded = a.hasBounds();
    const long oldHi = a.ubound();
    if (bounded && searchMatch) {
        long hit = a.find(value, a.lbound(), *searchMatch);
        if (hit != -1) {
            outIndex = hit;
            outSpace = false;
            outAppended = false;
            return;
        }
    }
    outSpace = false;
    outAppended = false;
    long target = position;
    try {
        if (!bounded) {
            a.redim(0, 0);
            if (target == -1) {
                target = 0;
                outAppended = true;
            }
        }
        if (target != -1) {
            if (target > a.ubound()) a.redimPreserve(target);
            a.set(target, std::move(value));
        } else {
            outAppended = true;
            bool blankZero = false;
            if constexpr (std::is_same_v<T, std::string>)
                blankZero = reuseBlank && a.ubound() == 0 && isBlank(a[0]);
            if (blankZero) {
                target = 0;
                a.set(0, std::move(value));
            } else {
                a.append(std::move(value));
                target = a.ubound();
            }
        }
    } catch (const std::bad_alloc&) {
        restoreAfterFailedStore(a, bounded, oldHi, outSpace);
        return;
    } catch (const std::length_error&) {  // a size no vector can have
        restoreAfterFailedStore(a, bounded, oldHi, outSpace);
        return;
    }
    outIndex = target;
}

template <class T>
void addNumber(core::TypedArray<T>& a, long position, T value, long dupMode, long& outIndex,
               bool& outError, bool& outAppended) {
    const Match exact = Match::Exact;
    addItem(a, position, value, dupMode == 1 || dupMode == 2 ? &exact : nullptr, false, outIndex,
            outError, outAppended);
}

template <class T>
void removeAt(core::TypedArray<T>& a, long index) {
    if (!a.inBounds(index)) return;
    if (a.count() == 1)
        a.redim(0, 0);
    else
        a.removeAt(index);
}

struct Range {
    long lo, hi;
    bool empty() const { return lo > hi; }
};

template <class T>
Range clipped(const core::TypedArray<T>& a, long first, long last) {
    return {std::max(first, a.lbound()), std::min(last, a.ubound())};
}

}  // namespace

bool LLIST_StrArrHasBounds(const core::StrArray& a) { return a.hasBounds(); }
bool LLIST_LngArrHasBounds(const core::LngArray& a) { return a.hasBounds(); }
bool LLIST_IntArrHasBounds(const core::IntArray& a) { return a.hasBounds(); }
bool LLIST_SngArrHasBounds(const core::SngArray& a) { return a.hasBounds(); }

long LLIST_StrArrUBound(const core::StrArray& a, long dflt) { return uboundOr(a, dflt); }
long LLIST_LngArrUBound(const core::LngArray& a, long dflt) { return uboundOr(a, dflt); }
long LLIST_IntArrUBound(const core::IntArray& a, long dflt) { return uboundOr(a, dflt); }
long LLIST_StrArrLBound(const core::StrArray& a, long dflt) {
    return a.hasBounds() ? a.lbound() : dflt;
}

bool LLIST_StrArrEnsureBounds(core::StrArray& a) {
    if (a.hasBounds()) return false;
    a.redim(0, 0);
    return true;
}
bool LLIST_LngArrEnsureBounds(core::LngArray& a) {
    if (a.hasBounds()) return false;
    a.redim(0, 0);
    return true;
}

std::string LLIST_StrArrItem(const core::StrArray& a, long index, const std::string& dflt) {
    return itemOr(a, index, dflt);
}
long LLIST_LngArrItem(const core::LngArray& a, long index, long dflt) {
    return itemOr(a, index, dflt);
}
int LLIST_IntArrItem(const core::IntArray& a, long index, int dflt) {
    return itemOr(a, index, dflt);
}
std::string LLIST_StrArrItemOr(const core::StrArray& a, long index, const std::string& dflt) {
    std::string item = itemOr(a, index, std::string());
    return item.empty() ? dflt : item;
}

void LLIST_StrArrAdd(core::StrArray& a, long position, const std::string& text, long dupMode,
                     long& outIndex, bool& outStringSpace, bool& outAppended, bool reuseBlank) {
    const Match m = dupMode == 1 ? Match::Exact : Match::IgnoreCase;
    addItem(a, position, text, dupMode == 1 || dupMode == 2 ? &m : nullptr, reuseBlank, outIndex,
            outStringSpace, outAppended);
}
void LLIST_LngArrAdd(core::LngArray& a, long position, long value, long dupMode, long& outIndex,
                     bool& outError, bool& outAppended) {
    addNumber(a, position, value, dupMode, outIndex, outError, outAppended);
}
void LLIST_IntArrAdd(core::IntArray& a, long position, int value, long dupMode, long& outIndex,
                     bool& outError, bool& outAppended) {
    addNumber(a, position, value, dupMode, outIndex, outError, outAppended);
}
void LLIST_SngArrAdd(core::SngArray& a, long position, float value, long dupMode, long& outIndex,
                     bool& outError, bool& outAppended) {
    addNumber(a, position, value, dupMode, outIndex, outError, outAppended);
}

void LLIST_LngArrAddRelative(core::LngArray& a, long index, long delta, long& outIndex,
                             bool& outError, bool& outAppended) {
    LLIST_LngArrAdd(a, index, LLIST_LngArrItem(a, index, 0) + delta, 0, outIndex, outError,
                    outAppended);
}

long LLIST_StrArrFind(const core::StrArray& a, const std::string& text, long& start,
                      bool caseSensitive) {
    return findFrom(a, text, start, caseSensitive ? Match::Exact : Match::IgnoreCase);
}
long LLIST_LngArrFind(const core::LngArray& a, long value, long& start) {
    return findFrom(a, value, start, Match::Exact);
}
long LLIST_IntArrFind(const core::IntArray& a, int value, long& start) {
    return findFrom(a, value, start, Match::Exact);
}
long LLIST_SngArrFind(const core::SngArray& a, float value, long& start) {
    return findFrom(a, value, start, Match::Exact);
}

long LLIST_StrArrFindEx(const core::StrArray& a, const std::string& text, long& start,
                        bool caseSensitive, long lastIndex, long itemNo,
                        const std::string& delimiter, const std::string& exclusionSpec,
                        const std::string& separator, const std::string& listDefault) {
    if (!a.hasBounds()) return -1;
    if (start < 0) start = a.lbound();
    const Match m = caseSensitive ? Match::Exact : Match::IgnoreCase;
    Range r = clipped(a, start, lastIndex);
    for (long i = r.lo; i <= r.hi; ++i) {
        const std::string& item = a[i];
        std::string compared;
        if (itemNo != -1)
            compared = CHUNKS_GetEx(itemNo, delimiter, exclusionSpec, item, listDefault);
        else if (!separator.empty())
            compared = afterLastSeparator(item, separator, caseSensitive);
        else
            compared = item;
        if (core::detail::itemEqual(compared, text, m)) return i;
    }
    return -1;
}

long LLIST_StrArrCount(const core::StrArray& a, long noBounds, long oneBlank) {
    if (!a.hasBounds()) return noBounds;
    if (a.count() == 1 && a[a.lbound()].empty()) return oneBlank;
    return a.count();
}

bool LLIST_StrArrHasNonBlank(const core::StrArray& a, bool trimBlanks) {
    for (const std::string& item : a.items())
        if (trimBlanks ? !isBlank(item) : !item.empty()) return true;
    return false;
}

void LLIST_StrArrCopy(const core::StrArray& source, core::StrArray& target, long offset,
                      const std::string& strFormat, const std::string& numListFormat,
                      const std::string& delimiter, const std::string& exclusionSpec,
                      const std::string& numFormats, const std::string& numSeparator, long first,
                      long last) {
    if (!source.hasBounds()) return;
    Range r{std::max(first, source.lbound() - offset), std::min(last, source.ubound() - offset)};
    if (r.empty()) return;
    core::StrArray copy;
    copy.redim(r.lo, r.hi);
    for (long i = r.lo; i <= r.hi; ++i) {
        std::string item = source[i + offset];
        if (!numListFormat.empty())
            item = CHUNKS_FormatNums(numListFormat, item, delimiter, exclusionSpec, numFormats,
                                     numSeparator);
        if (!strFormat.empty()) item = TXT_FormatStr(item, strFormat);
        copy.set(i, std::move(item));
    }
    target = std::move(copy);
}

void LLIST_LngArrCopy(const core::LngArray& source, core::LngArray& target, long offset) {
    if (!source.hasBounds()) return;
    Range r{std::max(0L, source.lbound() - offset), source.ubound() - offset};
    if (r.empty()) return;
    core::LngArray copy;
    copy.redim(r.lo, r.hi);
    for (long i = r.lo; i <= r.hi; ++i) copy.set(i, source[i + offset]);
    target = std::move(copy);
}

void LLIST_StrArrAppendArr(const core::StrArray& source, core::StrArray& target, long first,
                           long last, long dupMode, bool& outStringSpace) {
    outStringSpace = false;
    if (!source.hasBounds()) return;
    const core::StrArray from = source;  // the target may be the source
    Range r = clipped(from, first, last);
    long index = 0;
    bool space = false, appended = false;
    for (long i = r.lo; i <= r.hi; ++i) {
        LLIST_StrArrAdd(target, -1, from[i], dupMode, index, space, appended, false);
        outStringSpace = outStringSpace || space;
    }
}

void LLIST_StrArrReplace(core::StrArray& a, const std::string& find, const std::string& replacement,
                         bool caseSensitive, long first, long last) {
    if (!a.hasBounds()) return;
    Range r = clipped(a, first, last);
    for (long i = r.lo; i <= r.hi; ++i)
        a.set(i, TXT_Replace(a[i], find, replacement, caseSensitive));
}

void LLIST_StrArrRemoveAt(core::StrArray& a, long index) { removeAt(a, index); }
void LLIST_LngArrRemoveAt(core::LngArray& a, long index) { removeAt(a, index); }

bool LLIST_StrArrRemoveValue(core::StrArray& a, const std::string& text, bool firstOnly,
                             long& start, bool caseSensitive) {
    long hit = LLIST_StrArrFind(a, text, start, caseSensitive);
    if (hit == -1) return false;
    if (firstOnly) {
        LLIST_StrArrRemoveAt(a, hit);
        return true;
    }
    // One pass instead of find-and-remove until none is left: removing the last item
    // leaves one empty item, which would be found again forever when the text is "".
    const Match m = caseSensitive ? Match::Exact : Match::IgnoreCase;
    std::vector<std::string> kept;
    for (long i = a.lbound(); i <= a.ubound(); ++i)
        if (i < hit || !core::detail::itemEqual(a[i], text, m)) kept.push_back(a[i]);
    core::StrArray rest;
    if (kept.empty()) {
        rest.redim(0, 0);
    } else {
        rest.redim(a.lbound(), a.lbound() + static_cast<long>(kept.size()) - 1);
        for (std::size_t k = 0; k < kept.size(); ++k)
            rest.set(a.lbound() + static_cast<long>(k), std::move(kept[k]));
    }
    a = std::move(rest);
    return true;
}

long LLIST_LngArrMin(const core::LngArray& a, bool skipZero) {
    bool any = false;
    long least = 0;
    for (long v : a.items()) {
        if (skipZero && v == 0) continue;
        if (!any || v < least) least = v;
        any = true;
    }
    return least;
}

long LLIST_LngArrMax(const core::LngArray& a) {
    if (a.count() == 0) return 0;
    return *std::max_element(a.items().begin(), a.items().end());
}

std::string LLIST_UniqueName(const core::StrArray& a, long start, const std::string& firstPart,
                             const std::string& secondPart) {
    for (long n = start;; ++n) {
        std::string name = firstPart + secondPart + std::to_string(n);
        long from = -1;
        if (LLIST_StrArrFind(a, name, from, false) == -1) return name;
    }
}

#pragma once
// One-dimensional dynamic arrays with VB-style bounds, and the LLIST_ routines over
// them. An array is either without bounds (never dimensioned or erased: empty, upper
// bound -1) or has a lower and an upper bound. Reading an array without bounds is
// never an error; an index outside existing bounds is run-time error 9.
//
// Finds and duplicate checks give exactly the first equal item from a start index, as
// a linear scan would, but larger arrays answer them from a hash index kept beside the
// items, so that adding n distinct values with a duplicate check is linear. Items are
// therefore only changed through the members below, which keep that index true. Since
// a find may build the index, an array is not read from two threads at once.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/sys/rt_error.h"

namespace core {

// How a find compares items: exactly, or folding ASCII letters.
enum class Match { Exact, IgnoreCase };

namespace detail {

std::uint64_t itemHash(const std::string& v, Match m);
std::uint64_t itemHash(long v, Match m);
std::uint64_t itemHash(int v, Match m);
std::uint64_t itemHash(float v, Match m);
bool itemEqual(const std::string& a, const std::string& b, Match m);
inline bool itemEqual(long a, long b, Match) { return a == b; }
inline bool itemEqual(int a, int b, Match) { return a == b; }
inline bool itemEqual(float a, float b, Match) { return a == b; }
template <class P>
std::uint64_t itemHash(P* p, Match) {
    return std::hash<P*>{}(p);
}
template <class P>
bool itemEqual(P* a, P* b, Match) {
    return a == b;
}

// Hash index of one array under one Match: item hash -> ascending item offsets.
// Collisions are harmless because every candidate is compared for real.
class FindIndex {
public:
    void add(std::uint64_t hash, std::size_t offset);  // offset above every indexed one
    void remove(std::uint64_t hash, std::size_t offset);
    void insert(std::uint64_t hash, std::size_t offset);  // anywhere
    // Ascending offsets whose item hashed to `hash`; null when none.
    const std::vector<std::size_t>* candidates(std::uint64_t hash) const;

private:
    std::unordered_map<std::uint64_t, std::vector<std::size_t>> map_;
};

// Arrays shorter than this are scanned; building an index would cost more.
inline constexpr std::size_t kIndexFrom = 32;

}  // namespace detail

template <class T>
class TypedArray {
public:
    TypedArray() = default;
    TypedArray(const TypedArray& o) : bounded_(o.bounded_), lo_(o.lo_), items_(o.items_) {}
    TypedArray& operator=(const TypedArray& o) {
        if (this != &o) {
            bounded_ = o.bounded_;
            lo_ = o.lo_;
            items_ = o.items_;
            dropIndexes();
        }
        return *this;
    }
    TypedArray(TypedArray&& o) noexcept
        : bounded_(o.bounded_),
          lo_(o.lo_),
          items_(std::move(o.items_)),
          indexes_(std::move(o.indexes_)) {
        o.clearState();
    }
    TypedArray& operator=(TypedArray&& o) noexcept {
        if (this != &o) {
            bounded_ = o.bounded_;
            lo_ = o.lo_;
            items_ = std::move(o.items_);
            indexes_ = std::move(o.indexes_);
            o.clearState();
        }
        return *this;
    }

    bool hasBounds() const { return bounded_; }
    // 0 and -1 for an array without bounds, so loops from lbound to ubound run no time.
    long lbound() const { return bounded_ ? lo_ : 0; }
    long ubound() const { return bounded_ ? lo_ + static_cast<long>(items_.size()) - 1 : -1; }
    long count() const { return static_cast<long>(items_.size()); }
    bool inBounds(long i) const { return bounded_ && i >= lo_ && i <= ubound(); }

    // ReDim: every item empty. hi below lo is error 9.
    void redim(long lo, long hi) {
        if (hi < lo) sys::raise(sys::kErrSubscript, "ReDim");
        dropIndexes();
        items_.assign(static_cast<std::size_t>(hi - lo + 1), T{});
        items_.shrink_to_fit();
        lo_ = lo;
        bounded_ = true;
    }
    // ReDim Preserve: keeps the lower bound (0 for an array without bounds) and the
    // items that stay inside; new items are empty.
    void redimPreserve(long hi) {
        long lo = lbound();
        if (hi < lo) sys::raise(sys::kErrSubscript, "ReDim");
        std::size_t n = static_cast<std::size_t>(hi - lo + 1);
        if (n < items_.size()) {
            dropIndexes();
            items_.resize(n);
        } else {
            std::size_t old = items_.size();
            items_.resize(n);
            for (std::size_t k = old; k < n; ++k) indexAppend(k);
        }
        lo_ = lo;
        bounded_ = true;
    }
    // Erase: back to without bounds.
    void erase() {
        dropIndexes();
        items_.clear();
        items_.shrink_to_fit();
        bounded_ = false;
        lo_ = 0;
    }

    const T& operator[](long i) const { return items_[offset(i)]; }
    void set(long i, T v) {
        std::size_t k = offset(i);
        if (indexed()) {
            indexRemove(k);
            items_[k] = std::move(v);
            indexInsert(k);
        } else {
            items_[k] = std::move(v);
        }
    }
    // Grows by one item holding v; an array without bounds becomes 0 to 0.
    void append(T v) {
        if (!bounded_) {
            lo_ = 0;
            bounded_ = true;
        }
        items_.push_back(std::move(v));
        indexAppend(items_.size() - 1);
    }
    // Removes item i, moving the later ones down; the caller keeps the array non-empty.
    void removeAt(long i) {
        std::size_t k = offset(i);
        dropIndexes();
        items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(k));
    }

    const std::vector<T>& items() const { return items_; }

    // The first index from `from` (at least the lower bound) whose item equals v, -1
    // when none.
    long find(const T& v, long from, Match m) const {
        if (!bounded_) return -1;
        long start = from < lo_ ? lo_ : from;
        if (start > ubound()) return -1;
        std::size_t first = static_cast<std::size_t>(start - lo_);
        if (items_.size() < detail::kIndexFrom) {
            for (std::size_t k = first; k < items_.size(); ++k)
                if (detail::itemEqual(items_[k], v, m)) return lo_ + static_cast<long>(k);
            return -1;
        }
        const detail::FindIndex& index = indexFor(m);
        const std::vector<std::size_t>* offs = index.candidates(detail::itemHash(v, m));
        if (!offs) return -1;
        for (auto it = std::lower_bound(offs->begin(), offs->end(), first); it != offs->end(); ++it)
            if (detail::itemEqual(items_[*it], v, m)) return lo_ + static_cast<long>(*it);
        return -1;
    }

private:
    std::size_t offset(long i) const {
        if (!inBounds(i)) sys::raise(sys::kErrSubscript);
        return static_cast<std::size_t>(i - lo_);
    }

    void clearState() noexcept {
        bounded_ = false;
        lo_ = 0;
        items_.clear();
        dropIndexes();
    }

    // One index per Match, built on the first find that needs it.
    struct Indexes {
        std::optional<detail::FindIndex> byMatch[2];
    };
    static int slot(Match m) { return m == Match::Exact ? 0 : 1; }
    bool indexed() const {
        return indexes_.byMatch[0].has_value() || indexes_.byMatch[1].has_value();
    }
    const detail::FindIndex& indexFor(Match m) const {
        auto& idx = indexes_.byMatch[slot(m)];
        if (!idx) {
            idx.emplace();
            for (std::size_t k = 0; k < items_.size(); ++k)
                idx->add(detail::itemHash(items_[k], m), k);
        }
        return *idx;
    }
    // Keeps every built index up to date; one that fails to follow is dropped (and
    // rebuilt by the next find), never left wrong.
    template <class Fn>
    void eachIndex(Fn fn) {
        try {
            for (int s = 0; s < 2; ++s)
                if (indexes_.byMatch[s])
                    fn(*indexes_.byMatch[s], s == 0 ? Match::Exact : Match::IgnoreCase);
        } catch (...) {
            dropIndexes();
            throw;
        }
    }
    void indexAppend(std::size_t k) {
        eachIndex(
            [&](detail::FindIndex& idx, Match m) { idx.add(detail::itemHash(items_[k], m), k); });
    }
    void indexRemove(std::size_t k) {
        eachIndex([&](detail::FindIndex& idx, Match m) {
            idx.remove(detail::itemHash(items_[k], m), k);
        });
    }
    void indexInsert(std::size_t k) {
        eachIndex([&](detail::FindIndex& idx, Match m) {
            idx.insert(detail::itemHash(items_[k], m), k);
        });
    }
    void dropIndexes() noexcept {
        indexes_.byMatch[0].reset();
        indexes_.byMatch[1].reset();
    }

    bool bounded_ = false;
    long lo_ = 0;
    std::vector<T> items_;
    mutable Indexes indexes_;
};

using StrArray = TypedArray<std::string>;
using LngArray = TypedArray<long>;
using IntArray = TypedArray<int>;
using SngArray = TypedArray<float>;
// Window references are set, not copied; the owner decides whether one is still alive.
template <class Form>
using FrmArray = TypedArray<Form*>;

}  // namespace core

// The LLIST_ routines. Duplicate modes: 0 none, 1 exact, 2 ignoring case (other values
// check nothing). A position of -1 appends after the upper bound.

bool LLIST_StrArrHasBounds(const core::StrArray& a);
bool LLIST_LngArrHasBounds(const core::LngArray& a);
bool LLIST_IntArrHasBounds(const core::IntArray& a);
bool LLIST_SngArrHasBounds(const core::SngArray& a);

long LLIST_StrArrUBound(const core::StrArray& a, long dflt);
long LLIST_LngArrUBound(const core::LngArray& a, long dflt);
long LLIST_IntArrUBound(const core::IntArray& a, long dflt);
long LLIST_StrArrLBound(const core::StrArray& a, long dflt);
template <class Form>
long LLIST_FrmArrLBound(const core::FrmArray<Form>& a, long dflt) {
    return a.hasBounds() ? a.lbound() : dflt;
}

// Without bounds: made 0 to 0 with one empty item, true. Otherwise untouched, false.
bool LLIST_StrArrEnsureBounds(core::StrArray& a);
bool LLIST_LngArrEnsureBounds(core::LngArray& a);

std::string LLIST_StrArrItem(const core::StrArray& a, long index, const std::string& dflt);
long LLIST_LngArrItem(const core::LngArray& a, long index, long dflt);
int LLIST_IntArrItem(const core::IntArray& a, long index, int dflt);
// The item unless it is empty (or out of range), else the default.
std::string LLIST_StrArrItemOr(const core::StrArray& a, long index, const std::string& dflt);

// Stores the text at the position (growing the array) or appends it, unless the
// duplicate mode finds it already there: then outIndex is that item's index. With
// reuseBlank an append to an array 0 to 0 whose item is blank stores at 0.
// outStringSpace reports a failed store for lack of memory (the array is restored).
void LLIST_StrArrAdd(core::StrArray& a, long position, const std::string& text, long dupMode,
                     long& outIndex, bool& outStringSpace, bool& outAppended, bool reuseBlank);
void LLIST_LngArrAdd(core::LngArray& a, long position, long value, long dupMode, long& outIndex,
                     bool& outError, bool& outAppended);
void LLIST_IntArrAdd(core::IntArray& a, long position, int value, long dupMode, long& outIndex,
                     bool& outError, bool& outAppended);
void LLIST_SngArrAdd(core::SngArray& a, long position, float value, long dupMode, long& outIndex,
                     bool& outError, bool& outAppended);
template <class Form>
void LLIST_FrmArrAdd(core::FrmArray<Form>& a, long position, Form* form, long& outIndex) {
    long target = position;
    if (!a.hasBounds()) {
        a.redim(0, 0);
        if (target == -1) target = 0;
    }
    if (target == -1) {
        a.append(form);
        target = a.ubound();
    } else {
        if (target > a.ubound()) a.redimPreserve(target);
        a.set(target, form);
    }
    outIndex = target;
}
// The counter increment of tallies: item(index, 0) + delta stored at the index.
void LLIST_LngArrAddRelative(core::LngArray& a, long index, long delta, long& outIndex,
                             bool& outError, bool& outAppended);

// First equal item from start to the upper bound, -1 when none or without bounds. A
// start below 0 becomes the lower bound, also in the caller's variable.
long LLIST_StrArrFind(const core::StrArray& a, const std::string& text, long& start,
                      bool caseSensitive);
long LLIST_LngArrFind(const core::LngArray& a, long value, long& start);
long LLIST_IntArrFind(const core::IntArray& a, int value, long& start);
long LLIST_SngArrFind(const core::SngArray& a, float value, long& start);
// As LLIST_StrArrFind up to lastIndex, comparing per item: with itemNo -1 the whole
// item, or with a separator the text after its last occurrence; otherwise item itemNo
// of the item read as a delimited list (listDefault when it has no such item).
long LLIST_StrArrFindEx(const core::StrArray& a, const std::string& text, long& start,
                        bool caseSensitive, long lastIndex, long itemNo,
                        const std::string& delimiter, const std::string& exclusionSpec,
                        const std::string& separator, const std::string& listDefault);

// Number of items; noBounds for an array without bounds, oneBlank for 0 to 0 holding "".
long LLIST_StrArrCount(const core::StrArray& a, long noBounds, long oneBlank);
bool LLIST_StrArrHasNonBlank(const core::StrArray& a, bool trimBlanks);

// target(i) = source(i + offset) for i from max(first, lbound - offset) to
// min(last, ubound - offset); the target is left alone when that range is empty.
// Items are reformatted through the number-list format, then the string format, when
// these are not empty. A plain copy: offset 0, formats "", first 0, last 2147483647.
void LLIST_StrArrCopy(const core::StrArray& source, core::StrArray& target, long offset,
                      const std::string& strFormat, const std::string& numListFormat,
                      const std::string& delimiter, const std::string& exclusionSpec,
                      const std::string& numFormats, const std::string& numSeparator, long first,
                      long last);
// target(i) = source(i + offset) from max(0, lbound - offset) to ubound - offset.
void LLIST_LngArrCopy(const core::LngArray& source, core::LngArray& target, long offset);
// Appends the references of the clipped range to the target.
template <class Form>
void LLIST_FrmArrCopy(const core::FrmArray<Form>& source, core::FrmArray<Form>& target, long first,
                      long last) {
    if (!source.hasBounds()) return;
    const core::FrmArray<Form> from = source;  // the target may be the source
    long lo = std::max(first, from.lbound()), hi = std::min(last, from.ubound());
    long index = 0;
    for (long i = lo; i <= hi; ++i) LLIST_FrmArrAdd(target, -1, from[i], index);
}
// Appends the clipped range through LLIST_StrArrAdd (no blank reuse).
void LLIST_StrArrAppendArr(const core::StrArray& source, core::StrArray& target, long first,
                           long last, long dupMode, bool& outStringSpace);
void LLIST_StrArrReplace(core::StrArray& a, const std::string& find, const std::string& replacement,
                         bool caseSensitive, long first, long last);

// Removes the item, moving later ones down; an index outside the bounds does nothing.
// Removing the only item leaves 0 to 0 with one empty item, never "without bounds".
void LLIST_StrArrRemoveAt(core::StrArray& a, long index);
void LLIST_LngArrRemoveAt(core::LngArray& a, long index);
// Removes the first (firstOnly) or every item equal to the text from start on; true
// when one was removed. start is written back as LLIST_StrArrFind does.
bool LLIST_StrArrRemoveValue(core::StrArray& a, const std::string& text, bool firstOnly,
                             long& start, bool caseSensitive);

// Smallest item (zeros ignored with skipZero), 0 when none counts; largest item.
long LLIST_LngArrMin(const core::LngArray& a, bool skipZero);
long LLIST_LngArrMax(const core::LngArray& a);

// firstPart & secondPart & n for the first n from start that the array does not hold,
// ignoring case.
std::string LLIST_UniqueName(const core::StrArray& a, long start, const std::string& firstPart,
                             const std::string& secondPart);

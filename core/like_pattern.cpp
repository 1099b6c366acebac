#include "core/like_pattern.h"

#include "platform/sys/ascii.h"
#include "platform/sys/rt_error.h"

namespace core {
namespace {

constexpr int kErrInvalidPattern = 93;

[[noreturn]] void invalidPattern(std::string_view pattern) {
    throw sys::RtError(kErrInvalidPattern, "Invalid pattern string: " + std::string(pattern),
                       "LikePattern");
}

// Adds the other case of every ASCII letter in the set.
void foldAscii(std::bitset<256>& set) {
    for (unsigned c = 'A'; c <= 'Z'; ++c) {
        if (set.test(c) || set.test(c + 32)) {
            set.set(c);
            set.set(c + 32);
        }
    }
}

}  // namespace

LikePattern::LikePattern(std::string_view pattern, LikeCase compare) {
    const bool fold = compare == LikeCase::IgnoreAscii;
    auto add = [&](const ByteSet& set, bool literalByte, unsigned char byte) {
        Segment& seg = segments_.back();
        seg.atoms.push_back(set);
        if (literalByte && !(fold && sys::isAsciiLetter(static_cast<char>(byte)))) {
            seg.literal += char(byte);
        } else {
            seg.isLiteral = false;
        }
    };

    for (size_t i = 0; i < pattern.size(); ++i) {
        const unsigned char c = pattern[i];
        ByteSet set;
        switch (c) {
        case '*':
            segments_.emplace_back();
            continue;
        case '?':
            set.set();
            add(set, false, 0);
            continue;
        case '#':
            for (unsigned d = '0'; d <= '9'; ++d) set.set(d);
            add(set, false, 0);
            continue;
        case '[': {
            size_t close = pattern.find(']', i + 1);
            if (close == std::string_view::npos) invalidPattern(pattern);
            std::string_view list = pattern.substr(i + 1, close - i - 1);
            i = close;
            bool negate = !list.empty() && list[0] == '!';
            if (negate) list.remove_prefix(1);
            // An empty list stands for no character at all; "[!]" for any one.
            if (list.empty() && !negate) continue;
            for (size_t k = 0; k < list.size(); ++k) {
                unsigned char lo = list[k];
                // "-" is a range only between two characters; first or last it is itself.
                if (k + 2 < list.size() && list[k + 1] == '-') {
                    unsigned char hi = list[k + 2];
                    if (hi < lo) invalidPattern(pattern);
                    for (unsigned b = lo; b <= hi; ++b) set.set(b);
                    k += 2;
                } else {
                    set.set(lo);
                }
            }
            if (fold) foldAscii(set);
            if (negate) set.flip();
            add(set, false, 0);
            continue;
        }
        default:
            set.set(c);
            if (fold) foldAscii(set);
            add(set, true, c);
        }
    }
}

bool LikePattern::segmentAt(const Segment& seg, std::string_view text, size_t pos) const {
    if (seg.isLiteral) return text.compare(pos, seg.literal.size(), seg.literal) == 0;
    for (size_t k = 0; k < seg.atoms.size(); ++k) {
        if (!seg.atoms[k].test(static_cast<unsigned char>(text[pos + k]))) return false;
    }
    return true;
}

size_t LikePattern::findSegment(const Segment& seg, std::string_view text, size_t from,
                                size_t limit) const {
    const size_t width = seg.atoms.size();
    if (limit < width || from > limit - width) return std::string_view::npos;
    if (seg.isLiteral) {
        return text.substr(0, limit).find(seg.literal, from);
    }
    for (size_t pos = from; pos + width <= limit; ++pos) {
        if (segmentAt(seg, text, pos)) return pos;
    }
    return std::string_view::npos;
}

bool LikePattern::matches(std::string_view text) const {
    const Segment& first = segments_.front();
    if (segments_.size() == 1) {
        return text.size() == first.atoms.size() && segmentAt(first, text, 0);
    }
    const Segment& last = segments_.back();
    const size_t head = first.atoms.size();
    const size_t tail = last.atoms.size();
    if (head + tail > text.size()) return false;
    if (!segmentAt(first, text, 0) || !segmentAt(last, text, text.size() - tail)) return false;

    // Between the stars each segment takes its leftmost place: any later place would
    // only leave less room for the segments after it.
    size_t pos = head;
    const size_t limit = text.size() - tail;
    for (size_t s = 1; s + 1 < segments_.size(); ++s) {
        const Segment& seg = segments_[s];
        size_t at = findSegment(seg, text, pos, limit);
        if (at == std::string_view::npos) return false;
        pos = at + seg.atoms.size();
    }
    return true;
}

bool likeMatch(std::string_view text, std::string_view pattern, LikeCase compare) {
    return LikePattern(pattern, compare).matches(text);
}

}  // namespace core

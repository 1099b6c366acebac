#pragma once
// VB's Like operator over bytes: "*" any run, "?" one character, "#" one digit,
// "[list]" / "[!list]" one character in / not in the list, with ranges such as
// "a-z". A pattern is compiled once and then matched many times (referrers, file
// names). Matching never backtracks exponentially: the pattern is cut at its stars
// into fixed-width segments, and a fixed-width segment between two stars may take
// its leftmost place, so each segment is searched for once.
#include <bitset>
#include <string>
#include <string_view>
#include <vector>

namespace core {

enum class LikeCase {
    Binary,      // VB's default comparison: bytes as they are
    IgnoreAscii  // A-Z and a-z fold together; no other byte does
};

class LikePattern {
public:
    LikePattern() = default;  // matches only the empty text
    // Throws sys::RtError 93 for an unclosed "[" or a descending range ("[z-a]").
    explicit LikePattern(std::string_view pattern, LikeCase compare = LikeCase::Binary);

    bool matches(std::string_view text) const;

private:
    // One character position of a segment: the set of bytes it accepts.
    using ByteSet = std::bitset<256>;
    struct Segment {
        std::vector<ByteSet> atoms;
        std::string literal;  // the same segment as plain bytes, when it is one
        bool isLiteral = true;
    };

    bool segmentAt(const Segment& seg, std::string_view text, size_t pos) const;
    // Leftmost position in [from, limit - width] where the segment fits, or npos.
    size_t findSegment(const Segment& seg, std::string_view text, size_t from, size_t limit) const;

    std::vector<Segment> segments_{1};  // cut at the stars: n stars give n + 1 segments
};

// One-off convenience; compile a LikePattern for repeated use.
bool likeMatch(std::string_view text, std::string_view pattern, LikeCase compare = LikeCase::Binary);

}  // namespace core

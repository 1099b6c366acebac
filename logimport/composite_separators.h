#pragma once
// Separators of a compiled log format: plain literals, and composites that mix
// literals with the white-space and line-break wildcards. Positions are 1-based in
// the named routines; the splitter uses the 0-based forms in its hot loop.
#include <string>
#include <string_view>
#include <vector>

struct CompositePart {
    enum Kind { Literal, Blanks, OptionalBlanks, LineBreaks };  // text, "%w", "%W", "\n"
    Kind kind = Literal;
    std::string text;
    bool operator==(const CompositePart&) const = default;
};
using CompositeSeparator = std::vector<CompositePart>;

// The composites of one compiled format, by number.
using CompositeList = std::vector<CompositeSeparator>;
// Number of an equal composite already listed, else the number of the one added.
int STTA_CompositeAdd(CompositeList& list, const CompositeSeparator& composite);

bool STTA_SepFind(std::string_view piece, std::string_view line, long& start);
bool STTA_SepAt(std::string_view piece, std::string_view line, long position, long& length);
bool STTA_CompositeSepMatch(const CompositeList& list, int number, std::string_view line, long& start,
                            long& length);

namespace logfmt {
// 0-based: where the composite begins at or after `from`, and the characters it covers.
bool matchComposite(const CompositeSeparator& c, std::string_view line, size_t from, size_t& start,
                    size_t& length);
}  // namespace logfmt

#include "logimport/composite_separators.h"

#include <algorithm>

int STTA_CompositeAdd(CompositeList& list, const CompositeSeparator& composite) {
    auto it = std::find(list.begin(), list.end(), composite);
    if (it != list.end()) return int(it - list.begin());
    list.push_back(composite);
    return int(list.size()) - 1;
}

namespace logfmt {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isBreak(char c) { return c == '\r' || c == '\n'; }

template <typename Pred>
size_t runEnd(std::string_view line, size_t pos, Pred pred) {
    while (pos < line.size() && pred(line[pos])) ++pos;
    return pos;
}

// Where the anchor begins at or after `from`, and where it ends; false when absent.
bool findAnchor(const CompositePart& p, std::string_view line, size_t from, size_t& at, size_t& end) {
    switch (p.kind) {
    case CompositePart::Literal:
        at = line.find(p.text, from);
        if (at == std::string_view::npos) return false;
        end = at + p.text.size();
        return true;
    case CompositePart::Blanks:
        at = line.find_first_of(" \t", from);
        if (at == std::string_view::npos) return false;
        end = runEnd(line, at, isBlank);
        return true;
    case CompositePart::LineBreaks:
        at = line.find_first_of("\r\n", from);
        // Lines reach us without their line end, so a break also matches at the end.
        if (at == std::string_view::npos) {
            if (from > line.size()) return false;
            at = end = line.size();
            return true;
        }
        end = runEnd(line, at, isBreak);
        return true;
    case CompositePart::OptionalBlanks:
        break;
    }
    return false;
}

// Consumes one following piece at `pos`; false when it does not stand there.
bool follow(const CompositePart& p, std::string_view line, size_t& pos) {
    switch (p.kind) {
    case CompositePart::Literal:
        if (pos + p.text.size() > line.size() || line.compare(pos, p.text.size(), p.text) != 0) return false;
        pos += p.text.size();
        return true;
    case CompositePart::OptionalBlanks:
        pos = runEnd(line, pos, isBlank);
        return true;
    case CompositePart::Blanks: {
        size_t end = runEnd(line, pos, isBlank);
        if (end == pos) return false;
        pos = end;
        return true;
    }
    case CompositePart::LineBreaks: {
        size_t end = runEnd(line, pos, isBreak);
        if (end == pos && pos != line.size()) return false;
        pos = end;
        return true;
    }
    }
    return false;
}

}  // namespace

bool matchComposite(const CompositeSeparator& c, std::string_view line, size_t from, size_t& start,
                    size_t& length) {
    size_t first = 0;
    while (first < c.size() && c[first].kind == CompositePart::OptionalBlanks) ++first;
    if (first == c.size()) {  // only optional blanks: they match here, possibly empty
        start = from;
        length = runEnd(line, std::min(from, line.size()), isBlank) - from;
        return from <= line.size();
    }
    for (size_t searchFrom = from;;) {
        size_t at = 0, pos = 0;
        if (!findAnchor(c[first], line, searchFrom, at, pos)) return false;
        size_t i = first + 1;
        while (i < c.size() && follow(c[i], line, pos)) ++i;
        if (i == c.size()) {
            // Leading optional blanks move the start back, never before the search start.
            start = at;
            if (first > 0)
                while (start > from && isBlank(line[start - 1])) --start;
            length = pos - start;
            return true;
        }
        searchFrom = at + 1;
    }
}

}  // namespace logfmt

bool STTA_SepFind(std::string_view piece, std::string_view line, long& start) {
    if (start < 1) return false;
    size_t at = line.find(piece, size_t(start - 1));
    if (at == std::string_view::npos) return false;
    start = long(at) + 1;
    return true;
}

bool STTA_SepAt(std::string_view piece, std::string_view line, long position, long& length) {
    size_t pos = size_t(position - 1);
    if (position >= 1 && pos + piece.size() <= line.size() && line.compare(pos, piece.size(), piece) == 0) {
        length = long(piece.size());
        return true;
    }
    length = -1;
    return false;
}

bool STTA_CompositeSepMatch(const CompositeList& list, int number, std::string_view line, long& start,
                            long& length) {
    length = -1;
    if (number < 0 || size_t(number) >= list.size() || start < 1) return false;
    size_t at = 0, len = 0;
    if (!logfmt::matchComposite(list[size_t(number)], line, size_t(start - 1), at, len)) return false;
    start = long(at) + 1;
    length = long(len);
    return true;
}

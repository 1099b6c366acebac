#include "platform/dao/select_shape.h"
#include "platform/sys/ascii.h"

#include <vector>

namespace dao::detail {

namespace {

struct Word {
    std::string upper;
    size_t begin, end;
};

// The top-level words and punctuation of the text, skipping literals, quoted names,
// comments and anything inside parentheses.
std::vector<Word> topLevelTokens(std::string_view s) {
    std::vector<Word> out;
    int depth = 0;
    size_t i = 0;
    auto skipQuoted = [&](char close) {
        for (++i; i < s.size(); ++i) {
            if (s[i] == close) {
                if (i + 1 < s.size() && s[i + 1] == close && close != ']') { ++i; continue; }
                break;
            }
        }
        ++i;
    };
    while (i < s.size()) {
        char c = s[i];
        if (c == '-' && i + 1 < s.size() && s[i + 1] == '-') {
            while (i < s.size() && s[i] != '\n') ++i;
        } else if (c == '/' && i + 1 < s.size() && s[i + 1] == '*') {
            auto e = s.find("*/", i + 2);
            i = e == std::string_view::npos ? s.size() : e + 2;
        } else if (c == '\'' || c == '"' || c == '`' || c == '[') {
            size_t b = i;
            skipQuoted(c == '[' ? ']' : c);
            if (depth == 0) out.push_back({"\"", b, std::min(i, s.size())});
        } else if (c == '(') {
            if (depth++ == 0) out.push_back({"(", i, i + 1});
            ++i;
        } else if (c == ')') {
            if (depth > 0) --depth;
            ++i;
        } else if (sys::isNameChar(c)) {
            size_t b = i;
            while (i < s.size() && sys::isNameChar(s[i])) ++i;
            if (depth == 0) {
                out.push_back({sys::asciiUpperCopy(s.substr(b, i - b)), b, i});
            }
        } else {
            if (depth == 0 && c != ' ' && c != '\t' && c != '\r' && c != '\n') out.push_back({std::string(1, c), i, i + 1});
            ++i;
        }
    }
    return out;
}

std::string trimmed(std::string_view s) {
    size_t b = 0, e = s.size();
    while (b < e && (s[b] == ' ' || s[b] == '\t' || s[b] == '\r' || s[b] == '\n')) ++b;
    while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t' || s[e - 1] == '\r' || s[e - 1] == '\n' ||
                     s[e - 1] == ';'))
        --e;
    return std::string(s.substr(b, e - b));
}

}  // namespace

SelectShape analyseSelect(std::string_view sqlIn) {
    SelectShape shape;
    std::string sql = trimmed(sqlIn);
    auto t = topLevelTokens(sql);
    if (t.size() < 4 || t[0].upper != "SELECT") return shape;
    size_t from = 0;
    for (size_t k = 1; k < t.size(); ++k)
        if (t[k].upper == "FROM") { from = k; break; }
    if (from < 2 || from + 1 >= t.size()) return shape;
    if (t[1].upper == "DISTINCT" || t[1].upper == "ALL") return shape;
    const Word& table = t[from + 1];
    if (table.upper == "(" || !(sys::isNameChar(sql[table.begin]) || sql[table.begin] == '"')) return shape;
    size_t next = from + 2;
    if (next < t.size() && t[next].upper != "WHERE" && t[next].upper != "ORDER") return shape;
    for (size_t k = next; k < t.size(); ++k) {
        const std::string& w = t[k].upper;
        if (w == "GROUP" || w == "HAVING" || w == "UNION" || w == "INTERSECT" || w == "EXCEPT" ||
            w == "LIMIT" || w == "WINDOW" || w == "JOIN")
            return shape;
    }
    shape.columns = trimmed(std::string_view(sql).substr(t[0].end, t[from].begin - t[0].end));
    if (shape.columns.find('?') != std::string::npos) return shape;
    shape.table = sql.substr(table.begin, table.end - table.begin);
    shape.rest = next < t.size() ? sql.substr(t[next].begin) : std::string();
    shape.singleTable = true;
    return shape;
}

}  // namespace dao::detail

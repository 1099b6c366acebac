#include "logimport/filter_rules.h"

#include <algorithm>
#include <array>

#include "platform/sys/ascii.h"
#include "platform/sys/rt_error.h"

namespace {

bool hasUpper(std::string_view text) {
    return std::any_of(text.begin(), text.end(), sys::isAsciiUpper);
}

// The value lower-cased into a buffer that is reused, so that folding allocates only
// while the buffer still grows.
std::string_view foldInto(std::string& buffer, std::string_view value) {
    buffer.assign(value);
    for (char& c : buffer) c = sys::asciiLower(c);
    return buffer;
}

// A decimal number after trimming blanks and tabs: an optional sign, digits and at most
// one decimal point, with at least one digit.
bool isDecimalNumber(std::string_view s) {
    std::size_t b = s.find_first_not_of(" \t");
    if (b == std::string_view::npos) return false;
    std::size_t e = s.find_last_not_of(" \t");
    s = s.substr(b, e - b + 1);
    std::size_t i = 0;
    if (s[0] == '+' || s[0] == '-') i = 1;
    bool digit = false, point = false;
    for (; i < s.size(); ++i) {
        char c = s[i];
        if (c >= '0' && c <= '9') {
            digit = true;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            return false;
        }
    }
    return digit;
}

// The test of the kinds table on a value given as it stands and lower-cased; the rule
// picks which of the two it tests. string_view compares bytes as unsigned characters,
// which is the character-code order.
bool matchPrepared(std::string_view raw, std::string_view folded, const FltrRule& rule) {
    std::string_view v = rule.MC ? raw : folded;
    std::string_view val = rule.Val;
    switch (rule.Typ) {
        case kFltrStartsWith:
            return v.starts_with(val);
        case kFltrContains:
            return !v.empty() && v.find(val) != std::string_view::npos;
        case kFltrEquals:
            return v == val;
        case kFltrGreater:
            return v.compare(val) > 0;
        case kFltrLess:
            return v.compare(val) < 0;
        case kFltrIsNumber:
            return isDecimalNumber(raw);
        default:
            return false;
    }
}

// The value lower-cased; a value without upper-case letters is used as it stands.
std::string_view foldedFor(std::string& buffer, std::string_view value) {
    return hasUpper(value) ? foldInto(buffer, value) : value;
}

struct KindInfo {
    const char* caption;
    const char* letter;
};

constexpr KindInfo kKinds[] = {
    {"Starts with ...", "S"}, {"Contains ...", "t"},      {"Equals ...", "q"},
    {"Is greater than ...", "g"}, {"Is less than ...", "l"}, {"Is a number", "u"},
};

// matchAt(i, rule) tests rule i on its value.
template <class MatchAt>
bool evalRules(const FltrRules& rules, bool any, long& index, MatchAt matchAt) {
    long hi = FLTR_RuleUBound(rules);
    for (long i = 1; i <= hi; ++i) {
        bool match = matchAt(i, rules[static_cast<std::size_t>(i)]);
        if (match == any) {
            index = i;
            return any;
        }
    }
    return !any;
}

}  // namespace

bool FLTR_RuleMatches(std::string_view value, const FltrRule& rule) {
    thread_local std::string buffer;
    if (rule.MC) return matchPrepared(value, value, rule);
    return matchPrepared(value, foldedFor(buffer, value), rule);
}

void FLTR_CopyRule(const FltrRule& source, FltrRule& target) {
    target.Typ = source.Typ;
    target.Val = source.Val;
    target.MC = source.MC;
}

std::string FLTR_KindCaption(const FltrRule& rule, std::string& accessLetter) {
    if (rule.Typ < kFltrStartsWith || rule.Typ > kFltrIsNumber) {
        accessLetter.clear();
        return {};
    }
    const KindInfo& k = kKinds[rule.Typ - 1];
    accessLetter = k.letter;
    return k.caption;
}

std::string FLTR_RuleText(const FltrRule& rule) {
    std::string letter;
    std::string text = FLTR_KindCaption(rule, letter);
    for (std::size_t at; (at = text.find("...")) != std::string::npos;) text.erase(at, 3);
    text += "<" + rule.Val + ">";
    if (rule.MC) text += " MC";
    return text;
}

long FLTR_RuleUBound(const FltrRules& rules) { return static_cast<long>(rules.size()) - 1; }

bool FLTR_EvalFieldRules(const std::vector<std::string>& values, const FltrRules& rules,
                         bool any, long& index) {
    if (static_cast<long>(values.size()) - 1 < FLTR_RuleUBound(rules))
        sys::raise(sys::kErrSubscript, "FLTR_EvalFieldRules");
    return evalRules(rules, any, index, [&](long i, const FltrRule& rule) {
        return FLTR_RuleMatches(values[static_cast<std::size_t>(i)], rule);
    });
}

bool FLTR_EvalValueRules(std::string_view value, const FltrRules& rules, bool any) {
    thread_local std::string buffer;
    std::string_view folded = foldedFor(buffer, value);
    long index = 0;
    return evalRules(rules, any, index, [&](long, const FltrRule& rule) {
        return matchPrepared(value, folded, rule);
    });
}

bool STTA_FltrSetTest(const LogFields& line, FltrSet& set, long& ruleIndex, bool valueWanted,
                      std::string& value) {
    ruleIndex = 0;
    if (valueWanted) value.clear();
    if (!set.Active || FLTR_RuleUBound(set.Rules) < 1) return false;
    auto fieldNo = [&](long i) -> std::size_t {
        std::size_t k = static_cast<std::size_t>(i);
        long field = k < set.ColTypes.size() ? set.ColTypes[k] : 0;
        return field < 0 || field >= static_cast<long>(line.size()) ? 0 : std::size_t(field);
    };
    auto fieldOf = [&](long i) -> std::string_view { return line[fieldNo(i)]; };
    // Each field is lower-cased at most once per line, however many rules test it.
    thread_local std::array<std::string, std::tuple_size_v<LogFields>> buffers;
    std::array<std::size_t, 4> seenField{};
    std::array<std::string_view, 4> seenFolded;
    std::size_t seen = 0;
    auto foldedField = [&](std::size_t f) -> std::string_view {
        for (std::size_t k = 0; k < seen; ++k)
            if (seenField[k] == f) return seenFolded[k];
        std::string_view folded = foldedFor(buffers[f], line[f]);
        if (seen < seenField.size()) {
            seenField[seen] = f;
            seenFolded[seen++] = folded;
        }
        return folded;
    };
    bool outcome = evalRules(set.Rules, set.Any, ruleIndex, [&](long i, const FltrRule& rule) {
        std::size_t f = fieldNo(i);
        if (rule.MC || rule.Typ == kFltrIsNumber) return matchPrepared(line[f], line[f], rule);
        return matchPrepared(line[f], foldedField(f), rule);
    });
    if (valueWanted && ruleIndex >= 1) value = fieldOf(ruleIndex);
    if (set.Negate) outcome = !outcome;
    if (outcome) ++set.Hits;
    return outcome;
}

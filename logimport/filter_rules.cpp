#include "logimport/filter_rules.h"

#include "platform/sys/rt_error.h"

namespace {

// The tested value seen as lower-case (unless match case) without making a copy.
struct Folded {
    std::string_view text;
    bool fold;
    unsigned char operator[](std::size_t i) const {
        unsigned char c = static_cast<unsigned char>(text[i]);
        return fold && c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c + 32) : c;
    }
    std::size_t size() const { return text.size(); }
};

bool equalAt(const Folded& v, std::size_t at, std::string_view val) {
    for (std::size_t k = 0; k < val.size(); ++k)
        if (v[at + k] != static_cast<unsigned char>(val[k])) return false;
    return true;
}

bool startsWith(const Folded& v, std::string_view val) {
    return val.size() <= v.size() && equalAt(v, 0, val);
}

bool contains(const Folded& v, std::string_view val) {
    if (v.size() == 0) return false;
    if (val.size() > v.size()) return false;
    std::size_t last = v.size() - val.size();
    for (std::size_t at = 0; at <= last; ++at)
        if (equalAt(v, at, val)) return true;
    return false;
}

// Character-code order: <0, 0 or >0 as the value sorts before, with or after val.
int compare(const Folded& v, std::string_view val) {
    std::size_t n = std::min(v.size(), val.size());
    for (std::size_t k = 0; k < n; ++k) {
        unsigned char a = v[k], b = static_cast<unsigned char>(val[k]);
        if (a != b) return a < b ? -1 : 1;
    }
    if (v.size() == val.size()) return 0;
    return v.size() < val.size() ? -1 : 1;
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

struct KindInfo {
    const char* caption;
    const char* letter;
};

constexpr KindInfo kKinds[] = {
    {"Starts with ...", "S"}, {"Contains ...", "t"},      {"Equals ...", "q"},
    {"Is greater than ...", "g"}, {"Is less than ...", "l"}, {"Is a number", "u"},
};

template <class ValueAt>
bool evalRules(const FltrRules& rules, bool any, long& index, ValueAt valueAt) {
    long hi = FLTR_RuleUBound(rules);
    for (long i = 1; i <= hi; ++i) {
        bool match = FLTR_RuleMatches(valueAt(i), rules[static_cast<std::size_t>(i)]);
        if (match == any) {
            index = i;
            return any;
        }
    }
    return !any;
}

}  // namespace

bool FLTR_RuleMatches(std::string_view value, const FltrRule& rule) {
    Folded v{value, !rule.MC};
    switch (rule.Typ) {
        case kFltrStartsWith:
            return startsWith(v, rule.Val);
        case kFltrContains:
            return contains(v, rule.Val);
        case kFltrEquals:
            return v.size() == rule.Val.size() && equalAt(v, 0, rule.Val);
        case kFltrGreater:
            return compare(v, rule.Val) > 0;
        case kFltrLess:
            return compare(v, rule.Val) < 0;
        case kFltrIsNumber:
            return isDecimalNumber(value);
        default:
            return false;
    }
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
    return evalRules(rules, any, index,
                     [&](long i) -> std::string_view { return values[static_cast<std::size_t>(i)]; });
}

bool FLTR_EvalValueRules(std::string_view value, const FltrRules& rules, bool any) {
    long index = 0;
    return evalRules(rules, any, index, [&](long) { return value; });
}

bool STTA_FltrSetTest(const LogFields& line, FltrSet& set, long& ruleIndex, bool valueWanted,
                      std::string& value) {
    ruleIndex = 0;
    if (valueWanted) value.clear();
    if (!set.Active || FLTR_RuleUBound(set.Rules) < 1) return false;
    auto fieldOf = [&](long i) -> std::string_view {
        std::size_t k = static_cast<std::size_t>(i);
        long field = k < set.ColTypes.size() ? set.ColTypes[k] : 0;
        if (field < 0 || field >= static_cast<long>(line.size())) return {};
        return line[static_cast<std::size_t>(field)];
    };
    bool outcome = evalRules(set.Rules, set.Any, ruleIndex, fieldOf);
    if (valueWanted && ruleIndex >= 1) value = fieldOf(ruleIndex);
    if (set.Negate) outcome = !outcome;
    if (outcome) ++set.Hits;
    return outcome;
}

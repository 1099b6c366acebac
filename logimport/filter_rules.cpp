#include "logimport/filter_rules.h"

#include <array>

#include "platform/sys/rt_error.h"

namespace {

using fltr::foldedFor;
using fltr::matchPrepared;

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

#pragma once
// Filter rules: one test (starts with, contains, equals, greater, less, is a number) of
// one text taken from a parsed log line, and the all/any evaluation of a list of rules.
// The same rules serve the line filters of a read, the robot and skip filters and the
// rules of targets, so matching runs once per rule for every log line that reaches a
// filter: it lower-cases only the tested value, at most once per field and line, into
// reused buffers (rule values of rules without match case are stored lower-case, so
// they are used as they stand).
#include <string>
#include <string_view>
#include <vector>

#include "core/filter_rule.h"
#include "logimport/log_format.h"

// A rule array: the index is the rule number, so sets that number their rules from 1
// keep a blank rule 0. An empty vector is an array without bounds.
using FltrRules = std::vector<FltrRule>;

// One filter of a read in memory: the rules of the selected filter and the field each
// rule tests.
struct FltrSet {
    bool Active = false;         // off: the set is not consulted and hits nothing
    bool Negate = false;         // the outcome of the rules is inverted
    FltrRules Rules;             // from 1
    bool Any = false;            // true: any rule, false: all rules
    std::vector<long> ColTypes;  // field number tested by each rule, parallel to Rules
    long Hits = 0;               // lines for which the set's outcome was true
};

// The upper bound of a rule array, -1 when it has no bounds.
long FLTR_RuleUBound(const FltrRules& rules);

// values[i] is tested by rules[i], for i from 1 to the rules' upper bound. All: false at
// the first rule that fails, true after the last. Any: true at the first rule that
// matches, false when none does. `index` gets the deciding rule and is left alone when
// the loop runs out. The values must reach as far as the rules (error 9 otherwise).
bool FLTR_EvalFieldRules(const std::vector<std::string>& values, const FltrRules& rules,
                         bool any, long& index);
// The same value tested by every rule.
bool FLTR_EvalValueRules(std::string_view value, const FltrRules& rules, bool any);

// Whether the set hits a parsed line: each rule tests the line's field ColTypes[i]. An
// inactive set, or an active one without rules, never hits; otherwise the outcome of
// the rules, inverted under Negate, counts in Hits when true. `ruleIndex` gets the rule
// that decided (0 when none did); with `valueWanted`, `value` gets the field it tested.
bool STTA_FltrSetTest(const LogFields& line, FltrSet& set, long& ruleIndex, bool valueWanted,
                      std::string& value);

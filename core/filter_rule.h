#pragma once
// One filter rule: a test (starts with, contains, equals, greater, less, is a number) of
// one text, its caption and its INI form. The log import's filters, the targets and the
// two-list selector's saved word filters all use it; the log import evaluates lists of
// rules against log lines (logimport/filter_rules.h) with the prepared test below, so
// that a value is lower-cased once however many rules test it.
#include <algorithm>
#include <string>
#include <string_view>

#include "core/numbers.h"
#include "platform/sys/ascii.h"

struct FltrRule {
    long Typ = 0;     // kind 1 to 6; any other value never matches
    std::string Val;  // lower-case unless MC
    bool MC = false;  // match case: when off the tested value is lower-cased
};

// Kinds of rule; a stored Typ may hold any number.
enum FltrKind : long {
    kFltrStartsWith = 1,
    kFltrContains = 2,
    kFltrEquals = 3,
    kFltrGreater = 4,
    kFltrLess = 5,
    kFltrIsNumber = 6,
};

bool FLTR_RuleMatches(std::string_view value, const FltrRule& rule);
void FLTR_CopyRule(const FltrRule& source, FltrRule& target);
// The caption of the kind ("Starts with ...") and its access letter; "" outside 1 to 6.
std::string FLTR_KindCaption(const FltrRule& rule, std::string& accessLetter);
// "Starts with <abc>", "Contains <bot> MC", "Is a number<>".
std::string FLTR_RuleText(const FltrRule& rule);

// Reads a rule from the section with the caller's not-found mode. A missing Typ reads
// 31313, which never matches. Val is lower-cased unless MC, as writing stores it, so
// that a hand-edited upper-case value still matches.
void FLTR_ReadRule(const std::string& section, const std::string& iniFile, FltrRule& rule,
                   int notFoundMode);
// Writes Typ, Val (lower-cased unless MC) and MC; the rule itself is left as it is.
void FLTR_WriteRule(const std::string& section, const std::string& iniFile, const FltrRule& rule);

namespace fltr {

// The value lower-cased into a buffer that is reused, so that folding allocates only
// while the buffer still grows; a value without upper-case letters is used as it stands.
inline std::string_view foldedFor(std::string& buffer, std::string_view value) {
    if (std::none_of(value.begin(), value.end(), sys::isAsciiUpper)) return value;
    buffer.assign(value);
    for (char& c : buffer) c = sys::asciiLower(c);
    return buffer;
}

// The test of the kinds on a value given as it stands and lower-cased; the rule picks
// which of the two it tests. string_view compares bytes as unsigned characters, which
// is the character-code order.
inline bool matchPrepared(std::string_view raw, std::string_view folded, const FltrRule& rule) {
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
            return core::isNumericText(raw);
        default:
            return false;
    }
}

}  // namespace fltr

#include "core/filter_rule.h"

#include "core/ini_store.h"
#include "core/text.h"

namespace {

struct KindInfo {
    const char* caption;
    const char* letter;
};

constexpr KindInfo kKinds[] = {
    {"Starts with ...", "S"}, {"Contains ...", "t"},      {"Equals ...", "q"},
    {"Is greater than ...", "g"}, {"Is less than ...", "l"}, {"Is a number", "u"},
};

}  // namespace

bool FLTR_RuleMatches(std::string_view value, const FltrRule& rule) {
    thread_local std::string buffer;
    if (rule.MC) return fltr::matchPrepared(value, value, rule);
    return fltr::matchPrepared(value, fltr::foldedFor(buffer, value), rule);
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

void FLTR_ReadRule(const std::string& section, const std::string& iniFile, FltrRule& rule,
                   int notFoundMode) {
    // Every read puts the store's mode back, so a kept mode (-1) is taken once for all three.
    int mode = notFoundMode == -1 ? gIniMissingMode : notFoundMode;
    double typ = INI_GetNumVar(section, "Typ", iniFile, mode);
    rule.Typ = typ >= -2147483648.0 && typ <= 2147483647.0 ? static_cast<long>(typ) : 0;
    rule.Val = INI_Get(section, "Val", iniFile, mode);
    rule.MC = INI_GetFlag(section, "MC", iniFile, mode);
    if (!rule.MC) rule.Val = core::lowerAscii(rule.Val);
}

void FLTR_WriteRule(const std::string& section, const std::string& iniFile, const FltrRule& rule) {
    INI_Put(section, "Typ", rule.Typ, iniFile);
    INI_Put(section, "Val", rule.MC ? rule.Val : core::lowerAscii(rule.Val), iniFile);
    INI_Put(section, "MC", rule.MC, iniFile);
}

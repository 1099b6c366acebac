#pragma once
// The texts by which the filter dialogs show the filters of a filter file: a single
// filter as its field and rule ("File Name Contains </shop/>"), a multiple filter as
// its rules' texts in angle brackets joined by " & " (all must hold) or " / " (any
// suffices). Lists of names and their descriptions are kept parallel, from index 1.
#include <string>

#include "core/typed_array.h"
#include "logimport/filter_rules.h"

// The caption of field `colType` (empty outside the captions), a blank, the rule text.
std::string FLTR_FilterRuleText(const FltrRule& rule, long colType, const core::StrArray& captions);
// The same for the single filter stored in section `name`.
std::string FLTR_FilterRuleText(const std::string& name, const std::string& iniFile,
                                const core::StrArray& captions);
// Each named rule's text in "<" and ">", joined by " / " under `any`, else by " & ".
std::string FLTR_CondsArrText(const core::StrArray& ruleNames, const std::string& iniFile,
                              const core::StrArray& captions, bool any);
// The description of the multiple filter stored in section `name`.
std::string FLTR_CondsText(const std::string& name, const std::string& iniFile,
                           const core::StrArray& captions);

// One description per name of names[1..]: a protected name (a "|" list, compared
// ignoring case) as it stands, a multiple filter by its rules, a single one by its rule.
// With `rulesOnly` protected names and multiple filters are left out of both outputs.
void FLTR_FilterDescsBuild(const core::StrArray& names, const std::string& iniFile,
                           const core::StrArray& captions, const std::string& protectedNames,
                           bool rulesOnly, core::StrArray& keptNames, core::StrArray& descs);
// FLTR_FilterDescsBuild over the names listed in [Filters] `listEntry`.
void FLTR_FilterListDescs(const std::string& listEntry, const std::string& iniFile,
                          const core::StrArray& captions, const std::string& protectedNames,
                          bool rulesOnly, core::StrArray& names, core::StrArray& descs);

// After the descriptions were put in a new order, gives each its name by the position
// it had among `oldDescs` (parallel to `oldNames`), writes the names in the new order
// to [Filters] `listEntry` and returns them. A description that appears twice takes
// the names of its places in turn; one not found is left out.
core::StrArray FLTR_DescsToNames(const core::StrArray& oldNames, const core::StrArray& oldDescs,
                                 const core::StrArray& newDescs, const std::string& listEntry,
                                 const std::string& iniFile);

// The first multiple filter among names[1..] whose rules include `ruleName` (ignoring
// case), with its description; "" when none.
std::string FLTR_MultiUseFind(const std::string& ruleName, const core::StrArray& names,
                              const std::string& iniFile, const core::StrArray& captions,
                              std::string& description);

namespace fltr {
// Whether `name` is one of the "|" list of protected names, ignoring case.
bool isProtected(const std::string& name, const std::string& protectedNames);
// The names listed in [Filters] `listEntry`, from 1 (a blank 0 to 0 when none).
core::StrArray listNames(const std::string& listEntry, const std::string& iniFile);
}  // namespace fltr

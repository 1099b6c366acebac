#pragma once
// Targets: a page, or pages described by rules, that the site wants visitors to reach.
// A target lives in a section of the site's targets.ini with its rules in sections of
// their own, and passes through the values of the target dialog (section TmpVals of
// the dialog's INI file). Up to four targets are analysed at once; each visit is
// marked with the targets its pages reach.
#include <string>
#include <vector>

#include "core/typed_array.h"
#include "logimport/filter_rules.h"
#include "platform/dao/database.h"

struct TargetSpec {
    FltrRules Rules;  // from 0
    long Typ = 0;     // 1 page with minimum bytes, 2 any rule, 3 all rules, 4 one page rule
    double TagOpBytes = 0;
};

inline constexpr long kTargetsMax = 4;
inline constexpr long kTargetDialogRules = 5;

// The dialog values: the type options, the minimum bytes and per rule its value, its
// match-case flag and whether it is an "Equals ..." rule.
void STTA_TagOpsSave(const std::string& iniFile, const TargetSpec& target);
// Typ stays as it was when no type option is set; five rules, "Equals ..." or
// "Contains ...".
void STTA_TagOpsLoad(const std::string& iniFile, TargetSpec& target);
// Writes Typ, TagOpBytes and the rules into targets.ini. The list of rule sections is
// only ever lengthened, so names stored for more rules stay listed.
void STTA_FltrLstSave(const std::string& section, const TargetSpec& target);
// Reads the target's section and one rule per listed rule section; true when the
// section lists rules.
bool STTA_FltrLstLoad(const std::string& section, TargetSpec& target);

// A new target section, "Target " and the next number of the counter [Main] Parm of
// targets.ini, with its one rule section listed in FltrLst and returned in `ruleNames`.
// A number whose section is already in use is passed over.
std::string STTA_TargetSectionNew(core::StrArray& ruleNames);
// The section name of a target list item: its text before " : ", "" without one.
std::string STTA_TargetItemSection(const std::string& item);

// The targets to analyse, items 1 to n (at most four) with item 0 empty; only item 0
// when [Main] AnalTgt is off.
void STTA_TargetsLoad(std::vector<TargetSpec>& targets);
// Whether the visit's pages (page IDs with their bytes, parallel) reach the target.
// Rules with an empty value are passed over; for Typ 3 every other rule must match
// some page of the visit.
bool STTA_TargetMatchVisit(dao::Database& db, const TargetSpec& target, const core::LngArray& pageIDs,
                           const core::LngArray& bytes);
// Flags 0 to max(4, number of targets): 1 where the visit reaches target i.
void STTA_VisitTargetsFlag(dao::Database& db, const core::LngArray& pageIDs, const core::LngArray& bytes,
                           const std::vector<TargetSpec>& targets, core::LngArray& flags);
void STTA_TargetArrCopy(const std::vector<TargetSpec>& source, std::vector<TargetSpec>& target);
// True when no target filters (target number -1) or the visit reaches the target;
// then `kind` gets the report kind asked for with it.
bool STTA_TargetFilterPass(const core::LngArray& flags, long targetNo, long reportKind, long& kind);

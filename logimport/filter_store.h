#pragma once
// Filters as they are stored in filter files: an INI file whose section "Filters" lists
// the filter names and names the selected one, every other section being a filter.
// A single filter holds one rule (Typ, Val, MC) and the field it tests (ColType); a
// multiple filter lists single filters of the same file in CDSCndns, with Any saying
// whether one or all of them must hold.
#include <string>
#include <vector>

#include "logimport/filter_rules.h"
#include "logimport/read_record.h"

// True for a multiple filter: `names` its CDSCndns and `any` its Any. False for a
// single one: `names` is the filter's own name and `any` is left alone.
bool FLTR_ReadConds(const std::string& filterName, const std::string& iniFile, std::string& names,
                    bool& any);
// Loads the filter named in [section] entry: one rule and one ColType text per single
// filter, from index 1. No filter named gives one blank element at index 0. Given a
// list of names in place of a name (the robot list), each listed filter is one rule.
void FLTR_LoadFilterRules(const std::string& section, const std::string& entry,
                          const std::string& iniFile, FltrRules& rules,
                          std::vector<std::string>& colTexts, bool& any);

// Fills the set from the filter selected under `selEntry` of section "Filters". An
// inactive set is left as it was apart from Active.
void STTA_FltrSetLoad(const std::string& iniFile, FltrSet& set, const std::string& selEntry,
                      bool active, bool negate);
// The main set from the robot-finding filter, active and negated (it skips the lines
// that do not satisfy it); the robot and component sets are switched off, so that the
// robots' own lines reach the search.
void STTA_BotFindFltrLoad(ReadRec& rec);
// The three sets of a main pass, as the remembered choices of the filter dialog say.
void STTA_FltrSetsLoad(ReadRec& rec);

#pragma once
// Controls that follow a check box or an option button (spec field 22). A rule is
// "sense|kind|member": sense 1 enables the control while its controller is ticked
// (selected), 2 while it is clear; kind and member name the control itself, so that
// multi-line boxes, editable combo boxes, multi-select lists and grids are found too.
#include <QWidget>
#include <string>

#include "core/typed_array.h"

class Msgbxform;

// Field 22: "True"/"False" set Enabled; a number n adds a rule to the list of entry
// abs(n) (lists are joined with "|~~|").
void MB_EnableRuleAdd(const std::string& field22, QWidget* control, int kind, int member,
                      core::StrArray& ruleLists);
// Stores the lists of check-box and option-button entries by their members on the form
// (item member + 1), drops the others, and applies them once.
void MB_EnableRulesStore(Msgbxform* form, const core::StrArray& ruleLists,
                         const core::StrArray& entries, const core::LngArray& members);
// Options first, then check boxes (only Value 1 counts as ticked).
void MB_EnableRulesInit(Msgbxform* form);
void MB_EnableRulesApply(Msgbxform* form, const std::string& rules, bool state);

#pragma once
// The dialogs in which the user keeps the targets of the current site: the list of
// targets ([Main] LstTgts of targets.ini, items "section : label") and the definition
// of one target, either simple (one page name) or complex (up to five page rules with
// the way they combine). The definition's values pass through [TmpVals] of the
// screens file, where the complex dialog's controls ([DefTgt] Xctls) remember them.
#include <string>

// Defines the target of the list item, or a new one when the item names no section.
// OK writes the target (a new one into a new section) and makes the item its section,
// " : " and its label; Cancel leaves everything as it was.
void STTA_TargetDefine(std::string& item);

// The list of targets with New, Edit and Copy through STTA_TargetDefine; Remove and
// the moves are the list's own (a removed target's section stays). Returns 2 when the
// targets changed while the list was open, else 1: the list's one closing button is
// Cancel, so the button cannot tell.
long STTA_TargetsEdit();

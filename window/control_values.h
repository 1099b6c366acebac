#pragma once
// Remembered values of a dialog's extra controls and the rules their entries must
// pass. A dialog's INI section holds, per control number n, a pointer to where the
// value lives (entry n: "valsection|valentry|mode") and its rules (entry "C" + n, a
// "|" list of rules in braces). Controls sit in the dialog builder's arrays at entry
// index k; their numbers sit at position k - 1 + base of the numbers array.
#include <string>

#include "core/table2d.h"
#include "core/typed_array.h"

constexpr int kErrBadRuleCode = 10203;

// The type word of a control entry: the text before the first "|~~|", without a
// leading "_".
std::string XCTL_EntryType(const std::string& entry);
// First position (from 0) holding the number; -1 when none.
long XCTL_CtlIndex(int number, const core::IntArray& numbers);
// The enabling field (spec field 22) of each entry names another control by its signed
// number; it becomes that control's signed entry index, or empty when no control
// carries the number.
void XCTL_DependRenumber(core::StrArray& entries, const core::IntArray& numbers, long base);

// The remembered value the pointer names; a CheckBox gives "1" or "0".
std::string XCTL_LinkedValueGet(const std::string& type, const std::string& pointer,
                                const std::string& valuesFile, const std::string& sectionOverride);
// A CheckBox value is written "True" or "False".
void XCTL_LinkedValuePut(const std::string& type, const std::string& value,
                         const std::string& pointer, const std::string& valuesFile,
                         const std::string& sectionOverride);

// Before the dialog: each numbered control's remembered value into values, or for a
// list control its chosen index (from 0) into column 0 of its row. An empty values
// file means the definitions' file.
void XCTL_CtlValuesLoad(const std::string& section, const std::string& iniFile,
                        const core::StrArray& entries, core::StrArray& values, core::Table2D& rows,
                        const core::IntArray& numbers, std::string& valuesFile,
                        const std::string& sectionOverride, long base = 0);
// After the dialog (not after Cancel): each numbered control's value back to its place.
void XCTL_CtlValuesSave(const std::string& section, const std::string& iniFile,
                        const core::StrArray& entries, const core::StrArray& values,
                        const core::Table2D& rows, const core::IntArray& numbers,
                        std::string& valuesFile, const std::string& sectionOverride, long base = 0);
// The first failing rule's message and the failing entry's index; "" and -1 when all
// pass. Error 10203 for a rule code that is none of the known ones.
void XCTL_ValidateEntry(const std::string& section, const std::string& iniFile,
                        core::StrArray& values, const core::IntArray& numbers,
                        std::string& message, long& failingEntry, long base = 0);

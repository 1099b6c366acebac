#pragma once
// Extra controls of a dialog defined in an INI file instead of in code. Entry E of
// section S names where the definitions are ("defsection|defentry" of the same file);
// each definition, in braces, is "type|spec entry|value entry|number|kind". The
// controls' remembered values and rules are window/control_values.h's business.
#include <string>

#include "core/typed_array.h"
#include "dialogs/extra_controls.h"

// Appends one control per definition (only the first with `reset`) and stores each
// control's number at position entry - 1 + base of `numbers` (resized to one slot per
// definition when `redim` is set, grown otherwise). A command button clears
// `noButtonAdded` and adds its captions to `extraButtons`. Nothing is added when the
// definition is missing.
void XCTL_CtlsFromIni(const std::string& section, const std::string& entry, const std::string& iniFile,
                      bool reset, MB_CtlEntry& ctl, core::IntArray& numbers, std::string& defSection,
                      bool redim, long base, bool& noButtonAdded, long& extraButtons);

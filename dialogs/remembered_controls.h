#pragma once
// Extra controls of a dialog defined in an INI file: S/E names "defsection|defentry", and
// that entry lists one braced definition per control, "type|spec entry|value entry|
// number|kind". The values they remember, and their rules, are loaded, checked and saved
// by the window toolkit (window/control_values.h).
#include <string>

#include "core/typed_array.h"
#include "dialogs/extra_controls.h"

// Appends the defined controls to `ctl` (only the first with `reset`) and stores each
// control's number at position entry - 1 + base of `numbers` (re-dimensioned to the
// definitions first under `redimNumbers`). A definition's spec is read in its "|" form.
// `defSection` receives the definitions' section; an added command button clears
// `noButtonAdded` and adds its captions to `extraButtons`.
void XCTL_CtlsFromIni(const std::string& section, const std::string& entry, const std::string& iniFile,
                      bool reset, MB_CtlEntry& ctl, core::IntArray& numbers, std::string& defSection,
                      bool redimNumbers, long base, bool& noButtonAdded, long& extraButtons);

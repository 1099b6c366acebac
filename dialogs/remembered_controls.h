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

// Where a dialog's extra controls are defined and remembered (see XCTL_CtlsFromIni).
struct MB_RememberedCtls {
    std::string section{};  // "" none
    std::string entry{};
    std::string iniFile{};
    std::string valuesFile{};       // "" the definitions' file
    std::string sectionOverride{};  // "" the pointers' own sections
};

namespace dlg {
// The remembered controls of one box appended to `ctl` (the first with `reset`), with
// their values loaded; `numbers` maps them, their buttons go to `extraButtons`.
void loadRemembered(MB_RememberedCtls& r, MB_CtlEntry& ctl, core::IntArray& numbers, bool reset,
                    long& extraButtons);
// Their values as the box left them, back where they are remembered.
void saveRemembered(MB_RememberedCtls& r, const MB_CtlEntry& ctl, const core::IntArray& numbers);
}  // namespace dlg

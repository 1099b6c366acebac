#pragma once
// The dialogs in which the user keeps the filters of one filter file: the list of
// filters, the rule editor, the editor of a single filter, the chooser of a multiple
// filter's rules, and the copy of a filter between sections. The filter being edited is kept in section kFltrEditSection meanwhile, so that an
// edit that must be refused can be undone.
#include <string>

#include "core/typed_array.h"
#include "dialogs/extra_controls.h"
#include "logimport/filter_rules.h"

inline const std::string kFltrEditSection = "TEMP.Edit";

// The kinds the rule editor offers besides "Starts with ..." and "Contains ...".
struct FltrKindOffers {
    bool equals = false;       // "Equals ..."
    bool greaterLess = false;  // "Is greater than ..." and "Is less than ..."
    bool number = false;       // "Is a number"
};

// Copies Typ, Val, MC, ColType and the caller's flag entry (item 2 of `flagSpec`) into
// `target`, which is emptied first. With mode 6 a source without Val is not copied and
// the result is false.
bool FLTR_FilterCopy(const std::string& source, const std::string& target,
                     const std::string& iniFile, const std::string& flagSpec, int notFoundMode);

// Adds the rule controls (one option button per offered kind, the value, "Match Case")
// after the caller's controls in `ctl`, shows the box and on OK (button 1) sets the
// rule from them. Returns the pressed button.
int FLTR_RuleEnter(FltrRule& rule, MB_CtlEntry& ctl, const std::string& message,
                   const FltrKindOffers& offers);

// Edits the single filter stored in `section`, or creates one when it is empty. Fields
// 0 to `lastField` of `captions` are offered (negative: all). `flagSpec` ("caption|entry")
// adds the caller's check box. Unless `nameFixed`, the user types the name, which must
// be unique in [Filters] `listEntry`; a new filter with a fixed name gets a dated one.
// True when the filter was saved; `section` then names it.
bool FLTR_FilterEdit(std::string& section, const core::StrArray& captions, const std::string& iniFile,
                     long lastField, const std::string& whereCaption, const std::string& flagSpec,
                     const FltrKindOffers& offers, bool nameFixed, const std::string& listEntry);

// What the caller of the filter list decides: the file and its [Filters] entries, the
// texts, what may be edited and how.
struct FltrListEditArgs {
    core::StrArray captions;      // the fields a filter may test, from 0
    std::string iniFile;
    std::string selEntry;         // [Filters] entry naming the selected filter
    std::string listEntry;        // [Filters] entry listing the filters
    std::string itemWord = "Filter";
    std::string title;            // "" for "Select " & item word
    std::string message;          // replaces the list's own message when not empty
    std::string instruction;      // shown in the notice panel at the first showing
    // Remembered extra controls of the list (their buttons come back as result 7).
    std::string ctlIniFile, ctlSection, ctlEntry;
    std::string flagSpec;         // "caption|entry" of a flag each single filter carries
    std::string protectedNames;   // "|" list: neither removed, edited nor copied
    FltrKindOffers offers;
    bool allowMultiple = false;   // New may make a filter of several rules
    bool descriptions = false;    // list descriptions; names are then dated, not typed
    std::string whereCaption;     // "" for "Where [w]"
    long lastField = -1;          // last field offered; negative: all
};

// The list of the filters of a file, with Edit, New, Remove, Copy, Move Up, Move Down
// and Cancel, and the caller's buttons among its remembered controls. Returns 1 when
// closed, 2 when a filter was picked (it is written to [Filters] selEntry), 7 for a
// caller's button, whose number goes to `extraButton` (the pick is written too).
int FLTR_FilterListEdit(const FltrListEditArgs& args, long& extraButton);

// Chooses the rules of the multiple filter `name` (a new one when empty) among the
// single filters of the list, and whether any or all of them must hold. On OK (2) the
// filter is stored, `name` names it and `any` is its choice.
int FLTR_MultiCondSelect(std::string& name, const FltrListEditArgs& args, bool& any);

namespace fltr {
// What the filter list does after its buttons. Each leaves the file as it was when
// it refuses, and says why.
// After the list dropped `name`: a protected name, or a rule that a multiple filter
// uses, is put back at the end; otherwise its section goes, and a selection of it.
void listRemoved(const FltrListEditArgs& a, const std::string& name);
// A new filter; one whose rule another filter of the list already has is taken back.
// The new filter's name, "" when none was made.
std::string listNew(const FltrListEditArgs& a);
// Edits the named filter; an edit that makes it equal to another one is undone.
void listEdit(const FltrListEditArgs& a, const std::string& name);
// Copies the named filter under its name followed by "." and the first free number,
// and edits a copy of a single filter, which it keeps only when it came out different.
void listCopy(const FltrListEditArgs& a, const std::string& name);
}  // namespace fltr

#pragma once
// The dialogs in which the user keeps the filters of one filter file: the rule
// editor, the editor of a single filter and the copy of a filter between sections.
// The filter being edited is kept in section kFltrEditSection meanwhile, so that an
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

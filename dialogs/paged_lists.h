#pragma once
// One page of a long list shown as extra controls, one control per item, in rows of a
// fixed number of columns. The item map tells the take-back which entry holds which
// page position: the control of item n sits at position n - first + 1.
//
// Rows are counted from the page's first item, and empty fillers complete the last row
// only past the list's last item, so a page may start anywhere and a take-back never
// overwrites an item that exists with a filler's empty value.
#include <string_view>

#include "core/typed_array.h"
#include "dialogs/extra_controls.h"

struct MB_PageRequest {
    std::string_view typeWords = {};  // "|" list cycled over the items by item number
    std::string_view baseSpec = {};   // spec (Tag form) every control starts from
    long columns = 1;                 // controls a row, at least 1
    long firstItem = 1;               // below 1 counts as 1
    long pageSize = 2147483647;
    std::string_view states = {};     // "|" list; item n "1" ticks check box n
    bool focusOnEmpty = false;        // focus to the first control without text
    bool focusOnFirst = false;        // focus to the call's first control, if it resets
    bool extraRow = false;            // a row of empty controls for new items on the last page
};

// Items are numbered 1 .. ubound. `reset` goes with the first control appended and is
// false afterwards; `itemMap` is made anew (0: no control at that position).
void MB_AddPageCtls(const MB_PageRequest& page, const core::StrArray& items, MB_CtlEntry& ctl,
                    bool& reset, core::LngArray& itemMap);

#pragma once
// A long list shown as a column (or rows) of controls of one kind, a page at a time,
// with "< &Prev", "&Next >" and "Las&t >>" added to the caller's buttons. Every page's
// edits are taken back into the caller's items and states before the next page is
// built, so paging never loses an edit.
#include <string>

#include "core/typed_array.h"
#include "dialogs/extra_controls.h"
#include "dialogs/ready_dialogs.h"

struct MB_PagedListArgs {
    std::string message{};
    std::string caption{};
    std::string options{};  // the caller's options, after the Esc item
    // What the page builder makes of each item (see MB_AddPageCtls).
    std::string typeWords = "CheckBox";
    std::string baseSpec{};
    long columns = 1;
    long firstItem = 1;
    long pageSize = 2147483647;
    bool focusOnFirst = false;
    bool focusOnEmpty = false;
    // Handed to the first control of every page: true discards the caller's controls.
    bool resetControls = true;
    // Buttons: the first; the second (also the Esc button, else the first is); a
    // last-page button (an extra row for new items on the last page); a "|" list after.
    std::string firstCaption = "&OK";
    std::string secondCaption{};
    std::string lastPageCaption{};
    std::string furtherCaptions{};
    // Extra controls defined and remembered in an INI file, below the list ("" none).
    MB_RememberedCtls remembered{};
    bool showCount = false;    // "n checked. " before the message of a check-box column
    bool endOnSecond = false;  // the second button ends at once, dropping the page's edits
    bool keepEmpty = false;    // an emptied text box keeps its item
};

// Shows the list until a button other than a paging one is pressed. `result` is that
// button's number with the paging buttons left out of the numbering. Returns false when
// the dialog ended on the second button under `endOnSecond` (nothing taken back), true
// otherwise. `controls` are the caller's extra controls; their values come back.
bool MB_CheckListPaged(const MB_PagedListArgs& args, core::StrArray& items, std::string& states,
                       MB_CtlEntry& controls, long& result);

// The first item of the last page; `extra` leaves room for one new item on it.
long MB_LastPageStart(long count, long pageSize, bool extra);

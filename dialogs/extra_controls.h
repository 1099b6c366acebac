#pragma once
// The extra controls of one dialog, as the caller describes them before the box is
// shown and reads them back afterwards: three parallel arrays numbered from 1, element
// 0 never a control. The add routines hand out entry numbers, and the captions of
// command buttons get the running button numbers that the box will return.
#include <array>
#include <string>
#include <string_view>

#include "core/table2d.h"
#include "core/typed_array.h"

struct MB_CtlEntry {
    // Type word, "|~~|", then its spec in Tag form.
    core::StrArray entries;
    // Text of a text box, "True"/"False" of an option button, 0/1 of a check box, the
    // caption of a label, the "|" captions of a button entry; empty for lists.
    core::StrArray values;
    // List kinds only: column 0 the chosen position (a Long) or marked positions (a "|"
    // text), columns 1.. the items. Positions count from 0, from 1 under field 15.
    core::Table2D rows;
};

// Captions handed out since the last reset; the number of the next button is one more.
inline int gMBListCount = 0;

// Appends one control and returns its entry number; reset empties the arrays first.
// Errors 9710 (entry), 9711 (value) and 9712 (list entry) when storing runs out of
// memory.
long MB_AddControl(std::string_view type, std::string_view spec, std::string_view value,
                   MB_CtlEntry& ctl, bool reset);

// Appends a list, combo box or grid with items first..last (-1: the array's bounds).
// Items equal to one of the marked ones (a "|" list) are chosen; without marks, the
// chosen index is, when it lies in the items.
long MB_AddListCtl(const core::StrArray& items, std::string_view marked, long chosen,
                   std::string_view type, std::string spec, MB_CtlEntry& ctl, bool reset,
                   long first = -1, long last = -1);
long MB_AddListCtlStr(std::string_view items, std::string_view marked, long chosen,
                      std::string_view type, std::string_view spec, MB_CtlEntry& ctl, bool reset);

// Appends one entry of several buttons (one per caption, an empty list being one) and
// returns their numbers joined by "|"; the first six also land in `numbers`.
std::string MB_AddButtonCtl(bool resetNumber, std::string_view spec, std::string_view captions,
                            MB_CtlEntry& ctl, bool resetArrays, bool sameRow,
                            std::array<long, 6>& numbers);

// Appends a caption to the list and returns its button number; `reset` (cleared here)
// starts a new list at 1.
int MB_AddToList(std::string_view caption, std::string& list, bool& reset);

// Buttons of the command-button entries, an empty caption list counting as one.
long MB_CountButtons(const core::StrArray& entries, const core::StrArray& values);
long MB_ExtraButtonCount(const MB_CtlEntry& ctl);

// The chosen item's text of a single-choice list row, else the default.
std::string MB_ResultText(long row, const core::Table2D& rows, const std::string& dflt);
// Stores the value in the last row at the column (-1: a new last column).
void MB_ResultsAddCol(const std::string& value, long column, core::Table2D& table);

// Asks for the focus on entry n and withdraws every other entry's request.
void MB_MarkEntry(long n, core::StrArray& entries);

// The entry split on "|~~|" from 0; returns the type word without its same-row marker.
std::string MB_EntryType(std::string_view entry, core::StrArray& fields);
// The caption a control shows: an option or check box its field 1, a label its value
// with "&" shown as such and "#H160#" as the access key; other kinds none.
std::string MB_EntryCaption(const core::StrArray& fields, std::string_view value);

// The text last looked for in the box's grid: the item after "FndLastVal" in the
// form's options.
std::string MB_FindLastValue(std::string_view formOptions, bool& found, long& position);

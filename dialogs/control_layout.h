#pragma once
// Creates the extra controls of a box from its entries and stacks them below the
// message, row by row; command-button entries become rows of centred buttons. What
// belongs to which entry is left in the entry map for the copy-back.
#include <array>
#include <functional>

#include "core/table2d.h"
#include "core/typed_array.h"
#include "dialogs/dialog_fonts.h"
#include "dialogs/layout_records.h"

class Msgbxform;

// What a row of extra buttons asks of the builder.
struct MB_WidthRequest {
    bool tooWide = false;     // the row does not fit even the width limit
    double wantedWidth = 0;
    bool resized = false;
};

// Errors 71717 (a list leaving out blank items without counting from 1) and 52532 (an
// image button as the Esc or default button) end the layout. `placeMainButtons` places
// the box's own buttons where an "AddButtons before RestCtls" entry stands.
MB_WidthRequest MB_LayoutControls(Msgbxform* form, const MB_FontRec& base, MBLayoutRec& layout,
                                  MBButtspec& buttons, double widthLimit, std::array<int, 15>& owners,
                                  core::StrArray& entryMap, const core::StrArray& buttonCaptions,
                                  core::StrArray& entries, core::StrArray& values, core::Table2D& rows,
                                  long firstEntry, long firstButton,
                                  const std::function<void()>& placeMainButtons);

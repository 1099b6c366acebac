#pragma once
// A list of items with a large text box under it: clicking an item shows its full text
// in the box. One such dialog at a time.
#include <cstddef>
#include <string>

#include "core/typed_array.h"

class Msgbxform;
class QWidget;

// `texts` holds each item's full text at the item's index; `selected` -1 means the
// first index. An empty message comes back filled with the default two lines.
// `chosen` receives the chosen item's index. Returns the pressed button less one:
// 0 "&OK" (also Esc), 1 the first of `extraButtons`. A call while one is shown raises
// error 1424.
long MBX_ShowListItem(const std::string& kindWord, std::string& message, const core::StrArray& items,
                      const core::StrArray& texts, long first, const std::string& extraButtons, long& chosen,
                      long selected, const std::string& extraOptions);

// The single click on a list of a box: the list's marker (Tag item 9) -4 shows the
// clicked item's text in this dialog's text box, -1 or none does nothing, any other
// number presses that button.
void MBX_ShowItemClick(Msgbxform* form, QWidget* list);

// The text as the text box can take it: past `capacity` characters only the first
// 30,000 followed by a notice, `truncated` set.
std::string MBX_ShownItemText(const std::string& text, std::size_t capacity, bool& truncated);

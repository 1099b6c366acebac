#pragma once
// Stand-ins for the few delimited-list readers and the Boolean reading of setting
// texts that the dialog data model needs, following the core rules, until the core
// routines (CHUNKS_*, SYS32_StrIsTrue) land; then the callers switch and this file goes.
#include <string>
#include <string_view>
#include <vector>

namespace dlg::stand_in {

// Plain split on the delimiter, honouring the "{{||{{" escape trailer; "" gives one
// empty item.
std::vector<std::string> splitPlain(std::string_view text, std::string_view delimiter);
// Split on "|" with "{}" protected regions (and their trailer).
std::vector<std::string> splitProtected(std::string_view text);
// 0 for "", else the number of "|" + 1, counted on the raw text.
long countItems(std::string_view list);
// Item n (from 1) of the plain list replaced, empty items added when it is shorter.
void setItem(long n, std::string& list, std::string_view delimiter, std::string_view value);
// False only for "False", "0" or an empty text, blanks around ignored.
bool strIsTrue(std::string_view text);

}  // namespace dlg::stand_in

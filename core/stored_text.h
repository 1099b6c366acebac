#pragma once
// The Boolean reading of stored text, and a separator that list text cannot clash with.
#include <string>
#include <string_view>

// The system's Boolean reading of text: False only when the trimmed text is exactly
// "False", "0" or empty.
bool SYS32_StrIsTrue(std::string_view text);
// A separator that cannot clash with list text: no-break space, "||", no-break space.
void SYS32_NbspBarSep(std::string& text);

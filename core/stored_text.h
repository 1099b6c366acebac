#pragma once
// Readings of stored text shared by the lists and the INI store (kept apart from the
// system services, which hold the rest of that family).
#include <string>
#include <string_view>

// The system's Boolean reading of text: False only when the trimmed text is exactly
// "False", "0" or empty.
bool SYS32_StrIsTrue(std::string_view text);
// A separator that cannot clash with list text: no-break space, "||", no-break space.
void SYS32_NbspBarSep(std::string& text);

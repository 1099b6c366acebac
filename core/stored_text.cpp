#include "core/stored_text.h"

bool SYS32_StrIsTrue(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return !(text.empty() || text == "False" || text == "0");
}

void SYS32_NbspBarSep(std::string& text) {
    const std::string nbsp(1, static_cast<char>(160));
    text = nbsp + "||" + nbsp;
}

#include "dialogs/message_text.h"

#include "core/text.h"
#include "platform/sys/ascii.h"

std::string MB_MsgTextBreak(std::string_view message) {
    std::string text(message);
    text += ' ';
    // 1-based positions, as the breaking rule counts them.
    auto nextBreak = [&text](std::size_t p) -> std::size_t {
        const std::size_t at = text.find_first_of(" \r\n", p);
        return at == std::string::npos ? 0 : at + 1;
    };
    std::size_t p = 0;
    do {
        const std::size_t q = nextBreak(p);
        // q stays where it was found, so the inserted blanks shift the later pieces.
        while (q >= p + 90) {
            p += 90;
            text.insert(p, 1, ' ');
        }
        p = q;
    } while (p != 0);
    return text;
}

namespace dlg {

std::string messageCaption(std::string_view message) {
    return TXT_Replace(TXT_Replace(message, "&", "&&", true), "#H160#", "&", true);
}

std::string displayCaption(std::string_view caption) {
    std::string out;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] != '&') {
            out += caption[i];
        } else if (i + 1 < caption.size() && caption[i + 1] == '&') {
            out += '&';
            ++i;
        }
    }
    return out;
}

char accessKey(std::string_view caption) {
    for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != '&') continue;
        if (caption[i + 1] == '&') {
            ++i;
            continue;
        }
        const char c = caption[i + 1];
        return sys::asciiLower(c);
    }
    return 0;
}

}  // namespace dlg

#include "core/ini_encoding.h"

#include "core/text.h"

namespace {

const std::string kEscapePrefix = "!~!@#!";

bool isControl(char c) { return static_cast<unsigned char>(c) <= 13; }

std::string escapeWith(const std::string& value, const std::string& marker) {
    std::string out = kEscapePrefix + marker;
    for (char c : value) {
        if (!isControl(c)) {
            out += c;
            continue;
        }
        int code = static_cast<unsigned char>(c);
        out += marker;
        out += static_cast<char>('0' + code / 100);
        out += static_cast<char>('0' + code / 10 % 10);
        out += static_cast<char>('0' + code % 10);
    }
    return out;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

void replaceAll(std::string& text, const std::string& find, const std::string& replacement) {
    text = TXT_Replace(text, find, replacement, true);
}

}  // namespace

const IniCodes& INI_CodeStrings() {
    static const IniCodes codes = [] {
        const std::string m(2, static_cast<char>(160));
        return IniCodes{m,          m + "CHR160x2.", m + "eq.",          m + "(SQ.",       m + "SQ).",
                        m + "CRLF.", m + "quote.",   m + "<< less two.", m + "lead blank."};
    }();
    return codes;
}

std::string INI_EncodeText(const std::string& text, bool brackets, bool equals, bool lineBreaks,
                           bool quotes, bool blanks) {
    // Most names and values need no code at all; they are read thousands of times.
    if (text.find_first_of("\xA0=[]\r\"") == std::string::npos &&
        (text.empty() || (text.front() != ' ' && text.back() != ' ')))
        return text;
    const IniCodes& c = INI_CodeStrings();
    std::string s = text;
    replaceAll(s, c.marker, c.chr160x2);
    if (equals) replaceAll(s, "=", c.eq);
    if (brackets) {
        replaceAll(s, "]", c.sqClose);
        replaceAll(s, "[", c.sqOpen);
    }
    if (lineBreaks) replaceAll(s, "\r\n", c.crlf);
    if (quotes) {
        if (!s.empty() && s.front() == '"') s = c.quote + s.substr(1);
        if (!s.empty() && s.back() == '"') s = s.substr(0, s.size() - 1) + c.quote;
    }
    if (blanks) {
        if (!s.empty() && s.back() == ' ') s += c.lessTwo;
        // The reader trims leading blanks too; one code in front protects them all.
        if (!s.empty() && s.front() == ' ') s = c.leadBlank + s.substr(1);
    }
    return s;
}

void INI_DecodeCodes(std::string& value) {
    const IniCodes& c = INI_CodeStrings();
    if (value.find(c.marker) == std::string::npos) return;
    replaceAll(value, c.crlf, "\r\n");
    replaceAll(value, c.sqOpen, "[");
    replaceAll(value, c.sqClose, "]");
    replaceAll(value, c.eq, "=");
    if (TXT_StartsWith(value, c.leadBlank, true)) value = " " + value.substr(c.leadBlank.size());
    if (TXT_StartsWith(value, c.quote, true)) value = "\"" + value.substr(c.quote.size());
    if (TXT_EndsWith(value, c.quote, true))
        value = value.substr(0, value.size() - c.quote.size()) + "\"";
    if (TXT_EndsWith(value, c.lessTwo, true)) value.resize(value.size() - c.lessTwo.size());
    replaceAll(value, c.chr160x2, c.marker);
}

void INI_EscapeCtlChars(std::string& value) {
    bool hasControl = false;
    for (char ch : value) hasControl = hasControl || isControl(ch);
    if (!hasControl && !TXT_StartsWith(value, kEscapePrefix, true)) return;
    const std::string original = value;
    // A marker can fuse with the text around it ("x!!" then "!!!000"), so a candidate
    // counts only when unescaping gives the value back.
    std::string marker = TXT_UnusedCharFind(original + kEscapePrefix, 3, 0, 0, 33,
                                            [&](const std::string& candidate) {
                                                std::string trial = escapeWith(original, candidate);
                                                INI_UnescapeCtlChars(trial);
                                                return trial == original;
                                            });
    value = escapeWith(original, marker);
}

void INI_UnescapeCtlChars(std::string& value) {
    if (!TXT_StartsWith(value, kEscapePrefix, true)) return;
    if (value.size() < kEscapePrefix.size() + 3) {
        value.erase(0, kEscapePrefix.size());
        return;
    }
    const std::string marker = value.substr(kEscapePrefix.size(), 3);
    const std::string text = value.substr(kEscapePrefix.size() + 3);
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        int code = -1;
        if (text.compare(i, 3, marker) == 0 && i + 6 <= text.size() && isDigit(text[i + 3]) &&
            isDigit(text[i + 4]) && isDigit(text[i + 5]))
            code = (text[i + 3] - '0') * 100 + (text[i + 4] - '0') * 10 + (text[i + 5] - '0');
        if (code >= 0 && code <= 255) {
            out += static_cast<char>(code);
            i += 6;
        } else {
            out += text[i++];
        }
    }
    value = std::move(out);
}

#include "core/url_routines.h"

#include <algorithm>

#include "core/text.h"
#include "core/user_interface.h"
#include "platform/sys/ascii.h"

namespace {

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}


void appendUtf8(std::string& out, unsigned code) {
    if (code < 0x80) {
        out += char(code);
    } else {
        out += char(0xC0 | (code >> 6));
        out += char(0x80 | (code & 0x3F));
    }
}

// Length of the well-formed UTF-8 sequence of two or more bytes at `pos` (0 when
// there is none), with its code point.
size_t utf8Sequence(const std::string& s, size_t pos, unsigned& code) {
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(s[i]); };
    unsigned lead = byte(pos);
    size_t len = lead >= 0xF0 && lead <= 0xF4 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
    if (len == 0 || lead > 0xF4 || pos + len > s.size()) return 0;
    code = lead & (0xFF >> (len + 1));
    for (size_t k = 1; k < len; ++k) {
        if ((byte(pos + k) & 0xC0) != 0x80) return 0;
        code = (code << 6) | (byte(pos + k) & 0x3F);
    }
    const unsigned minimum = len == 2 ? 0x80 : len == 3 ? 0x800 : 0x10000;
    if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
    return len;
}

struct NamedReference {
    const char* name;
    unsigned code;
};

// Compared with the name in lower case ("&AMP;" is "&amp;").
constexpr NamedReference kFoldedNames[] = {
    {"nbsp", ' '}, {"quot", '"'},  {"amp", '&'},     {"copy", 169},    {"reg", 174},
    {"lt", '<'},   {"gt", '>'},    {"pound", 163},   {"frac14", 188},  {"frac12", 189},
    {"frac34", 190}, {"acute", 180}, {"eth", 208},   {"", '&'},
};

// Compared exactly as written.
constexpr NamedReference kExactNames[] = {
    {"auml", 228},   {"euml", 235},   {"iuml", 239},   {"ouml", 246},   {"uuml", 252},
    {"Auml", 196},   {"Euml", 203},   {"Iuml", 207},   {"Ouml", 214},   {"Uuml", 220},
    {"Agrave", 192}, {"Aacute", 193}, {"Acirc", 194},  {"Atilde", 195}, {"Egrave", 200},
    {"Eacute", 201}, {"Ecirc", 202},  {"Igrave", 204}, {"Iacute", 205}, {"Icirc", 206},
    {"Ograve", 210}, {"Oacute", 211}, {"Ocirc", 212},  {"Otilde", 213}, {"Ugrave", 217},
    {"Uacute", 218}, {"Ucirc", 219},  {"agrave", 224}, {"aacute", 225}, {"acirc", 226},
    {"atilde", 227}, {"egrave", 232}, {"eacute", 233}, {"ecirc", 234},  {"igrave", 236},
    {"iacute", 237}, {"icirc", 238},  {"ograve", 242}, {"oacute", 243}, {"ocirc", 244},
    {"otilde", 245}, {"ugrave", 249}, {"uacute", 250}, {"ucirc", 251},  {"ntilde", 241},
    {"Ntilde", 209},
};

std::string namedReference(const std::string& name) {
    const std::string folded = core::lowerAscii(name);
    std::string out;
    for (const auto& ref : kFoldedNames) {
        if (folded == ref.name) {
            appendUtf8(out, ref.code);
            return out;
        }
    }
    for (const auto& ref : kExactNames) {
        if (name == ref.name) {
            appendUtf8(out, ref.code);
            return out;
        }
    }
    return "???" + name + "???";
}

// Reads a numeric reference starting at `pos` (just after "&#"). Returns the number
// of characters it covers (digits, an "x" and a closing ";"), 0 when no digit
// follows; `value` saturates above 255.
size_t numericReference(const std::string& s, size_t pos, unsigned& value) {
    size_t i = pos;
    const bool hex = i < s.size() && (s[i] == 'x' || s[i] == 'X');
    if (hex) ++i;
    const unsigned base = hex ? 16 : 10;
    const size_t firstDigit = i;
    value = 0;
    for (; i < s.size(); ++i) {
        int d = hex ? hexValue(s[i]) : (s[i] >= '0' && s[i] <= '9' ? s[i] - '0' : -1);
        if (d < 0) break;
        value = value > 255 ? value : value * base + unsigned(d);
    }
    if (i == firstDigit) return 0;
    if (i < s.size() && s[i] == ';') ++i;
    return i - pos;
}

}  // namespace

std::string& HHTML_URLDecode(std::string& text, const std::string& skip) {
    if (text.find('%') == std::string::npos) return text;
    const std::string skipLower = core::lowerAscii(skip);
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c != '%' || i + 2 >= text.size() || hexValue(text[i + 1]) < 0 ||
            hexValue(text[i + 2]) < 0) {
            out += c;
            continue;
        }
        const char code[] = {sys::asciiLower(text[i + 1]), sys::asciiLower(text[i + 2]), '\0'};
        if (!skipLower.empty() && skipLower.find(code) != std::string::npos) {
            out.append(text, i, 3);
        } else {
            out += char(hexValue(text[i + 1]) * 16 + hexValue(text[i + 2]));
        }
        i += 2;
    }
    text.swap(out);
    return text;
}

std::string HHTML_CutFragment(const std::string& url, std::string& fragment) {
    const size_t hash = url.find('#');
    if (hash == std::string::npos) {
        fragment.clear();
        return url;
    }
    fragment = url.substr(hash + 1);
    return url.substr(0, hash);
}

void HHTML_SplitURL(const std::string& url, std::string& scheme, std::string& host,
                    std::string& path, std::string& params, std::string& query,
                    std::string& fragment) {
    scheme.clear();
    host.clear();
    params.clear();
    query.clear();
    std::string rest = HHTML_CutFragment(url, fragment);

    const size_t colon = rest.find(':');
    if (colon != std::string::npos) {
        bool valid = true;
        for (size_t i = 0; i < colon && valid; ++i) {
            const char c = rest[i];
            valid = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                    c == '+' || c == '-' || c == '.';
        }
        if (valid) {
            scheme = rest.substr(0, colon);
            rest.erase(0, colon + 1);
        }
    }

    if (rest.starts_with("//")) {
        // The host ends at the first "/", ";" or "?"; only a "/" is dropped, so that
        // parameters and query right after the host are still found below.
        const size_t end = rest.find_first_of("/;?", 2);
        if (end == std::string::npos) {
            host = rest.substr(2);
            rest.clear();
        } else {
            host = rest.substr(2, end - 2);
            rest.erase(0, rest[end] == '/' ? end + 1 : end);
        }
    }

    const size_t question = rest.find('?');
    if (question != std::string::npos) {
        query = rest.substr(question + 1);
        rest.erase(question);
    }
    const size_t semicolon = rest.find(';');
    if (semicolon != std::string::npos) {
        params = rest.substr(semicolon + 1);
        rest.erase(semicolon);
    }
    path = std::move(rest);
}

std::string HHTML_JoinURL(const std::string& scheme, const std::string& host,
                          const std::string& path, const std::string& params,
                          const std::string& query, const std::string& fragment) {
    std::string url = scheme + "://" + host + "/" + path;
    if (!params.empty()) url += ";" + params;
    if (!query.empty()) url += "?" + query;
    if (!fragment.empty()) url += "#" + fragment;
    return url;
}

std::string HHTML_PathToFileURL(const std::string& path) {
    if (!path.starts_with('/')) return path;
    static const char kHex[] = "0123456789ABCDEF";
    std::string url = "file://";
    for (char ch : path) {
        const auto c = static_cast<unsigned char>(ch);
        const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                           (c >= '0' && c <= '9') || c == '-' || c == '.' || c == '_' ||
                           c == '~' || c == '/';
        if (plain) {
            url += ch;
        } else {
            url += '%';
            url += kHex[c >> 4];
            url += kHex[c & 15];
        }
    }
    return url;
}

std::string HTML_TextBefore(const std::string& text, const std::string& delimiter) {
    const size_t at = text.find(delimiter);
    return at == std::string::npos ? text : text.substr(0, at);
}

std::string HTML_EscapeNonPrint(const std::string& text, bool keepBreaks) {
    std::string out;
    out.reserve(text.size());
    const auto escape = [&](unsigned code) { out += "&#" + std::to_string(code); };
    for (size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            if ((c >= 32 && c <= 126) || (keepBreaks && (c == 10 || c == 13))) {
                out += char(c);
            } else {
                escape(c);
            }
            continue;
        }
        unsigned code = 0;
        if (size_t len = utf8Sequence(text, i, code)) {
            if (code >= 160) {
                out.append(text, i, len);
            } else {
                escape(code);
            }
            i += len - 1;
        } else if (c >= 160) {
            out += char(c);
        } else {
            escape(c);
        }
    }
    return out;
}

std::string HTML_DecodeEntities(const std::string& text, bool showMessages) {
    std::string out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        const size_t amp = text.find('&', i);
        if (amp == std::string::npos) break;
        out.append(text, i, amp - i);
        i = amp + 1;  // unless a reference is taken below, the "&" stays as text

        if (amp + 1 < text.size() && text[amp + 1] == '#') {
            unsigned value = 0;
            const size_t len = numericReference(text, amp + 2, value);
            if (len > 0 && value <= 255) {
                appendUtf8(out, value);
                i = amp + 2 + len;
                continue;
            }
            if (len > 0 && showMessages) {
                core::ui().info("&# followed by >>" + text.substr(amp + 2, 3) +
                                    "<< found. This is invalid. Should be follwed by numeric "
                                    "value 0-255",
                                "");
            }
            out += '&';
            continue;
        }

        const size_t semicolon = text.find(';', amp + 1);
        if (semicolon == std::string::npos) {  // no later "&" can be closed either
            i = amp;
            break;
        }
        const std::string name = text.substr(amp + 1, semicolon - amp - 1);
        if (name.size() > 9 || name.find('&') != std::string::npos) {
            out += '&';
            continue;
        }
        out += namedReference(name);
        i = semicolon + 1;
    }
    out.append(text, std::min(i, text.size()));
    return out;
}

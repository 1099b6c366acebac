#pragma once
// ASCII letter case and name characters. Stored names, keys and texts compare without
// letter case only for A-Z; other bytes (UTF-8 included) are left as they are.
#include <string>
#include <string_view>

namespace sys {

constexpr bool isAsciiUpper(char c) { return c >= 'A' && c <= 'Z'; }
constexpr bool isAsciiLower(char c) { return c >= 'a' && c <= 'z'; }
constexpr bool isAsciiLetter(char c) { return isAsciiUpper(c) || isAsciiLower(c); }
constexpr char asciiLower(char c) { return isAsciiUpper(c) ? static_cast<char>(c - 'A' + 'a') : c; }
constexpr char asciiUpper(char c) { return isAsciiLower(c) ? static_cast<char>(c - 'a' + 'A') : c; }
// A character of a plain name: [A-Za-z0-9_].
constexpr bool isNameChar(char c) { return isAsciiLetter(c) || (c >= '0' && c <= '9') || c == '_'; }

inline std::string asciiLowerCopy(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = asciiLower(c);
    return out;
}
inline std::string asciiUpperCopy(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = asciiUpper(c);
    return out;
}

}  // namespace sys

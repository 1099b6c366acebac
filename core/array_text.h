#pragma once
// The few text and list readings the array and table routines need, kept private to
// them until the shared text and delimited-list routines are in the tree; then these
// give way to those.
#include <string>
#include <string_view>

namespace core::detail {

char asciiLower(char c);
std::string asciiLower(std::string_view s);
bool equalIgnoringCase(std::string_view a, std::string_view b);
// Without leading and trailing blanks (spaces only).
std::string_view trimBlanks(std::string_view s);
// The text after the last occurrence of sep, "" when it does not occur.
std::string textAfterLast(std::string_view s, std::string_view sep, bool caseSensitive);
// Every occurrence of find replaced; the text unchanged when find is empty or equals
// the replacement under the case rule.
std::string replaceAll(std::string_view s, std::string_view find, std::string_view replacement,
                       bool caseSensitive);
// Item n (from 1) of a delimited list: plain mode for "Do not exclude any part", else
// protected regions; escape trailers decoded. dflt when the list has no item n.
std::string listItem(long n, const std::string& delimiter, const std::string& exclusionSpec,
                     const std::string& list, const std::string& dflt);

}  // namespace core::detail

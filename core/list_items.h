#pragma once
// Reading and formatting items of delimited lists, for the array and table routines
// that compare or reformat list items. Private to them until the delimited-list
// routines are in the tree; then these give way to those.
#include <string>

namespace core::detail {

// Item n (from 1) of the list: plain mode for "Do not exclude any part", else protected
// regions; escape trailers are decoded. dflt when the list has no item n.
std::string listItem(long n, const std::string& delimiter, const std::string& exclusionSpec,
                     const std::string& list, const std::string& dflt);

// For each number k of the "|" index list, item k of the source list (delimiter and
// mode as given) formatted with item k of the "|" format list (as a number when that
// format holds "#" or "0", else as text), joined with the separator.
std::string listFormatNums(const std::string& indexList, const std::string& sourceList,
                           const std::string& delimiter, const std::string& exclusionSpec,
                           const std::string& formatList, const std::string& separator);

}  // namespace core::detail

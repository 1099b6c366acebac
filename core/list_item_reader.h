#pragma once
// Reading one item of a delimited list, for the array and table look-ups that compare
// list items. Private to them until the delimited-list routines are in the tree; then
// it gives way to those.
#include <string>

namespace core::detail {

// Item n (from 1) of the list: plain mode for "Do not exclude any part", else protected
// regions; escape trailers are decoded. dflt when the list has no item n.
std::string listItem(long n, const std::string& delimiter, const std::string& exclusionSpec,
                     const std::string& list, const std::string& dflt);

}  // namespace core::detail

#pragma once
// The items of a plain "|" list (no protected regions, no escapes), for the file
// services' option and pattern lists. Gives way to the delimited-list routines once
// they are in the tree.
#include <string>
#include <vector>

namespace core::detail {

// "" gives one empty item, as a one-item list would.
inline std::vector<std::string> plainBarItems(const std::string& list) {
    std::vector<std::string> out;
    size_t start = 0;
    for (size_t bar; (bar = list.find('|', start)) != std::string::npos; start = bar + 1)
        out.push_back(list.substr(start, bar - start));
    out.push_back(list.substr(start));
    return out;
}

}  // namespace core::detail

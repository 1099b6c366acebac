#pragma once
// Filter file sections the filter tests share: two multiple filters, "shop pages"
// (any rule) and "both" (all rules), over the same two single-condition rules.
#include <string>

inline const std::string kShopCartFilters =
    "[shop pages]\n"
    "CDSCndns=shop|cart\n"
    "Any=True\n"
    "[both]\n"
    "CDSCndns=cart|shop\n"
    "Any=False\n"
    "[shop]\n"
    "Typ=2\n"
    "Val=/shop/\n"
    "MC=False\n"
    "ColType=1\n"
    "[cart]\n"
    "Typ=1\n"
    "Val=Mozilla\n"
    "MC=True\n"
    "ColType=2\n";

#pragma once
// Filter file sections the filter tests share: two single-condition rules, "shop" (file
// name) and "cart" (user agent, match case), and two multiple filters over them,
// "shop pages" (any rule) and "both" (all rules).
#include <string>

inline const std::string kShopCartRules =
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

inline const std::string kShopCartFilters =
    "[shop pages]\n"
    "CDSCndns=shop|cart\n"
    "Any=True\n"
    "[both]\n"
    "CDSCndns=cart|shop\n"
    "Any=False\n" +
    kShopCartRules;

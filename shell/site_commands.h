#pragma once
// The File menu's site list (select, remove, show options), without the window.
#include <string>

namespace shell {

// Result numbers of the site list's buttons, in the order they are offered.
inline const std::string kSiteListButtons = "&OK|R&emove |Show Op&tions for Site DB|&Cancel";

void siteListCommand();

// Adds the name to the site list, or the name followed by " 2", " 3", ... when it is
// taken; the name as listed.
std::string addUniqueSiteName(const std::string& name);

}  // namespace shell

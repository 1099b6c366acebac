#pragma once
// The current site's name, read each time from its dbdef.ini so it is never stale.
#include <string>

// "Parm" of [Main] in the current site's dbdef.ini.
std::string STTA_SiteParmGet();

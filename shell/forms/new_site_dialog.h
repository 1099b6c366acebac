#pragma once
// File > "Add new site &database": the new-site dialog, its options defined in section
// "NewDB" of screens.ini, then the new site.
namespace shell {

void newSiteCommand();

}  // namespace shell

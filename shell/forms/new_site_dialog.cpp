#include "shell/forms/new_site_dialog.h"

#include "core/ini_store.h"
#include "core/program_paths.h"
#include "core/text.h"
#include "dialogs/msgbox.h"
#include "dialogs/option_strings.h"
#include "dialogs/ready_dialogs.h"
#include "shell/sites.h"

namespace shell {

void newSiteCommand() {
    gCurrMnu = "FD";
    const MB_ShowExArgs args{.controls = {.section = "NewDB", .entry = "NewDBDef", .iniFile = gIniScreens}};
    std::string problem;
    for (;;) {
        INI_Put("NewDB", "CurrDB", STTA_SiteParmGet(), gIniScreens);
        const std::string message = "Enter a name for the new site database.";
        if (MB_ShowEx(problem.empty() ? message : problem + gCRCR + message, "&OK|&Cancel",
                      MB_OptMinWidth(9000) + MB_OptEsc(2), "- Enter Database Name.", args) != 1)
            return;
        std::string name(core::trimBlanks(INI_Get("NewDB", "LastName", gIniScreens, kIniMissingEmpty)));
        if (name.empty()) {
            problem = "Name is required.";
            continue;
        }
        problem = siteNameProblem(name);
        if (!problem.empty()) continue;
        if (!INI_CheckUniqueName("Main", "DBNameLst", gIniSiteDbs, name, false, problem, false)) continue;
        auto flag = [](const char* key) { return INI_GetFlag("NewDB", key, gIniScreens, kIniMissingEmpty); };
        STTA_SiteCreate(name, flag("LastKeepVal"), flag("Last404"), flag("Lastquery"), flag("LastFrag"),
                        flag("EraseNonSE"), false);
        return;
    }
}

}  // namespace shell

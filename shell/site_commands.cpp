#include "shell/site_commands.h"

#include "core/delimited_lists.h"
#include "core/ini_store.h"
#include "core/program_paths.h"
#include "core/text.h"
#include "core/user_interface.h"
#include "shell/hooks.h"
#include "shell/log_import_hooks.h"
#include "shell/sites.h"

namespace {

std::vector<std::string> siteNames() {
    core::StrArray names;
    std::string list = INI_Get("Main", "DBNameLst", gIniSiteDbs, kIniMissingEmpty);
    std::vector<std::string> out;
    if (list.empty()) return out;
    CHUNKS_Split(list, names, 1);
    for (long i = 1; i <= names.ubound(); ++i) out.push_back(names[i]);
    return out;
}

void takeOffList(const std::string& name) {
    bool found = false;
    std::string positions;
    std::string list = CHUNKS_RemoveItem(INI_Get("Main", "DBNameLst", gIniSiteDbs, kIniMissingEmpty), name, "|",
                                         kChunksNoExclusion, true, found, positions);
    if (found) INI_Put("Main", "DBNameLst", list, gIniSiteDbs);
}

}  // namespace

namespace shell {

void siteListCommand() {
    enum { kOk = 1, kRemove = 2, kShowOptions = 3 };
    std::string current = STTA_SiteParmGet();
    for (;;) {
        std::string chosen = current;
        int pressed = core::ui().listPick(
            siteNames(), "Site DB", "|||||||||1||{7800}|{1}", kSiteListButtons,
            "Current Site DB is: " + current + gCRCR + "Select a new one and press OK to confirm change.",
            "Select site database", chosen);
        if (pressed == kOk) {
            if (STTA_SiteSelect(chosen, true)) {
                shell::incompleteAddFinish();
                break;
            }
        } else if (pressed == kRemove) {
            if (chosen.empty() || TXT_IsEqual(chosen, current, true)) continue;
            takeOffList(chosen);
            STTA_SiteRemove(chosen);
            current = STTA_SiteParmGet();
        } else if (pressed == kShowOptions) {
            if (!chosen.empty()) STTA_SiteDBOptionsShow(chosen);
        } else {
            break;
        }
    }
    core::ui().unloadStrayBoxes();
}

std::string addUniqueSiteName(const std::string& name) {
    std::string message;
    std::string candidate = name;
    for (int n = 2; !INI_CheckUniqueName("Main", "DBNameLst", gIniSiteDbs, candidate, false, message, false); ++n)
        candidate = name + " " + std::to_string(n);
    return candidate;
}

}  // namespace shell

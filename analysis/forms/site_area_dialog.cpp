#include "analysis/forms/site_area_dialog.h"

#include "core/ini_store.h"
#include "core/text.h"
#include "dialogs/edit_list_dialog.h"
#include "dialogs/item_groups.h"
#include "dialogs/msgbox.h"
#include "logimport/page_table.h"

namespace {

const std::string kRouted = "::*";
const std::string kKindWord = "Area of Site";

// The site's page names, to be chosen from.
core::StrArray pageNames(dao::Database& db) {
    if (!PageTable.loaded() || PageTable.source() != db.path()) STTA_PageListLoad(db);
    core::StrArray names;
    for (long id = 1; id <= PageTable.ubound(); ++id)
        if (!PageTable.at(id).empty()) names.append(PageTable.at(id));
    return names;
}

bool analysisLimited() { return INI_GetFlag("Main", "ShowOnlySelSiteArea", kRouted, kIniMissingEmpty); }

}  // namespace

long STTA_SiteAreaSelect(dao::Database& db) {
    const core::StrArray all = pageNames(db);
    std::string area = INI_Get("Main", "ShowOnlySelSiteAreaParm", kRouted, kIniMissingEmpty);
    for (;;) {
        MBX_SelectParams params;
        params.itemWord = "Page name";
        params.message = "to be analysed separately:";
        params.hideNumbers = true;
        params.sortByText = true;
        MB_ListDlgArgs list{.itemWord = kKindWord, .ok = true, .further = true, .furtherCaption = "&Cancel"};
        dlg::useStandardListButtons(list);
        const int r = MBX_SelectGroup("SiteAreas", "Siteareas", all, {}, params, kKindWord, list, area);
        if (r == dlg::kListOK && !core::trimBlanks(area).empty()) {
            INI_Put("Main", "ShowOnlySelSiteAreaParm", area, kRouted);
            // Choosing an area is what limits the analysis to it.
            INI_Put("Main", "ShowOnlySelSiteArea", true, kRouted);
            return dlg::kListOK;
        }
        if (!analysisLimited()) return r;
        const std::string question = "You must select a site area to analyse only visitors to that site area." +
                                     gCRCR + "Do you want to select a site area to analyse?" + gCRCR +
                                     "Press No to analyse all site areas.";
        if (MB_MsgBox(question, "4", "", "") == 2) {
            INI_Put("Main", "ShowOnlySelSiteArea", false, kRouted);
            return r;
        }
    }
}

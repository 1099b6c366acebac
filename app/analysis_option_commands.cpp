#include "app/analysis_option_commands.h"

#include "analysis/forms/analysis_options.h"
#include "analysis/forms/search_term_groups.h"
#include "analysis/forms/site_area_dialog.h"
#include "analysis/report_dispatch.h"
#include "core/ini_store.h"
#include "shell/forms/main_window.h"
#include "shell/sites.h"

void wireAnalysisOptionCommands(Mainfrm& main, ReportDispatch& dispatch) {
    dispatch.dateRangeEnter = [](const std::string& okCaption, const std::string& text) {
        return STTA_ReportDatesEnter(gDB, okCaption, text);
    };
    main.wire("SD", [&dispatch] {
        if (!STTA_AnalysisOptionsEnter(gDB)) return;
        // An analysis limited to a site area confirms the area with the dates.
        if (INI_GetFlag("Main", "ShowOnlySelSiteArea", "::*", kIniMissingEmpty)) STTA_SiteAreaSelect(gDB);
        dispatch.STTA_ReportNeedsAnalysis("date range and options entered", "", true, 1);
    });
    main.wire("EG", [&dispatch] {
        IfrmPtr form;
        if (!dispatch.STTA_AnalysisConfirmDlg(kRkSearchTerm, true, form) || !form) return;
        form->GetSrchTrmData();
        STTA_STGroupsEdit(gResults, "STgrps", "Groups");
    });
    for (const char* code : {"ER", "EO", "SC"})
        main.wire(code, [code] { STTA_OptionsDialogShow(code); });
}

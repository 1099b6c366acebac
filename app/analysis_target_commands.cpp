#include "app/analysis_target_commands.h"

#include "analysis/forms/site_area_dialog.h"
#include "analysis/forms/target_dialogs.h"
#include "analysis/report_dispatch.h"
#include "shell/forms/main_window.h"
#include "shell/sites.h"

void wireAnalysisTargetCommands(Mainfrm& main, ReportDispatch& dispatch) {
    main.wire("ST", [&dispatch] {
        // OK offers the analysis the changed targets need; Cancel leaves it.
        if (STTA_TargetsEdit() == 2) dispatch.STTA_ReportNeedsAnalysis("changed targets", "", true, 1);
    });
    main.wire("SE", [&dispatch] {
        if (STTA_SiteAreaSelect(gDB) == 2) dispatch.STTA_ReportNeedsAnalysis("site area selected", "", true, 1);
    });
}

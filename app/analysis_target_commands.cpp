#include "app/analysis_target_commands.h"

#include "analysis/forms/target_dialogs.h"
#include "analysis/report_dispatch.h"
#include "shell/main_window.h"

void wireAnalysisTargetCommands(Mainfrm& main, ReportDispatch& dispatch) {
    main.wire("ST", [&dispatch] {
        STTA_TargetsEdit();
        dispatch.STTA_ReportNeedsAnalysis("changed targets", "", true, 1);
    });
}

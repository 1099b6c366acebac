#include "app/analysis_commands.h"

#include <QMdiArea>
#include <QMdiSubWindow>

#include "analysis/forms/results_window.h"
#include "analysis/report_show.h"
#include "core/program_paths.h"
#include "shell/main_window.h"
#include "shell/menu_tree.h"
#include "shell/sites.h"

namespace {

void showReport(Mainfrm& main, long kind, long mode) {
    ReportTable table;
    std::string caption;
    if (!STTA_ReportPrepare(gDB, kind, mode, table, caption)) return;
    auto* window = new SrchTmLstFrm(std::move(table), gResults, caption);
    QMdiSubWindow* sub = main.mdiArea()->addSubWindow(window);
    sub->showMaximized();
}

}  // namespace

void wireAnalysisCommands(Mainfrm& main) {
    for (const shell::MenuSpec& menu : shell::mainMenuTree())
        for (const shell::MenuItemSpec& item : menu.items)
            if (item.reportKind != 0 && item.reportMode != 0)
                main.wire(item.code, [&main, kind = item.reportKind, mode = item.reportMode] {
                    showReport(main, kind, mode);
                });
}

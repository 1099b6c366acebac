#include "app/analysis_commands.h"

#include <QMdiArea>
#include <QMdiSubWindow>

#include "analysis/forms/results_window.h"
#include "platform/ui/qt_text.h"
#include "shell/forms/main_window.h"
#include "shell/menu_tree.h"
#include "shell/sites.h"

AnalysisCommands::AnalysisCommands(Mainfrm& main) : main_(main), dispatch_(forms_, gDB) {
    dispatch_.reportShow = [this](long mode, const IfrmPtr& form, long groupKind) { reportShow(mode, form, groupKind); };
    for (const shell::MenuSpec& menu : shell::mainMenuTree())
        for (const shell::MenuItemSpec& item : menu.items)
            if (item.reportKind != 0 && item.reportMode != 0)
                main.wire(item.code, [this, kind = item.reportKind, mode = item.reportMode, group = item.listKey] {
                    dispatch_.runReport(kind, mode, group);
                });
    shell::setAnalysisOffer([this](const std::string& reason) { dispatch_.STTA_ReportNeedsAnalysis(reason, "", true, 1); });
    main.wire("SW", [this] { dispatch_.STTA_ReportNeedsAnalysis("", "", true, 1); });
    main.wire("SN", [this] { dispatch_.STTA_PrevAnalysisSelect(); });
    main.wire("RM", [this] { dispatch_.STTA_ReportNeedsAnalysis("", "", true, 2); });
    main.wire("RR", [this] {
        if (SrchTmLstFrm* window = activeResults()) STTA_RowDetailShow(*window);
    });
    // The new range is plotted, then its periods are listed with their counts; Cancel
    // plots the columns the user had removed again.
    main.wire("VP", [this] {
        SrchTmLstFrm* window = activeResults();
        if (!window) return;
        if (STTA_PlotRangeEnter(*window)) ShowPlotColLabels();
        else RestorePlotCols(true, true);
    });
    main.wire("VE", [this] {
        if (SrchTmLstFrm* window = activeResults()) STTA_PlotRemoveFirstCol(*window);
    });
    main.wire("VS", [this] { RestorePlotCols(true, true); });
}

AnalysisCommands::~AnalysisCommands() { shell::setAnalysisOffer({}); }

SrchTmLstFrm* AnalysisCommands::activeResults(bool withMessage) {
    bool ok = false;
    return qobject_cast<SrchTmLstFrm*>(main_.GetResultsForm(withMessage, ok));
}

void AnalysisCommands::RestorePlotCols(bool clearRemoved, bool withMessage) {
    if (SrchTmLstFrm* window = activeResults(withMessage)) STTA_PlotColsRestore(*window, clearRemoved);
}

void AnalysisCommands::ShowPlotColLabels() {
    if (SrchTmLstFrm* window = activeResults()) STTA_PlotColLabelsShow(*window);
}

void AnalysisCommands::reportShow(long mode, const IfrmPtr& form, long groupKind) {
    ReportTable table;
    std::string caption;
    if (!STTA_ReportShow(mode, *form, groupKind, table, caption)) return;
    if (raiseOpenTwin(form, caption, table)) return;
    showWindow(new SrchTmLstFrm(std::move(table), form, caption));
}

bool AnalysisCommands::raiseOpenTwin(const IfrmPtr& form, const std::string& caption, const ReportTable& table) {
    for (QMdiSubWindow* sub : main_.mdiArea()->subWindowList()) {
        const auto* open = qobject_cast<SrchTmLstFrm*>(sub->widget());
        if (!open || open->dIfrmData() != form || open->windowTitle() != ui::toQString(caption) ||
            !open->table().sameCells(table))
            continue;
        if (sub->isMinimized()) sub->showNormal();
        main_.mdiArea()->setActiveSubWindow(sub);
        return true;
    }
    return false;
}

void AnalysisCommands::showWindow(SrchTmLstFrm* window) {
    if (raiseOpenTwin(window->dIfrmData(), ui::fromQString(window->windowTitle()), window->table())) {
        window->deleteLater();
        return;
    }
    window->showWindow = [this](SrchTmLstFrm* other) { showWindow(other); };
    QMdiSubWindow* sub = main_.mdiArea()->addSubWindow(window);
    sub->showMaximized();
}

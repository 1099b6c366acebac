#pragma once
// The menu commands whose work lives in the analysis: the reports of the Reports menu,
// new and previous analyses, and the View commands on the active results window.
// The analyses of the run live here, as long as the main window.
#include "analysis/report_dispatch.h"
#include "analysis/results_data_form.h"

class Mainfrm;
class SrchTmLstFrm;

class AnalysisCommands {
public:
    explicit AnalysisCommands(Mainfrm& main);
    ~AnalysisCommands();

    DataForms& dataForms() { return forms_; }
    ReportDispatch& dispatch() { return dispatch_; }

private:
    void reportShow(long mode, const IfrmPtr& form, long groupKind);
    void showWindow(SrchTmLstFrm* window);
    // A report already open with the same cells from the same analysis comes to the
    // front instead of a copy opening exactly over it. False when there is none.
    bool raiseOpenTwin(const IfrmPtr& form, const std::string& caption, const ReportTable& table);
    // The active results window; without one the user is told when asked.
    SrchTmLstFrm* activeResults(bool withMessage = true);
    // The active window plots its last row again, its removed columns back if asked.
    void RestorePlotCols(bool clearRemoved, bool withMessage);
    // The plotted periods of the active window with their counts.
    void ShowPlotColLabels();

    Mainfrm& main_;
    DataForms forms_;
    ReportDispatch dispatch_;
};

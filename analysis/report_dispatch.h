#pragma once
// Which analysis a report command reports from (a previous one still open, or a new
// one), the choice of report where a command leaves it open, and the writing of the
// report's table. Questions go through the user-interface seam; the date-range dialog
// and the results window belong to the forms, which hand them in.
#include <functional>
#include <string>

#include "analysis/report_table.h"
#include "analysis/results_data_form.h"
#include "platform/dao/database.h"

// Report modes.
inline constexpr long kReportTop = 1, kReportAll = 2, kReportGrouped = 3;

// The "Select Report" list of the kinds ("|" list of kind numbers), as one "|" list.
std::string STTA_ReportSelectList(const std::string& kinds);
// The kind and mode of a line of that list; false for a blank line.
bool STTA_ReportLineParse(const std::string& line, long& kind, long& mode);

// Writes the report of the mode from the form's record (made current) into the table,
// the caption ending in the analysis's description; false for an unknown mode, and,
// with a box saying so, when the analysis holds nothing to show.
bool STTA_ReportShow(long mode, const Ifrm& form, long groupKind, ReportTable& table, std::string& caption);
// The All report: every item's row and the total row.
void STTA_ReportAllWrite(ReportTable& table, STTA_Results& results);

class ReportDispatch {
public:
    // Reports from the analyses in `forms`, analysing the site database `db`.
    ReportDispatch(DataForms& forms, dao::Database& db) : forms_(forms), db_(db) {}

    // The date-range dialog: asks for the range to analyse (kept in [Main]
    // AnalStartEnd), with this OK caption and text after "Enter date range "; false
    // when cancelled. Without it the
    // range is the one kept, or everything stored.
    std::function<bool(const std::string& okCaption, const std::string& text)> dateRangeEnter;
    // Opens a results window for a report written from a form.
    std::function<void(long mode, const IfrmPtr& form, long groupKind)> reportShow;

    // A report command of the Reports menu.
    void runReport(long kind, long mode, long groupKind);
    bool STTA_ReportConfirmOps(long kind, IfrmPtr& form);
    bool STTA_AnalysisConfirmDlg(long kind, bool reuseSingle, IfrmPtr& form);
    // A new analysis of the kind; null when it did not complete.
    IfrmPtr STTA_AnalyseForReport(long kind);
    void STTA_ReportNeedsAnalysis(const std::string& reason, const std::string& extra, bool withDates, long group);
    bool STTA_ReportSelectDlg(const std::string& kinds, const std::string& message, bool withDates, long& kind,
                              long& mode);
    bool STTA_PrevAnalysisSelect();

private:
    // False, after telling the user that the site is empty, when it has no visits.
    bool siteHasVisits();
    // A date range is chosen, on a site its callers found to have visits; false when
    // cancelled.
    // `text` follows "Enter date range "; `about` says what the dates are for.
    bool datesConfirmed(const std::string& okCaption, const std::string& text, const std::string& about);

    DataForms& forms_;
    dao::Database& db_;
};

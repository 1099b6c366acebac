#include "analysis/report_dispatch.h"

#include "analysis/report_names.h"
#include "analysis/visit_analysis.h"
#include "core/delimited_lists.h"
#include "core/ini_store.h"
#include "core/numbers.h"
#include "core/site_name.h"
#include "core/text.h"
#include "core/user_interface.h"
#include "core/vb_format.h"
#include "logimport/visit_date_range.h"

namespace {

std::vector<std::string> splitList(const std::string& list) {
    core::StrArray parts;
    CHUNKS_Split(list, parts, 0);
    std::vector<std::string> items;
    for (long i = parts.lbound(); parts.hasBounds() && i <= parts.ubound(); ++i) items.push_back(parts[i]);
    return items;
}

}  // namespace

std::string STTA_ReportSelectList(const std::string& kinds) {
    std::string list;
    for (const std::string& item : splitList(kinds)) {
        const long kind = core::wholeOf<long>(core::vbVal(item));
        if (kind == 0) continue;
        std::string col2, col1;
        const std::string name = STTA_ReportTypeName(kind, col2, col1);
        const std::string head = std::to_string(kind) + "\t";
        list += head + "Top " + name + " [Distr: " + col1 + (col2.empty() ? "]" : " & " + col2 + "]") + "|";
        list += head + "All " + name;
        if (STTA_ReportKind(kind).groupedOffered) list += "|" + head + "Grouped " + name;
        list += "||";
    }
    return list;
}

bool STTA_ReportLineParse(const std::string& line, long& kind, long& mode) {
    const std::string::size_type tab = line.find('\t');
    if (tab == std::string::npos) return false;
    kind = core::wholeOf<long>(core::vbVal(line.substr(0, tab)));
    const std::string head = std::to_string(kind) + "\t";
    const std::pair<const char*, long> words[] = {{"All ", kReportAll}, {"Top ", kReportTop}, {"Grouped ", kReportGrouped}};
    for (const auto& [word, m] : words)
        if (line.starts_with(head + word)) {
            mode = m;
            return true;
        }
    return false;
}

bool STTA_ReportShow(long mode, const Ifrm& form, long groupKind, ReportTable& table, std::string& caption) {
    if (mode != kReportTop && mode != kReportAll && mode != kReportGrouped) return false;
    form.GetSrchTrmData();
    gResults.DevReady = false;
    const long kind = gResults.Analyzed_Field;
    // Item 0 (the empty value) is a report of its own when visits were counted there.
    if (gResults.Vals->Items.size() <= 1 && STTA_ValueList::at(gResults.Vals->Cnt, 0) == 0) {
        const std::string titles = STTA_ReportTitlePlural(kind);
        core::ui().info("The analysis found no " + (titles.empty() ? std::string("values") : titles) +
                            " in the dates analysed, so there is no report to show.",
                        "");
        return false;
    }
    const char* word = mode == kReportAll ? "All " : mode == kReportGrouped ? "Grouped " : "Top ";
    caption = word + STTA_ReportTitlePlural(kind) + ". Site: " + STTA_SiteParmGet();
    if (mode == kReportGrouped) {
        gResults.AnalOpts.ValIsGroupedRep = true;
        STTA_ReportGridSetup(gResults.Targets, table, kind, gResults.AnalOpts);
        STTA_GroupedReportWrite(gResults, table, STTA_GroupListName(groupKind));
    } else if (mode == kReportAll) {
        STTA_ReportAllWrite(table, gResults);
    } else {
        STTA_TopReportWrite(table, gResults);
    }
    STTA_ReportDescSet(form, table, caption);
    return true;
}

void STTA_ReportAllWrite(ReportTable& table, STTA_Results& results) {
    results.AnalOpts.ValIsGroupedRep = false;
    STTA_ReportGridSetup(results.Targets, table, results.Analyzed_Field, results.AnalOpts);
    STTA_AllRowsWrite(results, table);
    STTA_TargetBandsColour(results, table);
}

void ReportDispatch::runReport(long kind, long mode, long groupKind) {
    IfrmPtr form;
    if (STTA_ReportConfirmOps(kind, form) && form && reportShow) reportShow(mode, form, groupKind);
}

bool ReportDispatch::STTA_ReportConfirmOps(long kind, IfrmPtr& form) {
    return STTA_AnalysisConfirmDlg(kind, INI_GetFlag("Main", "ConfirmRepOps", "::*", kIniMissingTrue), form);
}

bool ReportDispatch::siteHasVisits() {
    double first = 0, last = 0;
    return STTA_SiteDBDateRange(db_, first, last, true);
}

bool ReportDispatch::datesConfirmed(const std::string& okCaption, const std::string& text, const std::string& about) {
    // A first analysis covers everything stored, until the user chooses a range.
    if (core::trimBlanks(INI_Get("Main", "AnalStartEnd", "::*", kIniMissingEmpty)).empty())
        INI_Put("Main", "AnalStartEnd", STTA_StoredRangeText(db_), "::*");
    if (dateRangeEnter) return dateRangeEnter(okCaption, text + (about.empty() ? "" : gCRCR + about));
    const std::string range = INI_Get("Main", "AnalStartEnd", "::*", kIniMissingEmpty);
    return core::ui().msgBox((about.empty() ? "" : about + gCRCR) + "Dates to analyse: " +
                                 TXT_Replace(range, "|", " to ", true),
                             okCaption + "|&Cancel", "", "") == 1;
}

bool ReportDispatch::STTA_AnalysisConfirmDlg(long kind, bool reuseSingle, IfrmPtr& form) {
    const std::vector<IfrmPtr> matches = forms_.STTA_PrevAnalysesFind(kind, STTA_SiteParmGet());
    if (matches.size() == 1 && reuseSingle) {
        form = matches.front();
        return true;
    }
    if (!siteHasVisits()) return false;
    std::string col2, col1;
    const std::string name = STTA_ReportTypeName(kind, col2, col1);
    if (!matches.empty()) {
        const std::vector<std::string> descs = STTA_PrevAnalysisDescs(matches, false);
        std::string chosen;
        long k = -1;  // by position: two analyses may read alike
        const int button = core::ui().listPick(
            descs, "Or select a previous analysis of " + name, "11000|1200||||||||1||{11000}",
            "Use selected &analysis (dates && options as selected above)|"
            "Read database (ne&w analysis - dates && options as entered below)|&Cancel",
            "Either Select an analysis or confirm dates and options below to read database (new analysis).", "", chosen,
            &k);
        if (button == 1) {
            form = k >= 0 && k < static_cast<long>(matches.size()) ? matches[static_cast<std::size_t>(k)] : nullptr;
            return true;
        }
        if (button != 2) return false;
    }
    const std::string about = "Analyse by: " + name + gCR + "[When selected, 1st Distrib col: " + col1 +
                              (col2.empty() ? "" : ", 2nd Distrib col: " + col2) + "]";
    if (!datesConfirmed(" &OK - Start New Analysis ",
                        "for new analysis below and confirm options. More options on Analysis menu.", about))
        return false;
    form = STTA_AnalyseForReport(kind);
    return form != nullptr;
}

IfrmPtr ReportDispatch::STTA_AnalyseForReport(long kind) {
    IfrmPtr form;
    if (STTA_VisitsAnalyse(db_, gResults, STTA_TopCount(), kind)) form = forms_.STTA_IfrmShow();
    gResultsIfrmKey.clear();
    return form;
}

void ReportDispatch::STTA_ReportNeedsAnalysis(const std::string& reason, const std::string& extra, bool withDates,
                                              long group) {
    const std::string message = (reason.empty() ? "" : "To use " + reason + " you must analyse now.") + extra;
    long kind = 0, mode = 0;
    if (!STTA_ReportSelectDlg(STTA_ReportKindList(group), message, withDates, kind, mode)) return;
    if (IfrmPtr form = STTA_AnalyseForReport(kind); form && reportShow) reportShow(mode, form, kind);
}

bool ReportDispatch::STTA_ReportSelectDlg(const std::string& kinds, const std::string& message, bool withDates,
                                          long& kind, long& mode) {
    // Nothing to analyse: say so before offering reports.
    if (withDates && !siteHasVisits()) return false;
    const std::vector<std::string> lines = splitList(STTA_ReportSelectList(kinds));
    std::string prompt;
    for (;;) {
        std::string chosen;
        const int button = core::ui().listPick(lines, "Kind\tReport", "8000|3000||||||||1||{600|7400}", "&OK|&Cancel",
                                               message + (prompt.empty() ? "" : gCRCR + prompt), "Select Report",
                                               chosen);
        if (button != 1) return false;
        if (chosen.empty()) {
            prompt = "Select report to continue";
            continue;
        }
        if (STTA_ReportLineParse(chosen, kind, mode)) break;
    }
    if (!withDates) return true;
    return datesConfirmed("&OK", "to analyse below and choose report from list", message);
}

bool ReportDispatch::STTA_PrevAnalysisSelect() {
    std::vector<IfrmPtr> forms;
    // The kinds of the list of every report, in its order.
    for (long kind : STTA_ReportKinds(1)) forms_.STTA_PrevAnalysesAdd(kind, STTA_SiteParmGet(), forms);
    int button = 3;
    std::string chosen;
    long k = -1;  // by position: two analyses may read alike
    std::vector<std::string> descs;
    if (!forms.empty()) {
        descs = STTA_PrevAnalysisDescs(forms, true);
        button = core::ui().listPick(
            descs, "Select a previous analysis to create a new report:", "12000|2400||||||||1||{12000}",
            "&OK - Use selected analysis to make new report|&Cancel|Enter options for ne&w analysis",
            gCR + "Select an analysis to use (dates & options as selected above) and press OK for a list of reports "
                  "that can be created." + gCR,
            "", chosen, &k);
    }
    if (button == 3) {
        STTA_ReportNeedsAnalysis("", "", true, 1);
        return false;
    }
    if (button != 1 || k < 0 || k >= static_cast<long>(forms.size())) return false;
    const IfrmPtr& form = forms[static_cast<std::size_t>(k)];
    const std::string message = "Analysis results selected: " + gCR + TXT_Replace(descs[static_cast<std::size_t>(k)], " ^ ", gCR, true) + gCR;
    long kind = 0, mode = 0;
    if (!STTA_ReportSelectDlg(form->Analyzed_Field(), message, false, kind, mode)) return false;
    if (reportShow) reportShow(mode, form, kind);
    return true;
}

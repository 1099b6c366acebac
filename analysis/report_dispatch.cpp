#include "analysis/report_dispatch.h"

#include <algorithm>

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

// Top reports show this many rows when the site has not chosen a number.
constexpr long kDefaultTopCount = 25;
// The kinds the previous-analysis list offers, in its order.
constexpr long kPreviousKinds[] = {11, 1, 2, 3, 5, 4, 6, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21};

std::string title(long kind) {
    std::string col2, col1;
    return STTA_ReportTypeName(kind, col2, col1);
}

bool hasGroupedReport(long kind) { return kind == 1 || (kind >= 6 && kind <= 8); }

long topCount() {
    const long n = static_cast<long>(INI_GetNumVar("Main", "CntTopVals", "::*", kIniMissingEmpty));
    return n >= 1 ? n : kDefaultTopCount;
}

std::vector<std::string> splitList(const std::string& list) {
    core::StrArray parts;
    CHUNKS_Split(list, parts, 0);
    std::vector<std::string> items;
    for (long i = parts.lbound(); parts.hasBounds() && i <= parts.ubound(); ++i) items.push_back(parts[i]);
    return items;
}

// The position of the chosen line, or -1.
long chosenIndex(const std::vector<std::string>& lines, const std::string& chosen) {
    if (chosen.empty()) return -1;
    const auto it = std::find(lines.begin(), lines.end(), chosen);
    return it == lines.end() ? -1 : static_cast<long>(it - lines.begin());
}

}  // namespace

std::string STTA_ReportSelectList(const std::string& kinds) {
    std::string list;
    for (const std::string& item : splitList(kinds)) {
        const long kind = static_cast<long>(core::vbVal(item));
        if (kind == 0) continue;
        std::string col2, col1;
        const std::string name = STTA_ReportTypeName(kind, col2, col1);
        const std::string head = std::to_string(kind) + "\t";
        list += head + "Top " + name + " [Distr: " + col1 + (col2.empty() ? "]" : " & " + col2 + "]") + "|";
        list += head + "All " + name;
        if (hasGroupedReport(kind)) list += "|" + head + "Grouped " + name;
        list += "||";
    }
    return list;
}

bool STTA_ReportLineParse(const std::string& line, long& kind, long& mode) {
    const std::string::size_type tab = line.find('\t');
    if (tab == std::string::npos) return false;
    kind = static_cast<long>(core::vbVal(line.substr(0, tab)));
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
    if (gResults.Vals->Items.size() <= 1) {
        core::ui().info("The analysis found no " + title(kind) + "s in the dates analysed, so there is no report to show.",
                        "");
        return false;
    }
    const char* word = mode == kReportAll ? "All " : mode == kReportGrouped ? "Grouped " : "Top ";
    caption = word + title(kind) + "s. Site: " + STTA_SiteParmGet();
    gResults.AnalOpts.ValIsGroupedRep = mode == kReportGrouped;
    STTA_ReportGridSetup(gResults.Targets, table, kind, gResults.AnalOpts);
    STTA_ReportDescSet(form, table, caption);
    if (mode == kReportGrouped) {
        STTA_GroupedReportWrite(gResults, table, STTA_GroupListName(groupKind));
        return true;
    }
    if (mode == kReportAll) STTA_AllRowsWrite(gResults, table);
    else STTA_TopRowsWrite(gResults, table, topCount());
    STTA_TargetBandsColour(gResults, table);
    return true;
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
    if (!siteHasVisits()) return false;
    // A first analysis covers everything stored, until the user chooses a range.
    if (core::trimBlanks(INI_Get("Main", "AnalStartEnd", "::*", kIniMissingEmpty)).empty())
        INI_Put("Main", "AnalStartEnd", STTA_StoredRangeText(db_), "::*");
    const bool areaOnly = INI_GetFlag("Main", "ShowOnlySelSiteArea", "::*", kIniMissingEmpty);
    INI_Put("Main", "SiteAreaDesc",
            areaOnly ? "Only Site Area: " + INI_Get("Main", "ShowOnlySelSiteAreaParm", "::*", kIniMissingEmpty) : std::string(), "::*");
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
        const int button = core::ui().listPick(
            descs, "Or select a previous analysis of " + name, "11000|1200||||||||1||{11000}",
            "Use selected &analysis (dates && options as selected above)|"
            "Read database (ne&w analysis - dates && options as entered below)|&Cancel",
            "Either Select an analysis or confirm dates and options below to read database (new analysis).", "", chosen);
        if (button == 1) {
            const long k = chosenIndex(descs, chosen);
            form = k >= 0 ? matches[static_cast<std::size_t>(k)] : nullptr;
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
    if (STTA_VisitsAnalyse(db_, gResults, topCount(), kind)) form = forms_.STTA_IfrmShow();
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
    for (long kind : kPreviousKinds) forms_.STTA_PrevAnalysesAdd(kind, STTA_SiteParmGet(), forms);
    int button = 3;
    std::string chosen;
    std::vector<std::string> descs;
    if (!forms.empty()) {
        descs = STTA_PrevAnalysisDescs(forms, true);
        button = core::ui().listPick(
            descs, "Select a previous analysis to create a new report:", "12000|2400||||||||1||{12000}",
            "&OK - Use selected analysis to make new report|&Cancel|Enter options for ne&w analysis",
            gCR + "Select an analysis to use (dates & options as selected above) and press OK for a list of reports "
                  "that can be created." + gCR,
            "", chosen);
    }
    if (button == 3) {
        STTA_ReportNeedsAnalysis("", "", true, 1);
        return false;
    }
    const long k = chosenIndex(descs, chosen);
    if (button != 1 || k < 0) return false;
    const IfrmPtr& form = forms[static_cast<std::size_t>(k)];
    const std::string message = "Analysis results selected: " + gCR + TXT_Replace(descs[static_cast<std::size_t>(k)], " ^ ", gCR, true) + gCR;
    long kind = 0, mode = 0;
    if (!STTA_ReportSelectDlg(form->Analyzed_Field(), message, false, kind, mode)) return false;
    if (reportShow) reportShow(mode, form, kind);
    return true;
}

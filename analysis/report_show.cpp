#include "analysis/report_show.h"

#include "analysis/report_names.h"
#include "analysis/visit_analysis.h"
#include "core/ini_store.h"
#include "core/numbers.h"
#include "core/site_name.h"
#include "core/text.h"
#include "core/vb_format.h"
#include "logimport/visit_date_range.h"

namespace {

// Top reports show this many rows when the site has not chosen a number.
constexpr long kDefaultTopCount = 25;

std::string stampDayText(double stamp) { return core::vbFormat(static_cast<long>(stamp / 1000000), "@@@@-@@-@@"); }

// A first report analyses everything stored, until the user chooses a range.
bool ensureDateRange(dao::Database& db) {
    if (!core::trimBlanks(INI_Get("Main", "AnalStartEnd", "::*", 3)).empty()) return true;
    double first = 0, last = 0;
    if (!STTA_SiteDBDateRange(db, first, last, true)) return false;
    INI_Put("Main", "AnalStartEnd", stampDayText(first) + "|" + stampDayText(last), "::*");
    return true;
}

long topCount() {
    const long n = static_cast<long>(core::vbVal(INI_Get("Main", "CntTopVals", "::*", 3)));
    return n >= 1 ? n : kDefaultTopCount;
}

}  // namespace

bool STTA_ReportPrepare(dao::Database& db, long kind, long mode, ReportTable& table, std::string& caption) {
    if (!ensureDateRange(db)) return false;
    const long n = topCount();
    if (!STTA_VisitsAnalyse(db, gResults, n, kind)) return false;
    gResults.DevReady = false;
    std::string col2, col1;
    const std::string title = STTA_ReportTypeName(kind, col2, col1);
    const char* word = mode == kReportAll ? "All " : mode == kReportGrouped ? "Grouped " : "Top ";
    caption = word + title + "s. Site: " + STTA_SiteParmGet();
    gResults.AnalOpts.ValIsGroupedRep = mode == kReportGrouped;
    STTA_ReportGridSetup(gResults.Targets, table, kind, gResults.AnalOpts);
    if (mode == kReportGrouped) {
        STTA_GroupedReportWrite(gResults, table, STTA_GroupListName(kind));
        return true;
    }
    if (mode == kReportAll) STTA_AllRowsWrite(gResults, table);
    else STTA_TopRowsWrite(gResults, table, n);
    STTA_TargetBandsColour(gResults, table);
    return true;
}

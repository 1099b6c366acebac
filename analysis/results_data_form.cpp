#include "analysis/results_data_form.h"

#include <algorithm>

#include "analysis/report_names.h"
#include "analysis/report_table.h"
#include "core/dates.h"
#include "core/numbers.h"
#include "core/site_name.h"
#include "core/stored_text.h"
#include "core/text.h"
#include "core/vb_format.h"

namespace {

std::string countText(double n) { return n == 0 ? "no" : TXT_FormatDbl(n, "#,###,##0"); }

std::string dayText(long day) { return core::vbFormat(core::DateTime{static_cast<double>(day)}, "d mmm yy"); }

// The first and last analysed day from the record's "first|last" day range.
void dayRange(const STTA_Results& r, long& first, long& last) {
    const std::string::size_type bar = r.DayRange.find('|');
    first = core::wholeOf<long>(core::vbVal(r.DayRange.substr(0, bar)));
    last = bar == std::string::npos ? first : core::wholeOf<long>(core::vbVal(r.DayRange.substr(bar + 1)));
}

long targetCount(const STTA_Results& r) { return static_cast<long>(r.Targets.size()) - 1; }

// One line of the summary; days < 0 leaves the average out.
std::string summaryLine(const std::string& label, std::int64_t count, long days, double totalVisits) {
    std::string line = gCR + label + TXT_FormatDbl(static_cast<double>(count), "#,##0");
    const double average = days < 0 ? 0 : static_cast<double>(count) / std::max(1L, days);
    if (average > 0 || totalVisits > 0) {
        line += " [";
        if (totalVisits > 0) line += TXT_FormatDbl(static_cast<double>(count) * 100 / totalVisits, "0") + "%";
        if (average > 0) line += " Average: " + TXT_FormatDbl(average, "0.0") + "/day";
        line += "]";
    }
    return line;
}

std::int64_t counterSum(const std::vector<std::int64_t>& counter) {
    std::int64_t sum = 0;
    for (std::int64_t n : counter) sum += n;
    return sum;
}

std::int64_t dayTableSum(const analysis::DayTable& table, long items, long first, long last) {
    std::int64_t sum = 0;
    for (long item = 0; item <= items; ++item) sum += table.sum(item, first, last);
    return sum;
}

}  // namespace

void Ifrm::PutSrchTrmdata() { STTA_ResultsCopy(gResults, data_); }

void Ifrm::GetSrchTrmData(bool force) const {
    if (gResultsIfrmKey == tag_ && !force) return;
    STTA_ResultsCopy(data_, gResults);
    // The deviation part belongs to the record it was worked out from.
    gResults.DevReady = false;
    gResultsIfrmKey = tag_;
}

std::string Ifrm::GetDataDesc() const {
    const STTA_Results& r = data_;
    std::string desc = r.AnalNote + countText(static_cast<double>(r.Vals->Items.size()) - 1) + " values. " +
                       countText(r.VisitCount) + " visits.";
    long first = 0, last = 0;
    dayRange(r, first, last);
    desc += gCRCR + "Dates: " + TXT_ElapsedText(first, last) + gCR + " " + dayText(first) + " to " + dayText(last);
    desc += gCRCR + (r.ShowNotSEitem ? "Incl Non-SE" : "SE only");
    // Values seen less often are not in the record at all, so no row, not even the
    // Total, counts their visitors: say so, or the Total looks wrong beside the
    // engine summary.
    if (r.AnalOpts.MinCount >= 1)
        desc += gCR + "Only " + std::to_string(r.AnalOpts.MinCount + 1) +
                "+ visitors (values seen less often are left out, of the Total too)";
    if (SYS32_StrIsTrue(r.SiteArea)) desc += gCR + "Only Site Area: " + TXT_FitLen(r.SiteArea, 30, "..");
    const auto yn = [](bool flag) { return flag ? "Y" : "N"; };
    desc += "." + gCR + "Dist Cols: " + yn(r.AnalOpts.ShowDist1) + yn(r.AnalOpts.ShowDist2) + yn(r.AnalOpts.ShowClickThru);
    if (targetCount(r) >= 1) {
        desc += gCRCR + " " + std::to_string(targetCount(r)) + " targets.";
        for (long t = 1; t <= targetCount(r); ++t)
            desc += gCR + std::to_string(t) + ". " + STTA_TargetLabel(r.Targets[static_cast<std::size_t>(t)]);
    }
    return desc;
}

IfrmPtr DataForms::STTA_IfrmShow() {
    auto form = std::make_shared<Ifrm>("Ifrm|" + std::to_string(++counter_));
    form->PutSrchTrmdata();
    forms_.push_back(form);
    gResultsIfrmKey = form->Tag();
    return form;
}

std::vector<IfrmPtr> DataForms::STTA_PrevAnalysesFind(long kind, const std::string& site) const {
    std::vector<IfrmPtr> found;
    STTA_PrevAnalysesAdd(kind, site, found);
    return found;
}

void DataForms::STTA_PrevAnalysesAdd(long kind, const std::string& site, std::vector<IfrmPtr>& forms) const {
    for (const IfrmPtr& form : forms_) {
        if (form->SiteDBName() != site || form->data().Analyzed_Field != kind) continue;
        if (kind == kRkTargetsReached && form->pSvCustomRepParms() != STTA_CustomRepParmsName()) continue;
        forms.push_back(form);
    }
}

void DataForms::unload(const IfrmPtr& form) { std::erase(forms_, form); }

std::vector<std::string> STTA_PrevAnalysisDescs(const std::vector<IfrmPtr>& forms, bool withTitle) {
    std::vector<std::string> descs;
    for (const IfrmPtr& form : forms) {
        std::string desc = TXT_Replace(TXT_Replace(form->GetDataDesc(), gCRCR, " ^ ", true), gCR, " ^ ", true);
        if (withTitle) {
            std::string col2, col1;
            desc = STTA_ReportTypeName(form->data().Analyzed_Field, col2, col1) + " ^ " + desc;
        }
        descs.push_back(std::move(desc));
    }
    return descs;
}

void STTA_ReportDescSet(const Ifrm& form, ReportTable& table, std::string& caption) {
    const std::string desc = form.GetDataDesc();
    table.extractDesc = "Site: " + STTA_SiteParmGet() + gCRCR + desc;
    caption += ". // " + TXT_Replace(TXT_Replace(desc, gCRCR, " / ", true), gCR, " / ", true);
}

std::string STTA_ResultsSummaryText(const STTA_Results& r) {
    const STTA_ValueList& v = *r.Vals;
    const long items = static_cast<long>(v.Items.size()) - 1;
    const long targets = std::min(targetCount(r), 4L);
    std::string text = "Total Visits: " + TXT_FormatDbl(r.VisitCount, "#,##0");
    text += summaryLine("Selected Visits: ", counterSum(v.Cnt), -1, r.VisitCount);
    for (long t = 1; t <= targets; ++t)
        text += summaryLine(STTA_TargetLabel(r.Targets[static_cast<std::size_t>(t)]) + ": ",
                            counterSum(v.CntTgt(static_cast<int>(t))), -1, r.VisitCount);
    text += gCRCR + std::string(60, '-') + gCRCR;
    const long lastDay = static_cast<long>(r.DayList->size()) - 1;
    // The last 30 days, and averages of 30 days even when the analysis is shorter.
    constexpr long kDays = 30;
    const long firstDay = std::max(0L, lastDay - kDays + 1);
    const std::string prefix = "Last " + std::to_string(kDays) + " days ";
    text += summaryLine(prefix + "Selected Visits: ", dayTableSum(v.DayCnt[0], items, firstDay, lastDay), kDays,
                        r.VisitCount);
    for (long t = 1; t <= targets; ++t)
        text += summaryLine(prefix + STTA_TargetLabel(r.Targets[static_cast<std::size_t>(t)]) + ": ",
                            dayTableSum(v.DayCnt[static_cast<std::size_t>(t) + 2], items, firstDay, lastDay), kDays,
                            r.VisitCount);
    return text;
}

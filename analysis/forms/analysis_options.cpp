#include "analysis/forms/analysis_options.h"

#include <algorithm>
#include <iterator>
#include <vector>

#include "analysis/forms/date_range_dialog.h"
#include "analysis/visit_analysis.h"
#include "core/ini_store.h"
#include "core/program_paths.h"
#include "core/text.h"
#include "dialogs/option_strings.h"
#include "dialogs/ready_dialogs.h"
#include "logimport/visit_date_range.h"
#include "shell/time_stamps.h"

namespace {

constexpr const char* kParams = "::*";
constexpr int kMissingIsEmpty = 3;

// Appended to an option control's spec: the control shows its value but cannot be
// changed, because the site's database already decided it.
std::string fixedWhen(bool fixed) {
    return fixed ? TXT_Replace(MB_ValueAtField(13, "False"), "|~~|", "|", true) : std::string();
}

bool siteFlag(const std::string& entry) { return INI_GetFlag("Main", entry, gIniDbDef, kMissingIsEmpty); }

long stampDay(double stamp) { return TBL_StampDatePart(std::to_string(static_cast<long long>(stamp))); }


struct OptionDialog {
    const char* code;
    const char* title;
    const char* section;
    float minWidth;
    bool untilClosed;  // shown again until OK or Cancel
    std::vector<MissingMeans> defaults;
};

const OptionDialog kOptionDialogs[] = {
    {.code = "ER", .title = "- Enter Report Options.", .section = "RepFmt", .minWidth = 12400, .untilClosed = false,
     .defaults = {{"CntTopVals", "25"}, {"DevShow", "True"}, {"DevDays", "5"}, {"DevFmtVD", "#,###,##0.00"},
                  {"DevFmtPct", "0"}}},
    {.code = "EO", .title = "- Enter Options.", .section = "EnterOps", .minWidth = 9000, .untilClosed = true,
     .defaults = {{"ConfirmRepOps", "True"}}},
    {.code = "SC", .title = "- Advanced Analysis Options.", .section = "analopsadvnc", .minWidth = 12400,
     .untilClosed = false, .defaults = {}},
};

}  // namespace

namespace {

// The range of [Main] AnalStartEnd in the date-range dialog, with the option controls
// of the screens.ini section, the dates of the stored visits as the dates available;
// written back when accepted.
bool analysisRangeEnter(dao::Database& db, const std::string& section, const std::string& okCaption,
                        const std::string& message) {
    STTA_ConfirmRepPrepare(section);
    DateRangeEnterArgs args;
    double first = 0, last = 0;
    if (STTA_SiteDBDateRange(db, first, last, false)) {
        args.firstAvailable = stampDay(first);
        args.lastAvailable = stampDay(last);
    }
    args.options = {.section = section, .entry = "Ctls", .iniFile = gIniScreens, .valuesFile = gIniLastVals};
    args.okCaption = okCaption;
    std::string range = INI_Get("Main", "AnalStartEnd", kParams, kMissingIsEmpty);
    MB_CtlEntry ctl;
    if (STTA_DateRangeEnter(range, message, ctl, args) != 1) return false;
    INI_Put("Main", "AnalStartEnd", range, kParams);
    return true;
}

}  // namespace

bool STTA_AnalysisOptionsEnter(dao::Database& db) {
    STTA_ThresholdsDefault();
    return analysisRangeEnter(db, "AnalOpsScreens", "&OK", "to analyse");
}

void STTA_ConfirmRepPrepare(const std::string& section) {
    INI_Put(section, "opctldta11", fixedWhen(siteFlag("EraseNonSE")), gIniScreens);
    const bool areaOnly = INI_GetFlag("Main", "ShowOnlySelSiteArea", kParams, kMissingIsEmpty);
    INI_Put("Main", "SiteAreaDesc",
            areaOnly ? "Only Site Area: " + INI_Get("Main", "ShowOnlySelSiteAreaParm", kParams, kMissingIsEmpty)
                     : std::string(),
            kParams);
}

bool STTA_ReportDatesEnter(dao::Database& db, const std::string& okCaption, const std::string& text) {
    return analysisRangeEnter(db, "ConfirmRep", okCaption, text);
}

void STTA_MissingMeaningsPut(const std::vector<MissingMeans>& meanings) {
    for (const MissingMeans& d : meanings)
        if (core::trimBlanks(INI_Get("Main", d.entry, kParams, kMissingIsEmpty)).empty())
            INI_Put("Main", d.entry, std::string(d.value), kParams);
}

long STTA_OptionsDialogShow(const std::string& code) {
    const auto* dialog = std::find_if(std::begin(kOptionDialogs), std::end(kOptionDialogs),
                                      [&](const OptionDialog& d) { return code == d.code; });
    if (dialog == std::end(kOptionDialogs)) return 2;
    STTA_MissingMeaningsPut(dialog->defaults);
    if (code == "SC") {
        INI_Put(dialog->section, "opctldta22", fixedWhen(siteFlag("RemQuery")), gIniScreens);
        INI_Put(dialog->section, "opctldta21", fixedWhen(siteFlag("RemFrag")), gIniScreens);
    }
    const MB_ShowExArgs args{
        .controls = {.section = dialog->section, .entry = "Ctls", .iniFile = gIniScreens, .valuesFile = kParams},
        .shift = true,
        .dfltButton = 1,
        .escButton = 2};
    long pressed = 0;
    do {
        pressed = MB_ShowEx("", "&OK|&Cancel", MB_OptMinWidth(dialog->minWidth), dialog->title, args);
    } while (dialog->untilClosed && pressed != 1 && pressed != 2);
    return pressed;
}

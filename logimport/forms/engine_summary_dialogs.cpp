#include "logimport/forms/engine_summary_dialogs.h"

#include "core/delimited_lists.h"
#include "core/text.h"
#include "core/vb_format.h"
#include "dialogs/list_dialog.h"
#include "dialogs/msgbox.h"
#include "logimport/engine_summary.h"
#include "logimport/forms/test_read_lists.h"

core::StrArray logimport::rowsFromOne(const std::vector<std::string>& rows) {
    core::StrArray items;
    if (rows.empty()) return items;
    items.redim(1, static_cast<long>(rows.size()));
    for (size_t i = 0; i < rows.size(); ++i) items.set(static_cast<long>(i) + 1, rows[i]);
    return items;
}

void STTA_SESummaryShow(const core::StrArray& keys, const core::LngArray& counts) {
    const std::vector<std::string> rows = logimport::seSummaryRows(keys, counts);
    if (rows.empty()) {
        MB_Info("No SE referrals found.");
        return;
    }
    const std::vector<std::string> engines = logimport::seEngines(keys);
    core::StrArray items = logimport::rowsFromOne(rows);
    logimport::ResultList list{
        .header = "SE referrer\tNo of distinct days / Dates\tVisitors\tAverage per day\t% of total SE visitors",
        .layout = "10500|6000||||||||1||{1800|3900|1200|1500|1800}",
        .buttons = "SE to display &detail",
        .back = "Don&e",
        .message = "This is a summary of data you have just added." + gCR + "Use the reports menu for" + gCR +
                   "- full trend reports including all raw log data added to the database." + gCR +
                   "- reports on keywords." + gCR +
                   "- trends for each word found within search terms [keywords].",
        .hint = "SE to display detail"};
    for (;;) {
        long chosen = 0;
        if (logimport::showResultList(items, list, chosen) != 1) return;
        if (chosen >= 1 && chosen <= static_cast<long>(engines.size()))
            STTA_SEDetailShow(keys, counts, engines[static_cast<size_t>(chosen - 1)]);
    }
}

void STTA_SEDetailShow(const core::StrArray& keys, const core::LngArray& counts, const std::string& engine) {
    double average = 0;
    core::StrArray items = logimport::rowsFromOne(logimport::seDetailRows(keys, counts, engine, average));
    MB_ListDlgArgs args{.title = "Detail for SE: " + engine + ". Show visitor counts for each date.",
                        .message = "% Deviation is change in no of visitors from average # of visitors per day [" +
                                   core::vbFormat(average, "0.0") + "]",
                        .pickOnly = true,
                        .further = true,
                        .furtherCaption = "Don&e",
                        .gridSpec = "6000|5000||||||||1||{1800|1200|1200}",
                        .header = "SE referrer\tDate\t# of Visitors\t% Deviation"};
    MB_ListDlg(items, args);
}

void STTA_ProblemFilesShow(const core::StrArray& files, const core::StrArray& texts) {
    if (!files.hasBounds() || files.ubound() < 1) {
        MB_Info("Files were all read without problems.");
        return;
    }
    for (;;) {
        std::vector<std::string> names;
        for (long i = 1; i <= files.ubound(); ++i) names.push_back(files[i]);
        core::StrArray shown = logimport::rowsFromOne(names);
        MB_ListDlgArgs args{.itemWord = "log file",
                            .message = "Log files with problems. Select file & press OK to see problem list.",
                            .pickOnly = true,
                            .ok = true,
                            .further = true,
                            .furtherCaption = "Don&e",
                            .gridSpec = "9000|||||||||1||{9000}"};
        if (MB_ListDlg(shown, args) != dlg::kListOK) return;
        const long i = files.find(args.selection, 1, core::Match::Exact);
        if (i < 1) continue;
        core::StrArray problems;
        CHUNKS_Split(texts.inBounds(i) ? texts[i] : std::string(), problems, 1);
        MB_ListDlgArgs detail{.title = "List Problems for: " + args.selection,
                              .message = "List Problems for: " + args.selection + gCRCR +
                                         "reason with Ctl+Double Click to display in full.",
                              .pickOnly = true,
                              .further = true,
                              .furtherCaption = "&Back",
                              .gridSpec = "9000|||||||||1||{9000}"};
        MB_ListDlg(problems, detail);
    }
}

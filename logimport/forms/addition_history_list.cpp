#include "logimport/forms/addition_history_list.h"

#include "core/delimited_lists.h"
#include "core/file_names.h"
#include "core/text.h"
#include "dialogs/msgbox.h"
#include "logimport/addition_history.h"
#include "logimport/forms/engine_summary_dialogs.h"
#include "logimport/forms/read_dialogs.h"
#include "logimport/forms/test_read_lists.h"
#include "logimport/forms/test_reads.h"
#include "logimport/visit_building.h"

namespace {

const std::string kHeaders =
    "Date|File Spec.|Action|Lines Added|First Date|Last Date|Total Lines|Accept Lines|Accept Bytes|Skip Dupes|"
    "Lines Skpd|Add By Filter|Lines Skpd|Excl Bots|Lines Skpd|Excl Files|Lines Skpd|Bytes Skpd|Rem Fragm|"
    "Rem Query|All Data|Skip 4xx, 5xx|Full File Name Log Data|Mins Add Data|Mins PreProcess|Added Day|"
    "First Log Line|Last Log Line|Add By Filter - Only Lines or Exclude Lines|Filter[s] Used|Excl Files|"
    "Filter[s] Used|Excl Bots|Filters copied to||SE Summary saved in";
const std::string kWidths =
    "{1080|1080|1380|750|1080|1080|750|750|1200|540|750|540|750|540|750|540|750|1200|540|540|540|540|7800|1080|"
    "1080|1080|1080|1080|1920|3000|1920|3000|1920|5000|300|5000}";

enum HistoryButton { kRobots = 1, kProblems, kSummary, kToggle };

std::string row(const std::vector<std::string>& fields) {
    std::string text;
    for (size_t i = 0; i < fields.size(); ++i) text += (i ? "\t" : "") + TXT_Replace(fields[i], "\t", " ", true);
    return text;
}

void showRobotFilters(const std::vector<std::string>& record) {
    if (core::trimBlanks(record[33]).empty()) {
        MB_Info("Filters not available for that line.");
        return;
    }
    STTA_FltrBotsListEdit(record[33]);
}

void showProblems(const std::vector<std::string>& record) {
    if (core::trimBlanks(record[34]).empty()) {
        MB_Info("Error List not available for that line.");
        return;
    }
    core::StrArray files, texts;
    STTA_AddDataSectionRead(std::string(core::trimBlanks(record[34])), files, texts);
    STTA_ProblemFilesShow(files, texts);
}

void showSummary(const std::vector<std::string>& record) {
    core::StrArray keys;
    core::LngArray counts;
    if (core::trimBlanks(record[35]).empty() || !STTA_AddDataSummaryRead(record[35], keys, counts)) {
        MB_Info("No SE referrals found.");
        return;
    }
    STTA_SESummaryShow(keys, counts);
}

}  // namespace

void STTA_AddDataLogList() {
    long visits = 0;
    STTA_IncompleteAddFinish(logimport::siteDatabase(), gReadRec, visits);
    const auto records = logimport::historyRecords();
    if (records.empty()) {
        MB_Info("No data has been added to this database.");
        return;
    }
    bool hide = false;
    std::string state;
    for (;;) {
        const std::vector<size_t> shown = logimport::historyShownRows(records, hide);
        std::vector<std::string> texts;
        for (size_t i : shown) texts.push_back(row(records[i]));
        core::StrArray rows = logimport::rowsFromOne(texts);
        logimport::ResultList list{
            .header = TXT_Replace(kHeaders, "|", "\t", true),
            .layout = "14000|7000||||||||1||" + kWidths,
            .buttons = std::string("List E&xclude Robots Filters|List Proble&ms|SE Summar&y|") +
                       (hide ? "S&how Lines: " : "&Hide Lines: ") + "\"Start Read File\"",
            .back = "Don&e",
            .title = "Logged Additions of raw log data to this site database",
            .state = state};
        long chosen = 0;
        const int pressed = logimport::showResultList(rows, list, chosen);
        state = list.state;
        if (pressed == kToggle) {
            hide = !hide;
            state.clear();
            continue;
        }
        if (pressed < kRobots || pressed > kSummary) return;
        if (chosen < 1 || chosen > static_cast<long>(shown.size())) continue;
        const std::vector<std::string>& record = records[shown[static_cast<size_t>(chosen - 1)]];
        if (record[0] != kHistoryDone) {
            MB_Info("First select a line with \"** Done **\" in first column.");
            continue;
        }
        if (pressed == kRobots)
            showRobotFilters(record);
        else if (pressed == kProblems)
            showProblems(record);
        else
            showSummary(record);
    }
}

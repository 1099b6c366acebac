#include "logimport/forms/test_read_lists.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "core/delimited_lists.h"
#include "core/numbers.h"
#include "core/text.h"
#include "dialogs/control_spec.h"
#include "dialogs/list_dialog.h"
#include "dialogs/msgbox.h"
#include "dialogs/ready_dialogs.h"

namespace logimport {

int showResultList(core::StrArray& rows, ResultList& list, long& chosen) {
    MB_ListDlgArgs args{.itemWord = list.hint,
                        .title = list.title,
                        .message = list.message,
                        .state = list.state,
                        .pickOnly = true,
                        .further = true,
                        .furtherCaption = list.back,
                        .furtherCaptions = list.buttons,
                        .gridSpec = list.layout,
                        .header = list.header,
                        .separator = "tab"};
    const long result = MB_ListDlg(rows, args);
    list.state = args.state;
    std::array<long, 8> nums{};
    std::string state = args.state, rest;
    long next = 0;
    MB_ParseNums8(state, nums, rest, next, false);
    chosen = nums[0] >= 1 && nums[0] <= rows.count() ? nums[0] : 0;
    // The back button is the dialog's first; the caller's follow it.
    return result == dlg::kListOther ? static_cast<int>(args.pressed - 1) : 0;
}

core::StrArray unknownSERows(const core::StrArray& unknownHosts, const core::StrArray& referrersPerHost,
                             long threshold) {
    std::vector<std::string> rows;
    for (long i = 0; i <= unknownHosts.ubound(); ++i) {
        const std::string list = LLIST_StrArrItem(referrersPerHost, i, "");
        // Items are counted, not "|" characters, so that a list that had to escape a
        // "|" inside a referrer is not miscounted.
        if (list.empty() || CHUNKS_Count(list) <= threshold) continue;
        rows.push_back(unknownHosts[i] + "\t" + list);
    }
    core::sortIgnoringCase(rows);
    core::StrArray out;
    for (auto& r : rows) out.append(std::move(r));
    return out;
}

std::string testLinesSplit(const core::StrArray& rows, long row, core::StrArray& lines) {
    const std::string text = rows.inBounds(row) ? rows[row] : std::string();
    const size_t tab = text.find('\t');
    const std::string group = text.substr(0, tab);
    const std::string rest = tab == std::string::npos ? std::string() : TXT_Replace(text.substr(tab + 1), "\t", "|", true);
    CHUNKS_SplitEx(rest, "|", kChunksNoExclusion, lines, 1);
    return group;
}

std::string testLineText(const std::string& line) {
    const size_t tab = line.rfind('\t');
    return tab == std::string::npos ? line : line.substr(tab + 1);
}

}  // namespace logimport

namespace {

const std::string kListSEReferrers = "Lis&t Referrers [selected SE]";
const std::string kBackToDefinitions = "&Back to definitions";

}  // namespace

void STTA_UndefinedSTList(core::StrArray& undefinedRows, core::StrArray& referrersPerHost,
                          core::StrArray& unknownHosts) {
    if (undefinedRows.count() == 0) {
        if (MB_MsgBox("No lines found for which could not determine search term.", "&OK|" + kUnknownSECaption, "",
                      "") == 2)
            STTA_UnknownSEList(undefinedRows, referrersPerHost, unknownHosts);
        return;
    }
    logimport::ResultList list{
        .header = "SE selected using\tReferrers for which  could not find search term",
        .layout = "12000||||||||3|1|1|{2000|12000}",
        .buttons = kListSEReferrers + "|" + kUnknownSECaption,
        .back = kBackToDefinitions,
        .message = "Raw log data found for which could not identify a search term." + gCRCR +
                   "Select a search engine line and press Edit to see referrer strings for that search engine.",
        .hint = "search engine line"};
    for (;;) {
        long chosen = 0;
        const int pressed = logimport::showResultList(undefinedRows, list, chosen);
        if (pressed == 1) {
            STTA_TestLinesView(chosen - 1, undefinedRows, "site", "referrer");
        } else {
            if (pressed == 2) STTA_UnknownSEList(undefinedRows, referrersPerHost, unknownHosts);
            return;
        }
    }
}

namespace {

// The box asks for the count the list shows ("at least n"), which is one more than the
// threshold; Cancel, an empty answer or one that is no whole number leaves it as it was.
long askThreshold(long threshold) {
    const std::string answer = TXT_Normalize(
        MB_Input("Count of unique referrers required to Appear on this list", "", std::to_string(threshold + 1)), "",
        true, false, false, "", "");
    if (answer.empty()) return threshold;
    if (answer.find_first_not_of("0123456789") != std::string::npos || answer.size() > 9) {
        MB_Info("Enter the count as a whole number, such as 4.");
        return threshold;
    }
    return std::max(0L, std::stol(answer) - 1);
}

}  // namespace

void STTA_UnknownSEList(core::StrArray& undefinedRows, core::StrArray& referrersPerHost,
                        core::StrArray& unknownHosts) {
    long threshold = 3;
    long selected = 1;
    for (;;) {
        core::StrArray rows = logimport::unknownSERows(unknownHosts, referrersPerHost, threshold);
        logimport::ResultList list{
            .header = "Site\treferrer string",
            .layout = "14000||||||||3|1|1|{3000|11000}|{1|1}",
            .buttons = kListSEReferrers + "|Chan&ge # referrers reqd to list|" + kUndefinedSTCaption,
            .back = kBackToDefinitions,
            .message = "Showing Only Items with at least " + std::to_string(threshold + 1) + " unique referrers",
            .hint = "site to see list of referrers for that site",
            .state = std::to_string(selected) + "|1"};
        long chosen = selected;
        const int pressed = logimport::showResultList(rows, list, chosen);
        if (pressed == 1) {
            selected = chosen;
            STTA_TestLinesView(selected - 1, rows, "site", "referrer");
        } else if (pressed == 2) {
            threshold = askThreshold(threshold);
        } else {
            if (pressed == 3) STTA_UndefinedSTList(undefinedRows, referrersPerHost, unknownHosts);
            return;
        }
    }
}

void STTA_TestLinesView(long startRow, const core::StrArray& rows, const std::string& groupWord,
                        const std::string& itemWord) {
    long row = startRow;
    for (;;) {
        core::StrArray lines;
        const std::string group = logimport::testLinesSplit(rows, row, lines);
        logimport::ResultList list{.layout = "14000|||||||||1||{13750}|{1}",
                                   .buttons = "Sho&w Line in full|&Copy Line to Clipboard|&Next|&Prev",
                                   .back = "&Back to List",
                                   .hint = itemWord + " to display/copy",
                                   .title = "List of " + itemWord + "s for " + groupWord + ": " + group};
        long chosen = 0;
        const int pressed = logimport::showResultList(lines, list, chosen);
        const std::string text = logimport::testLineText(LLIST_StrArrItem(lines, chosen, ""));
        if ((pressed == 1 || pressed == 2) && chosen == 0) {
            MB_Info("Select a " + itemWord + " in the list first.");
        } else if (pressed == 1) {
            // The note goes in the caption, so that Ctrl+C copies the line alone.
            MB_Info(text, nullptr, false, "", "Press Ctrl+C to copy " + itemWord + ".");
        } else if (pressed == 2) {
            TXT_ClipboardSet(text);
        } else if (pressed == 3) {
            if (++row > rows.ubound()) {
                if (MB_MsgBox("No More. Restart at top?", "4", "", "") != 1) return;
                row = 0;
            }
        } else if (pressed == 4) {
            if (--row < 0) {
                if (MB_MsgBox("No More. Restart at end?", "4", "", "") != 1) return;
                row = rows.ubound();
            }
        } else {
            return;
        }
    }
}

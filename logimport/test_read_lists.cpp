#include "logimport/test_read_lists.h"

#include <algorithm>

#include "core/delimited_lists.h"
#include "core/text.h"

namespace logimport {

core::StrArray unknownSERows(const core::StrArray& unknownHosts, const core::StrArray& referrersPerHost,
                             long threshold) {
    std::vector<std::string> rows{""};
    for (long i = 0; i <= unknownHosts.ubound(); ++i) {
        const std::string list = LLIST_StrArrItem(referrersPerHost, i, "");
        // Items are counted, not "|" characters, so that a list that had to escape a
        // "|" inside a referrer is not miscounted.
        if (list.empty() || CHUNKS_Count(list) <= threshold) continue;
        rows.push_back(unknownHosts[i] + "\t" + list);
    }
    std::stable_sort(rows.begin(), rows.end());
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

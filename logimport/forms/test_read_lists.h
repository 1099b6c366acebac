#pragma once
// The result lists of a referrer test read: the search-engine definitions whose
// referrers gave no search term, the referrer hosts no definition knows, and the line
// viewer that steps through the referrers (or file names) behind one row. A viewer row
// is "group value<tab>lines", the lines a "|" list in which further tabs also separate
// lines.
#include <string>

#include "core/typed_array.h"

inline const std::string kUndefinedSTCaption = "Undefined &ST - ST not found in referrer for known SE domain";
inline const std::string kUnknownSECaption = "Unknown S&E.s  - domain in referrer string not defined";

void STTA_UndefinedSTList(core::StrArray& undefinedRows, core::StrArray& referrersPerHost,
                          core::StrArray& unknownHosts);
void STTA_UnknownSEList(core::StrArray& undefinedRows, core::StrArray& referrersPerHost,
                        core::StrArray& unknownHosts);
// Shows the lines of row `startRow` and steps to the next or previous row on request.
void STTA_TestLinesView(long startRow, const core::StrArray& rows, const std::string& groupWord,
                        const std::string& itemWord);

namespace logimport {

// One of the read-only result lists: tab-separated rows under a header, the caller's
// buttons after a back button that Esc also presses.
struct ResultList {
    std::string header{};
    std::string layout{};   // the grid's control spec
    std::string buttons{};  // "|" list of the caller's buttons
    std::string back{};
    std::string message{};
    std::string hint{};     // what the user selects ("Select " + hint)
    std::string title{};    // "" is "Select " + hint
    std::string state{};    // in and out: the grid's chosen row and scroll state
};
// Shows the rows; 0 for the back button or closing, else the number of the caller's
// button pressed (1 for the first). `chosen` gets the chosen row from 1, 0 for none.
int showResultList(core::StrArray& rows, ResultList& list, long& chosen);

// "host<tab>referrers" for each host with more than `threshold`
// referrers, sorted as text.
core::StrArray unknownSERows(const core::StrArray& unknownHosts, const core::StrArray& referrersPerHost,
                             long threshold);

// The group value of a viewer row and its lines from 1. A row outside the rows reads
// as the empty text.
std::string testLinesSplit(const core::StrArray& rows, long row, core::StrArray& lines);

// What "show in full" and "copy" take of a line: the text after its last tab.
std::string testLineText(const std::string& line);

}  // namespace logimport

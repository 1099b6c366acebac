#pragma once
// Robot preprocessing's filters: the user agents found on the lines that asked for
// robots.txt are offered as new robot filters, less those on the skip list or
// satisfying a skip filter (both kept in gIniPPFindBotsSkipUAs); and the report of what
// each robot filter rejected during a test read.
#include <string>
#include <vector>

#include "core/typed_array.h"
#include "logimport/filter_rules.h"

// Lets the user choose which of the found user agents (with their line counts, items
// from 1) become robot filters; the skip list may be extended on the way and is saved
// whatever the user then presses. `chosen` is empty after Cancel. Returns the button
// that ended the choice (2 OK, 1 Cancel).
int STTA_BotUAsChoose(const core::StrArray& userAgents, const core::LngArray& counts, core::StrArray& chosen);

// Removes every user agent that satisfies one of the skip filters, with its count
// (items from 1).
void STTA_SkipUAsApply(core::StrArray& userAgents, core::LngArray& counts);

// The filter list of the skip filters. Returns the list's result.
int STTA_SkipFltrsEdit();

// The user agents each robot filter of the read record rejected in a test read
// (values: a "|" list per rule; counts: lines per rule, both by rule number), as a
// table from which one filter's values can be listed. An empty message gets the
// report's own.
void STTA_BotFltrHitsShow(const core::StrArray& values, const core::LngArray& counts, std::string& message);

namespace fltr {
// The report's rows: filter, values and count joined by tabs, for each rule of `robots`
// that rejected a line.
std::vector<std::string> botHitsRows(const FltrSet& robots, const core::StrArray& values,
                                     const core::LngArray& counts);
}  // namespace fltr

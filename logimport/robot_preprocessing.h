#pragma once
// Robot preprocessing: the user agents collected by a test read of the lines that ask
// for robot instructions are checked against the robot filters; those no filter
// rejects are candidates for new filters, and the chosen ones are written as new
// "Starts with" filters of the program-wide robot filter file.
#include <string>

#include "core/typed_array.h"
#include "logimport/read_record.h"

// Stands for every field other than the user agent, which a bare user agent lacks.
inline const std::string kRobotNoDataMarker = "::: cannot check this condition do not have data @:%$^$";
inline const std::string kRobotFilterList = "SkipRobotUserAgents";

// The collected user agents (items from 1) that no robot filter rejects, with their
// line counts; both start as the single item 0. Filters on other fields cannot judge
// a bare user agent: the user is told once.
void STTA_RobotsFind(const ReadRec& rec, core::StrArray& candidates, core::LngArray& counts);
// Each non-blank item becomes a filter "yyyymmdd.n" of the list, one rule of the kind
// on the column code; the first new filter is stored as [Filters] FltrBotsUASel.
// Returns the number of filters written.
long STTA_RobotFiltersWrite(core::StrArray& userAgents, const std::string& iniFile, const std::string& listName,
                            long colType, long ruleKind, bool matchCase);

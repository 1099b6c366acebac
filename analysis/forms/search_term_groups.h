#pragma once
// The editor of the named groups of values that grouped reports and plots combine
// into one row. The groups live in the site's INI lists: the list of group names at
// (list name, list key) and each group's values at (list name, group) through "::*".
#include <string>

#include "analysis/results.h"

// Lets the user create, edit, copy and remove the groups of the list, choosing each
// group's values among the values of the results. Returns the group dialog's result:
// 2 when the groups were changed.
int STTA_STGroupsEdit(const STTA_Results& results, const std::string& listKey, const std::string& listName);

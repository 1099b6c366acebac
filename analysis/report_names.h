#pragma once
// The vocabulary of the reports: each kind's title and the titles of its two
// distribution columns, the kinds offered per analysis group, and the group lists.
#include <string>

// The kind's title; col1 and col2 get its 1st and 2nd distribution column titles
// (col2 is left alone for a kind that has no 2nd column).
std::string STTA_ReportTypeName(long kind, std::string& col2, std::string& col1);
// The kinds offered for an analysis group: 1 all reports, 2 words and phrases.
std::string STTA_ReportKindList(long group);
// The INI name of the group lists of a kind ("" for kinds without groups).
std::string STTA_GroupListName(long kind);

#pragma once
// The report kinds in one table: each kind's title and distribution column titles, the
// lists and report forms it is offered in, the options of its analysis and the rule by
// which a visit gives its values. Everything that differs by kind reads it here, so a
// new kind is one more row.
#include <string>
#include <vector>

#include "analysis/results.h"

// How a visit gives the values a kind counts.
enum class VisitValueRule {
    SearchTerm,
    StartPage,
    TermWithStartPage,  // start page + " - " + term
    ExitPage,
    Track,              // the visited pages in sequence, as one text
    VisitedPages,
    VisitedFolders,
    Referrer,
    Engine,
    Phrases,            // words and phrases of the term, shortestPhrase..longestPhrase words
    ItemZero,           // every visit counts at item 0, the empty value
};

// What a visit's 2nd distribution value (Dist2Vals) is.
enum class Dist2Rule { StartPage, SearchTerm, Nothing, Kept /* what the analysis's variable holds */ };

struct ReportKindSpec {
    long kind;
    const char* title;
    const char* dist1Title;
    const char* dist2Title;  // nullptr: the kind sets no 2nd column title

    // Lists and report forms.
    bool inAllReports;          // offered in the list of every report, in table order
    bool inWordReports;         // offered in the list of word and phrase reports
    const char* groupSection;   // INI section of its group lists; "" for none
    const char* groupNameList;  // entry of the group names in that section
    bool groupedOffered;        // a Grouped report is offered in the report list
    bool restRow;               // grouped: items in no group make a Rest row, else one row each

    // Options of its analysis and its report table.
    const char* threshold;  // [Main] threshold entry; nullptr for none
    bool clickThruAllowed;  // the surf-to-pages column may be shown
    bool fileTypeColumn;
    int itemColumnWidth;    // twips

    // Counting rule.
    VisitValueRule values;
    int shortestPhrase, longestPhrase;  // Phrases only
    Dist2Rule dist2Value;
    bool dist1IsTerm;  // the 1st distribution value is the term, else the engine
};

// The row of a kind; a number outside the table is the custom kind (10).
const ReportKindSpec& STTA_ReportKind(long kind);
// The kinds offered in a list, in the order of the table: group 1 every report, group
// 2 the words and phrases.
std::vector<long> STTA_ReportKinds(long group);

// The kind's title; col1 and col2 get its 1st and 2nd distribution column titles
// (col2 is left alone for a kind that has no 2nd column).
std::string STTA_ReportTypeName(long kind, std::string& col2, std::string& col1);
// The title alone.
std::string STTA_ReportTitle(long kind);
// The title as a plural for captions and messages: "s" added, except that a title
// already ending in "s" stays, and the word before a bracket or a closing "Found"
// takes the "s" ("Visited Dirs (any Page in folder)", "Pages Found").
std::string STTA_ReportTitlePlural(long kind);
// The kinds offered for an analysis group as a "|" list: 1 all reports, 2 words and
// phrases.
std::string STTA_ReportKindList(long group);
// The INI section of the group lists of a kind ("" for kinds without groups).
std::string STTA_GroupListName(long kind);

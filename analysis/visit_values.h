#pragma once
// The values one visit counts for in a report of a kind: its search term, start or
// exit page, track, visited pages or folders, referrer, engine, or the words and
// phrases of its term; with the two texts its distribution lists take. Also the
// site areas an analysis can be limited to.
#include <string>
#include <unordered_set>
#include <vector>

#include "analysis/results.h"
#include "logimport/visit_building.h"
#include "platform/dao/database.h"

// The fields of a visit the values are taken from.
struct AnalysedVisit {
    long VisitID = 0;
    long StartPageID = 0;
    std::string StzdSearchTerm;  // as stored; empty when the visit came from no engine
    std::string SearchEngine;
    std::string NONSERefr;
};

// What one visit counts for.
struct VisitValues {
    std::vector<std::string> values;
    std::string dist2;  // Dist2Vals: the term, or the start page for kinds 1 and 11-21
    std::string dist1;  // Dist1Vals: the engine, or the term for kinds 11-21
};

// A term with its start page is counted as "page - term"; its page is the text before
// the first joint, since a term may hold " - " itself.
inline constexpr char kStartPageTermJoint[] = " - ";
std::string STTA_StartPageOfTermValue(const std::string& value);

// Adds the term's phrases of n words (words cleaned of non-alphanumeric edges),
// leaving out exact repeats; nothing when the term is shorter, unless `shortTerm`.
void STTA_PhrasesAdd(const std::string& term, int n, std::vector<std::string>& values, bool shortTerm);
// The words and phrases the kind (12 to 21) asks for, shortest first.
void STTA_PhraseValuesForKind(const std::string& lowerTerm, long kind, std::vector<std::string>& values);

// The values of one visit. `start` is the start page name and `further` the names of
// its further counted pages, in order; kind 4 may change `further`. `dist2` keeps
// what the caller passed where the kind sets nothing (kinds 8 to 10).
void STTA_VisitReportValues(long kind, const STTA_Results& results, dao::Database& db, const AnalysedVisit& visit,
                            const std::string& start, std::vector<std::string>& further, VisitValues& out);

// The referrer as the referrer report shows it: the visit's own non-engine referrer,
// else its engine, else the host of its log lines' first usable referrer, else
// "UNKNOWN referrer".
std::string STTA_VisitReferrerText(dao::Database& db, const AnalysedVisit& visit);
// The host (without "www.") of the first referrer of the visit's log lines that has
// one; `found` is set when one was found, else the last host read is given.
std::string STTA_VisitReferrerHost(dao::Database& db, long visitID, bool& found);

// The page IDs of the area's pages (names not in the page table are left out).
void STTA_SiteAreaPageIDs(dao::Database& db, const std::string& area, std::unordered_set<long>& pageIDs);
// True when one of the visit's pages belongs to the area.
bool STTA_VisitInSiteArea(const std::unordered_set<long>& areaPageIDs, const std::vector<long>& visitPageIDs);

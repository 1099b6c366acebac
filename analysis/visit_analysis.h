#pragma once
// The analysis of the visits of a date range into a results record, for one report
// kind: which values the visits had, how many went on to further pages, which targets
// they reached, per day, with the distribution lists. The record is built fresh and
// swapped in only when the analysis completes, so a Stop (error 1066) or a failure
// leaves the previous results as they were.
#include <string>

#include "analysis/results.h"
#include "platform/dao/database.h"

// Writes the default thresholds into [Main] of the site's parameters where empty.
void STTA_ThresholdsDefault();
// Reads the analysis options: AnalStartEnd, SepFrag, SepQuery and the three
// distribution flags.
void STTA_AnalOptsLoad(STTA_AnalOpts& opts);
// The date condition on a stamp field: from the first day's 000000 to the last day's
// 999999, as plain digits.
std::string STTA_DateClause(const std::string& field, const STTA_AnalOpts& opts);
// The list "|a|b|" of the items trimmed, with "|" at both ends.
std::string STTA_PipeWrap(const std::string& list);
// The file-type options of the record; extensions of target pages are taken out of
// the skipped types (with a box saying which).
void STTA_FileTypeOptsLoad(STTA_Results& results);
// Sets up the record for an analysis of the days first..last (date serials).
void STTA_ResultsInit(dao::Database& db, double firstDay, double lastDay, STTA_Results& results, long kind);

// Analyses the visits of the date range of [Main] AnalStartEnd into `results` for
// the kind; true when a record was made (false when the range holds no visits, with
// a box saying so). The record is only replaced on success.
bool STTA_VisitsAnalyse(dao::Database& db, STTA_Results& results, long topCount, long kind);

// The whole stored range of the site's visits as a date range "yyyy-mm-dd|yyyy-mm-dd";
// empty when the site holds no visits.
std::string STTA_StoredRangeText(dao::Database& db);

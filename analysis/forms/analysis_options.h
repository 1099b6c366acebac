#pragma once
// The option dialogs of the Edit and Analysis menus. Their controls are defined in
// screens.ini and their values live in [Main] of the site's parameters, so the
// analysis and the reports read what the user chose.
#include <string>
#include <vector>

#include "platform/dao/database.h"

// What a missing or empty [Main] entry already means to its readers.
struct MissingMeans {
    const char* entry;
    const char* value;
};

// Writes those meanings into the site's parameters before an option dialog shows, so
// that its controls show them and its rules accept them.
void STTA_MissingMeaningsPut(const std::vector<MissingMeans>& meanings);

// The analysis date range with the distribution columns and minimum visitors:
// the range offered is [Main] AnalStartEnd, the dates available those of the stored
// visits. True when the user accepted; the range is then written back.
bool STTA_AnalysisOptionsEnter(dao::Database& db);

// Before an analysis dialog of the screens.ini section: fixes the option the site's
// database decides ([Main] EraseNonSE of its definition) and writes [Main]
// SiteAreaDesc, the site area the analysis is limited to.
void STTA_ConfirmRepPrepare(const std::string& section);

// The dates and options confirmed before a report's new analysis, with the caller's
// OK caption and text; true when OK was pressed and the range written back.
bool STTA_ReportDatesEnter(dao::Database& db, const std::string& okCaption, const std::string& text);

// The report options ("RepFmt"), program options ("EnterOps", shown until OK or
// Cancel) and advanced analysis options ("analopsadvnc"), by menu code ER, EO or SC.
// Returns the pressed button: 1 OK, 2 Cancel.
long STTA_OptionsDialogShow(const std::string& code);

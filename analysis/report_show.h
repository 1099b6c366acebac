#pragma once
// What a report command does before a window shows anything: analyse the visits of
// the date range for the report's kind and write the report's table.
#include <string>

#include "analysis/report_table.h"
#include "platform/dao/database.h"

// Report modes of the Reports menu.
inline constexpr long kReportTop = 1, kReportAll = 2, kReportGrouped = 3;

// Analyses for the kind into gResults (the whole stored range when no date range is
// set yet) and writes the report of the mode; false when there was nothing to show
// (the user has been told).
bool STTA_ReportPrepare(dao::Database& db, long kind, long mode, ReportTable& table, std::string& caption);

#pragma once
// File > "Add ne&w raw log data": the dialog in which the user picks the log files,
// the filters and the read options, and the run that reads the files into the current
// site and builds their visits, ending with a completion text.
#include <string>

#include "logimport/read_record.h"

void STTA_AddLogData();
// The body of the completion message of a run.
std::string STTA_AddCompletionText(const std::string& fileSpec, const std::string& mainTime, const ReadRec& rec,
                                   const std::string& preprocessingTime, const std::string& statusText);
// Always true: the reports may be filled.
bool STTA_ResultsReadyCheck();

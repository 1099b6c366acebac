#pragma once
// File > "Add ne&w raw log data": the dialog in which the user picks the log files,
// the filters and the read options, and the run that reads the files into the current
// site and builds their visits, ending with a completion text.
#include <string>

#include "logimport/addition_run.h"

void STTA_AddLogData();

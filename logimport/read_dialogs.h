#pragma once
// The dialogs around a read of log files: the read options and the choice of the
// filter sets that decide which lines are skipped.
#include <string>

// The three prompt options of the read record as check boxes, and, after a read that
// kept the failed requests, their list. Asks again after the list until OK.
void STTA_ReadLogOptionsEdit();

// The remembered filter choices of an addition with a description of the selected main
// filters, and the buttons to edit each filter list. True on OK, false on Cancel.
bool STTA_FltrChoose(const std::string& intro, const std::string& title);

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

// The filter lists of a read: the main filter, the page-component filter, the filter
// that finds robots in preprocessing, and the robot filters of `iniFile`, all of which
// are applied.
void STTA_LdLnFltrListEdit();
void STTA_FltrFilesListEdit();
void STTA_PPFindBotsListEdit();
void STTA_FltrBotsListEdit(const std::string& iniFile);

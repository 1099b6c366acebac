#pragma once
// The dialog that edits one entry of the list of log files: a file spec (a "*" stands
// for any run of characters) and, optionally, the log-format definition to read it
// with. Its values pass through section TmpVals of the screens file: "1" the file pattern,
// "2" the definition's name, "3" whether the entry names a definition.
#include <string>

// True when the user accepted the entry; both arguments then hold what was accepted
// (an empty name when the entry names no definition). Cancel leaves them alone.
bool STTA_LogFileEntryDialog(std::string& fileSpec, std::string& defName);

namespace logimport {

// Copies the log-format names ([Main] AcD, kept in logfmts.ini) to [EnterLogFile] AcD
// of the screens file, and the choice list of the dialogs' format lists beside it
// (FmtChoices: an empty pre-chosen item, then the names).
void logFmtNamesToScreens();

}  // namespace logimport

#pragma once
// The two lists a user keeps for reading logs: the current site's log files ([Main]
// "Log Files", each entry a file spec with an optional " [LogFormat: name]" suffix)
// and the named log-format definitions ([Main] AcD of logfmts.ini, each definition's
// format lines in [name] DefsCDS).
#include <string>

// The log-file list dialog. `entry` comes in as the entry to show chosen and goes out
// as the one the user chose, edited or copied. While the list is open the default
// format ([Main] LFmtDflt) is the list's remembered control; it is stored back on
// every way out.
void STTA_LogFileSpecsEdit(std::string& entry);
// The add-data command and the test reads ask for the log file by this name.
void STTA_LogFileSpecChoose(std::string& entry);

// The log-format definitions dialog: new, copied and edited definitions and their
// format lines (the first line that matches a log line is used for it); removing a
// name keeps the definition's own section.
void STTA_LogFmtDefsEdit();

#pragma once
// Small services on the operating system: the default printer, opening a file by its
// association, short paths, the system version, and timeouts measured on the
// injectable clock.
#include <string>

// The user profile's [windows] device: the default printer. Other entries do not
// exist here. Missing: "*** not found ***" unless the INI store's missing-entry mode is
// 0, then "".
std::string SYS_WinIniGet(const std::string& section, const std::string& key);

// Opens, prints or explores the file by its association (xdg-open, lp). `actionSpec`
// is "verb|parameters|show" and is normalised in place (unknown verbs become "open",
// a show number outside 0-10 becomes 1). On failure the per-file error dialog runs
// and `skipAll` carries its Skip All. True when the system accepted the action.
bool SYS32_ShellExec(std::string& file, std::string& actionSpec, bool& skipAll);
std::string SYS32_ShellExecErrText(int code);

// Paths have no short form here.
std::string SYS32_ShortPath(const std::string& path);

// The system version the file-name checks go by; always the long-name rules here.
double WINVER_Get();

struct TimeoutRec {
    double Start = 0;   // seconds since midnight
    double Finish = 0;
    bool Expired = false;
};

void TIMEOUT_Start(double seconds, TimeoutRec& rec);
// True when expired; `firstTime` is true only on the first call that finds it so.
bool TIMEOUT_Expired(TimeoutRec& rec, bool& firstTime);
// As TIMEOUT_Expired, and an expired timeout starts its next period at once.
bool TIMEOUT_ExpiredRestart(TimeoutRec& rec, bool& firstTime);

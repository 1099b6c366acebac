#pragma once
// The program put together: every menu command of the main window wired to the
// subsystem that does its work, and what a run of those commands owns (the analyses).
// main() and the main-road test build the program through this one object.
#include "app/analysis_commands.h"

class Mainfrm;

class ProgramCommands {
public:
    explicit ProgramCommands(Mainfrm& main);
    // The shell's hooks into the commands go with them.
    ~ProgramCommands();

    AnalysisCommands& analysis() { return analysis_; }

private:
    AnalysisCommands analysis_;
};

#pragma once
// The menu commands that open the option dialogs of the analysis and the reports:
// the analysis date range and options, the report, program and advanced options.
class Mainfrm;

void wireAnalysisOptionCommands(Mainfrm& main);

#pragma once
// The menu commands that open the option dialogs of the analysis and the reports:
// the analysis date range and options, the report, program and advanced options, and
// the search-term groups. The
// report dispatch gets the date-range dialog for the dates of a new analysis.
class Mainfrm;
class ReportDispatch;

void wireAnalysisOptionCommands(Mainfrm& main, ReportDispatch& dispatch);

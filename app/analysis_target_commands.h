#pragma once
// The menu commands that choose what an analysis looks at besides dates: the targets
// to analyse and the site area. Either change asks for a new analysis.
class Mainfrm;
class ReportDispatch;

void wireAnalysisTargetCommands(Mainfrm& main, ReportDispatch& dispatch);

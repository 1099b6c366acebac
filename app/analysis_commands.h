#pragma once
// The menu commands whose work lives in the analysis: every report of the Reports
// menu opens its results window. Wired here, where the program is put together.
class Mainfrm;

void wireAnalysisCommands(Mainfrm& main);

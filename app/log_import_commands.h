#pragma once
// The menu commands whose work lives in the log import. The shell sits below the log
// import, so these are wired here, where the program is put together.
class Mainfrm;

void wireLogImportCommands(Mainfrm& main);

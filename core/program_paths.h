#pragma once
// The program's path globals. The shell sets them at start-up and on every change of
// site; every subsystem reads them. Folder paths end in "/".
#include <string>

inline std::string gProductName = "Dravolin";
inline std::string gAppPath;   // the program folder
inline std::string gHelpPath;  // gAppPath + "help/"

// The code of the last menu command, set before the command's work so that help for
// the last function finds it even when the command failed.
inline std::string gCurrMnu;

// Program-wide INI files, in the program folder's "param" folder.
inline std::string gIniScreens;
inline std::string gIniLogFmts;
inline std::string gIniSiteDbs;
inline std::string gIniFltrBots;
inline std::string gIniPPFindBots;
inline std::string gIniPPFindBotsSkipUAs;

// The current site's INI files, in its "param" folder.
inline std::string gIniLastVals;
inline std::string gIniSTgroups;
inline std::string gIniNonSERefrgrps;
inline std::string gIniSummaryLines;
inline std::string gIniVisitedPages;
inline std::string gIniVisitedDirs;
inline std::string gIniSiteareas;
inline std::string gIniTargets;
inline std::string gIniSvdAnalParms;
inline std::string gIniDbDef;
// The dialog builder's file of remembered screens, which holds the dialog font
// ("MB formats"): the program's screens.ini.
inline std::string gMBIniFile;
inline std::string gIniLdLnFltr;
inline std::string gIniFltrFiles;

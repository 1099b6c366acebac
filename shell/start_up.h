#pragma once
// Bringing the program up and the database test with its recovery loop, without the
// window: the main window passes in what only it can do. The program's end from in
// here is sys::EndProgram, which main() catches.
#include <functional>
#include <string>

inline bool gDebugMode = false;
inline bool gNoErrTrap = false;

namespace shell {

inline const std::string kUninstallSwitch = "/1UNINST";
inline const std::string kRecoverySiteName = "Site Created for Recover";

// What loading needs of the main window.
struct StartupWindow {
    std::function<void()> maximize;
    // Shows the window (modeless) and yields once to the event loop.
    std::function<void()> showAndYield;
    // The File menu's "&Select site database" and "Add new site &database".
    std::function<void()> selectSite;
    std::function<void()> newSite;
};

// Sets gAppPath from the program folder.
void setProgramFolder(const std::string& programFolder);

// Makes the program folder from the resources on the first start; when that fails the
// user is told why and the program ends with status 1.
void openProgramFolder(const std::string& folder, const std::string& resources);

// The load steps after the window exists: line breaks, the program folder, paths,
// command line, first site, opening the current site and the database test. Ends the program by sys::EndProgram.
void loadSteps(const std::string& commandLine, const StartupWindow& window);

// Why the site list (sitedbs.ini) cannot be read: it cannot be opened, holds binary
// data, or holds text without a [Main] section. "" when it reads, or is not there.
std::string siteListProblem(const std::string& path);
// Asks for the first site's name when sitedbs.ini has no NmFirstSite and creates it.
// A site list that cannot be read is reported and left alone: the program ends.
void createFirstSite(const StartupWindow& window);
// Opens a recordset on the visit table of gDB; any error propagates.
void testSiteDBRead();
// Why opening the current site failed, when it did.
struct OpenFailure {
    int number = 0;
    std::string description;
};
// The database test with the recovery box; false when the user chose Exit. A failure
// to write the site's files is named in the box; a database another program holds
// locked is named as in use, with an offer to try again and none to replace it.
bool openSiteDBOrRecover(const StartupWindow& window, const OpenFailure& openFailure = {});

}  // namespace shell

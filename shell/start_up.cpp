#include "shell/start_up.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "core/ini_store.h"
#include "core/path_checks.h"
#include "core/program_paths.h"
#include "core/text.h"
#include "core/user_interface.h"
#include "platform/dao/errors.h"
#include "platform/profile/profile.h"
#include "platform/profile/shipped_files.h"
#include "platform/sys/program_folder.h"
#include "platform/sys/rt_error.h"
#include "shell/database_utilities.h"
#include "shell/hooks.h"
#include "shell/sites.h"
#include "shell/site_commands.h"

namespace shell {
namespace {

// Errors that say a file or folder may not be written: read-only database,
// permission denied, path/file access error.
const std::string kShippedSiteFolder = "FirstSite";

bool cannotWrite(int number) { return number == 3027 || number == 70 || number == 75; }

std::string recoveryMessage(const std::string& writeError) {
    if (!writeError.empty())
        return "Startup/Database error." + gCRCR + "The files of the current site cannot be written." +
               gCRCR + writeError + gCRCR +
               "Give yourself write permission on the site's folder and its files, or select another database.";
    return "Startup/Database error." + gCRCR + "Site database cannot be read." + gCRCR + "Possible reasons include:" +
           gCR + "You have deleted site database folders or files" + gCR +
           "You have deleted site parameter folders or files" + gCR + "Corrupt installation." + gCR +
           "Corrupt database." + gCRCR + "To Recover, first try to select a another database." + gCR +
           "If that does not work Exit the program and reinstall.";
}

OpenFailure openCurrentSite() {
    try {
        STTA_SiteOpen();
    } catch (const sys::RtError& e) {
        return {e.number(), e.description()};
    }
    return {};
}

std::string inUseMessage() {
    return "The site database " + TBL_DataSetDBPath("Site1", gIniDbDef) + " is in use by another program." +
           gCRCR + "Close the program that holds it (a database browser, a backup or copying program), then try "
                   "again." + gCRCR + "The database is not damaged: nothing of it is changed.";
}

// The folders of sites in the program folder (a site database and its dbdef.ini),
// by name. The shipped placeholder has no database and is not one.
std::vector<std::string> siteFoldersOnDisk() {
    std::vector<std::string> folders;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(gAppPath, ec)) {
        if (!entry.is_directory(ec) || entry.is_symlink(ec)) continue;
        const std::filesystem::path folder = entry.path();
        if (std::filesystem::is_regular_file(folder / "data/site1.db", ec) &&
            std::filesystem::is_regular_file(folder / "param/dbdef.ini", ec))
            folders.push_back(folder.string() + "/");
    }
    std::sort(folders.begin(), folders.end());
    return folders;
}

// Puts each folder back on the site list under the name its dbdef.ini holds (made
// unique), and makes the current site, or else the first, the first site.
void listSitesAgain(const std::vector<std::string>& folders) {
    std::string current, first;
    for (const std::string& folder : folders) {
        const std::string dbdef = folder + "param/dbdef.ini";
        std::string name(core::trimBlanks(INI_Get("Main", "Parm", dbdef, kIniMissingEmpty)));
        if (name.empty()) name = std::filesystem::path(folder).parent_path().filename().string();
        const std::string listed = addUniqueSiteName(name);
        if (listed != name) INI_Put("Main", "Parm", listed, dbdef);
        INI_Put(listed, "Parm", PAFN_StoredFolder(folder), gIniSiteDbs);
        if (first.empty()) first = listed;
        if (std::filesystem::path(folder) == std::filesystem::path(gMainDataDir + "/").lexically_normal())
            current = listed;
    }
    if (current.empty()) {
        INI_Put("Main", "Main Data Dir", PAFN_StoredFolder(folders.front()), gAppPath + "Dir.ini");
        STTA_IniFileNamesInit();
        current = first;
    }
    INI_Put("Main", "NmFirstSite", current, gIniSiteDbs);
}

// An empty site list beside site folders is a lost list, not a first start: the user
// chooses. True when the sites are listed again.
bool offerToListSitesAgain() {
    if (!core::trimBlanks(INI_Get("Main", "DBNameLst", gIniSiteDbs, kIniMissingEmpty)).empty()) return false;
    const std::vector<std::string> folders = siteFoldersOnDisk();
    if (folders.empty()) return false;
    std::string names;
    for (const std::string& folder : folders) names += gCR + folder;
    const int pressed = core::ui().msgBox(
        "The site list " + gIniSiteDbs + " is empty, but these site folders are in the program folder:" + names +
            gCRCR + "List them again to go on with their data, or start afresh with a new first site (the "
                    "folders stay where they are).",
        "&List Them Again|Start &Afresh|E&xit " + gProductName, "Esc=3|DfltButton=1|", gProductName);
    if (pressed == 1) {
        listSitesAgain(folders);
        return true;
    }
    if (pressed != 2) throw sys::EndProgram(0);
    return false;
}

}  // namespace

void setProgramFolder(const std::string& programFolder) {
    gAppPath = programFolder;
    if (gAppPath.empty() || gAppPath.back() != '/') gAppPath += '/';
}

void openProgramFolder(const std::string& folder, const std::string& resources) {
    try {
        sys::ensureProgramFolder(folder, resources);
    } catch (const sys::RtError& e) {
        core::ui().systemOk("Dravolin cannot create its folder " + folder + ".\n\n" + e.description(),
                            "Dravolin");
        throw sys::EndProgram(1);
    }
    // A folder from an earlier version gets what this one ships; without it the program
    // still runs, only the new help pages or dialogs are missing.
    try {
        profile::addMissingShippedFiles(folder, resources);
    } catch (const sys::RtError& e) {
        core::ui().systemOk("Dravolin cannot add its new help pages and dialog definitions to " + folder + ".\n\n" +
                                e.description(),
                            "Dravolin");
    }
}

void loadSteps(const std::string& commandLine, const StartupWindow& window) {
    gDebugMode = false;
    gNoErrTrap = false;
    TXT_CrLfInit();
    if (window.maximize) window.maximize();
    gProductName = "Dravolin";
    setProgramFolder(sys::programFolder());
    installShellHooks();
    STTA_IniFileNamesInit();
    gHelpPath = gAppPath + "help/";
    if (commandLine == kUninstallSwitch) {
        STTA_UninstallCleanup();
        throw sys::EndProgram(0);
    }
    createFirstSite(window);
    // The database test that follows reports a failure and offers recovery.
    if (!openSiteDBOrRecover(window, openCurrentSite())) throw sys::EndProgram(0);
}

std::string siteListProblem(const std::string& path) {
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) return {};
    std::ifstream in(path, std::ios::binary);
    if (!in) return "it cannot be opened (" + std::string(std::strerror(errno)) + ").";
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return "it cannot be read to its end.";
    if (bytes.find('\0') != std::string::npos) return "it holds binary data, not the text of a list.";
    if (bytes.find_first_not_of(" \t\r\n") != std::string::npos && !profile::sectionLines("Main", path))
        return "it has no [Main] section, where the sites are listed.";
    return {};
}

void createFirstSite(const StartupWindow& window) {
    if (const std::string why = siteListProblem(gIniSiteDbs); !why.empty()) {
        core::ui().systemOk("The site list " + gIniSiteDbs + " cannot be read: " + why + "\n\n" + gProductName +
                                " ends and leaves the file as it is, so that no site is forgotten. Put back a copy "
                                "of the file from a backup, or move it aside to start a new site list (the sites' "
                                "folders stay where they are).",
                            gProductName);
        throw sys::EndProgram(1);
    }
    if (INI_Get("Main", "NmFirstSite", gIniSiteDbs, kIniMissingMarker) != kIniNotFound) return;
    if (offerToListSitesAgain()) return;
    gCurrMnu = "FW";
    if (window.showAndYield) window.showAndYield();
    std::string message, name;
    for (;;) {
        name.clear();
        int pressed = core::ui().inputBox("Enter your name for first site which you want to analyse." +
                                              TXT_Repeat(gCRCR, 5),
                                          "&OK|E&xit", "Enter Site Name", message, name);
        core::ui().unloadStrayBoxes();
        if (pressed != 1) throw sys::EndProgram(0);
        name = core::trimBlanks(name);
        if (name.empty()) {
            message = "Name is required.";
            continue;
        }
        message = siteNameProblem(name);
        if (!message.empty()) continue;
        if (INI_CheckUniqueName("Main", "DBNameLst", gIniSiteDbs, name, false, message, false)) break;
    }
    const std::string shippedSite = gMainDataDir;
    STTA_SiteCreate(name, false, true, true, true, true, false);
    INI_Put("Main", "NmFirstSite", STTA_SiteParmGet(), gIniSiteDbs);
    // The shipped placeholder site only seeds the first site's files.
    if (shippedSite == gAppPath + kShippedSiteFolder) {
        std::error_code ec;
        std::filesystem::remove_all(shippedSite, ec);
    }
}

void testSiteDBRead() {
    dao::QueryDef query = gDB.createQueryDef("", "SELECT * FROM visit");
    dao::Recordset rs = query.openRecordset(dao::RecordsetType::Dynaset);
}

bool openSiteDBOrRecover(const StartupWindow& window, const OpenFailure& openFailure) {
    OpenFailure failure = openFailure;
    for (;;) {
        try {
            testSiteDBRead();
            return true;
        } catch (const sys::RtError& e) {
            if (failure.number == 0) failure = {e.number(), e.description()};
        }
        if (failure.number == dao::kErrLocked) {
            int pressed = core::ui().msgBox(inUseMessage(), "&Try Again|&Select Database|E&xit " + gProductName,
                                            "Esc=3|DfltButton=1|", gProductName);
            if (pressed == 3) return false;
            if (pressed == 1) failure = openCurrentSite();
            if (pressed == 2) {
                failure = {};
                if (window.selectSite) window.selectSite();
            }
            continue;
        }
        const std::string writeError = cannotWrite(failure.number) ? failure.description : std::string();
        failure = {};
        int pressed = core::ui().msgBox(recoveryMessage(writeError),
                                        "&Select Database|Create Ne&w Database|E&xit " + gProductName,
                                        "Esc=3|DfltButton=1|", gProductName);
        if (pressed == 1) {
            if (window.selectSite) window.selectSite();
        } else if (pressed == 2) {
            std::string name = addUniqueSiteName(kRecoverySiteName);
            STTA_SiteCreate(name, false, true, true, true, true, true);
            if (window.newSite) window.newSite();
        } else if (pressed == 3) {
            return false;
        }
    }
}

}  // namespace shell

#include "shell/start_up.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "core/ini_store.h"
#include "core/path_checks.h"
#include "core/program_paths.h"
#include "core/text.h"
#include "core/user_interface.h"
#include "platform/profile/profile.h"
#include "platform/profile/shipped_files.h"
#include "platform/sys/program_folder.h"
#include "platform/sys/rt_error.h"
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
    std::string openError;
    bool openFailedWriting = false;
    try {
        STTA_SiteOpen();
    } catch (const sys::RtError& e) {
        // The database test that follows reports it and offers recovery.
        openError = e.description();
        openFailedWriting = cannotWrite(e.number());
    }
    if (!openSiteDBOrRecover(window, openFailedWriting ? openError : std::string()))
        throw sys::EndProgram(0);
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

bool openSiteDBOrRecover(const StartupWindow& window, const std::string& writeError) {
    for (;;) {
        try {
            testSiteDBRead();
            return true;
        } catch (const sys::RtError&) {
        }
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

#include "shell/start_up.h"

#include "core/ini_store.h"
#include "core/program_paths.h"
#include "core/text.h"
#include "core/user_interface.h"
#include "dialogs/msgbox.h"
#include "dialogs/option_strings.h"
#include "platform/sys/program_folder.h"
#include "platform/sys/rt_error.h"
#include "shell/hooks.h"
#include "shell/sites.h"
#include "shell/site_commands.h"

namespace shell {

void setProgramFolder(const std::string& programFolder) {
    gAppPath = programFolder;
    if (gAppPath.empty() || gAppPath.back() != '/') gAppPath += '/';
    const std::string dirIni = gAppPath + "Dir.ini";
    std::string dataDir = INI_Get("Main", "Main Data Dir", dirIni, 3);
    if (!dataDir.empty() && dataDir.front() != '/') INI_Put("Main", "Main Data Dir", gAppPath + dataDir, dirIni);
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
    try {
        STTA_SiteOpen();
    } catch (const sys::RtError&) {
        // The database test that follows reports it and offers recovery.
    }
    if (!openSiteDBOrRecover(window)) throw sys::EndProgram(0);
}

void createFirstSite(const StartupWindow& window) {
    if (INI_Get("Main", "NmFirstSite", gIniSiteDbs, 1) != kIniNotFound) return;
    gCurrMnu = "FW";
    if (window.showAndYield) window.showAndYield();
    std::string message, name;
    for (;;) {
        name.clear();
        int pressed = core::ui().inputBox("Enter your name for first site which you want to analyse." +
                                              TXT_Repeat(gCRCR, 5),
                                          "&OK|E&xit", "Enter Site Name", message, name);
        MB_UnloadStray("");
        if (pressed != 1) throw sys::EndProgram(0);
        name = TXT_Normalize(name, {}, true, false, false, {}, {});
        if (name.empty()) {
            message = "Name is required.";
            continue;
        }
        message = siteNameProblem(name);
        if (!message.empty()) continue;
        if (INI_CheckUniqueName("Main", "DBNameLst", gIniSiteDbs, name, false, message, false)) break;
    }
    STTA_SiteCreate(name, false, true, true, true, true, false);
    INI_Put("Main", "NmFirstSite", STTA_SiteParmGet(), gIniSiteDbs);
}

void testSiteDBRead() {
    dao::QueryDef query = gDB.createQueryDef("", "SELECT * FROM visit");
    dao::Recordset rs = query.openRecordset(dao::RecordsetType::Dynaset);
}

bool openSiteDBOrRecover(const StartupWindow& window) {
    for (;;) {
        try {
            testSiteDBRead();
            return true;
        } catch (const sys::RtError&) {
        }
        int pressed = MB_MsgBox(
            "Startup/Database error." + gCRCR + "Site database cannot be read." + gCRCR + "Possible reasons include:" +
                gCR + "You have deleted site database folders or files" + gCR +
                "You have deleted site parameter folders or files" + gCR + "Corrupt installation." + gCR +
                "Corrupt database." + gCRCR + "To Recover, first try to select a another database." + gCR +
                "If that does not work Exit the program and reinstall.",
            "&Select Database|Create Ne&w Database|E&xit " + gProductName, MB_OptEsc(3) + MB_OptDfltButton(1), gProductName);
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

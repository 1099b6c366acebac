#include "shell/sites.h"

#include <sys/stat.h>

#include <filesystem>

#include "core/delimited_lists.h"
#include "core/error_handler.h"
#include "core/file_actions.h"
#include "core/file_names.h"
#include "core/ini_alt_files.h"
#include "core/ini_store.h"
#include "core/path_checks.h"
#include "core/program_paths.h"
#include "core/system_info.h"
#include "core/table2d.h"
#include "core/text.h"
#include "core/user_interface.h"
#include "platform/dao/database.h"
#include "platform/sys/rt_error.h"
#include "shell/database_utilities.h"
#include "shell/hooks.h"
#include "shell/log_import_hooks.h"
#include "shell/table_building.h"
#include "shell/table_upgrade.h"

namespace {

// Copies are silent: a missing file shows up at the next table building or test.
constexpr int kSilent = -1;

std::function<void(const std::string&)>& captionSink() {
    static std::function<void(const std::string&)> sink;
    return sink;
}

std::function<void(const std::string&)>& analysisOffer() {
    static std::function<void(const std::string&)> offer;
    return offer;
}

std::string& caption() {
    static std::string text;
    return text;
}

std::string dirIni() { return gAppPath + "Dir.ini"; }

std::string siteFolder(const std::string& name) {
    return PAFN_FolderFromStored(INI_Get(name, "Parm", gIniSiteDbs, kIniMissingEmpty));
}

std::string withSlash(std::string folder) {
    if (!folder.empty() && folder.back() != '/') folder += '/';
    return folder;
}

std::string withoutSlash(std::string folder) {
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    return folder;
}

void copyFromCurrentSite(const std::string& newFolder, const std::string& relative) {
    FMAN_CopyIntoDir(gMainDataDir, newFolder, relative, kSilent);
}

// Moves a folder below recycled/; true when it moved.
bool recycleFolder(const std::string& folder, std::string& target) {
    target = shell::recycledTarget(folder);
    bool created = false;
    if (!FMAN_MakeDirs(FILENAM_Dir(target), 0, created, kSilent)) return false;
    bool noMore = true;
    return FMAN_RenameFile(withoutSlash(folder), target, kSilent, noMore);
}

std::string yesNo(bool flag) { return flag ? "YES" : "NO"; }

// The size and modification time of a file, "" when it cannot be looked at.
std::string fileStamp(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return {};
    return std::to_string(st.st_size) + " " + std::to_string(st.st_mtim.tv_sec) + "." +
           std::to_string(st.st_mtim.tv_nsec);
}

// SQLite's quick check reads the whole file, seconds for a site of millions of lines:
// a file unchanged since it last passed is not read again at opening. An addition still
// checks before it writes.
void warnIfDamaged() {
    const std::string stamp = fileStamp(gDB.path());
    if (!stamp.empty() && INI_Get("Main", "DbPassedCheck", gIniLastVals, kIniMissingEmpty) == stamp) return;
    if (const std::string found = gDB.damage(); !found.empty()) {
        core::ui().msgBox("The database of site " + STTA_SiteParmGet() + " is damaged:" + gCR + found + gCRCR +
                              "Its reports may be incomplete, and no log data will be added to it." + gCRCR +
                              "Database: " + gDB.path() + gCRCR +
                              "Put back a copy of that file from a backup, or make a new site and add the "
                              "site's log files to it.",
                          "0", "", gProductName);
        return;
    }
    if (gDB.damageChecked()) INI_Put("Main", "DbPassedCheck", stamp, gIniLastVals);
}

// A compaction killed part-way leaves its copy and the copy's journal beside the
// site. The site's lock is ours once it is open, so no compaction is running.
void removeCompactionLeftovers(const std::string& dbPath) {
    for (const char* suffix : {".compact", ".compact-journal", ".temp", ".temp-journal"}) {
        std::error_code ec;
        std::filesystem::remove(dbPath + suffix, ec);
    }
}

}  // namespace

void STTA_IniFileNamesInit() {
    PAFN_CheckMainDataDir();
    auto site = [](const std::string& file) { return PAFN_FullPath(file, "param"); };
    auto program = [](const std::string& file) { return gAppPath + "param/" + file; };
    gPAFN_Errorlog = PAFN_FullPath("errors.log");
    gIniLastVals = site("LastVals.ini");
    gIniSTgroups = site("STgroups.ini");
    gIniNonSERefrgrps = site("NonSERefrgrps.ini");
    gIniSummaryLines = site("SummaryLines.ini");
    gIniVisitedPages = site("VisitedPages.ini");
    gIniVisitedDirs = site("VisitedDirs.ini");
    gIniSiteareas = site("Siteareas.ini");
    gIniDbDef = site("dbdef.ini");
    gIniSvdAnalParms = site("SvdAnalParms.ini");
    gIniFltrFiles = site("FltrFiles.ini");
    gIniLdLnFltr = site("LdLnFltr.ini");
    gIniScreens = program("screens.ini");
    gMBIniFile = gIniScreens;
    gIniLogFmts = program("logfmts.ini");
    gIniSiteDbs = program("sitedbs.ini");
    gIniFltrBots = program("fltrbots.ini");
    gIniPPFindBots = program("ppfindbots.ini");
    gIniPPFindBotsSkipUAs = program("ppfindbotsskipuas.ini");
    gIniTargets = site("targets.ini");
    INI_AltListsLoad(gMainDataDir, {gAppPath + "param"});
}

void STTA_SiteCreate(std::string& name, bool keepExtraData, bool skip404, bool removeQuery,
                     bool removeFragment, bool skipNonSearchEngine, bool noAddDataOffer) {
    std::string cleaned = name;
    PAFN_ReplaceInvalidChars(cleaned, "", true);
    std::string folder = PAFN_UniqueDirName(gAppPath + cleaned);
    bool created = false;
    FMAN_MakeDirs(folder, 0, created, kSilent);

    // An empty database: table building adds the tables.
    FMAN_MakeDirs(folder + "data", 0, created, kSilent);
    dao::Database(folder + "data/site1.db", dao::OpenOptions{.create = true});
    for (const char* def : {"param/def/visit.def", "param/def/page.def", "param/def/visitpages.def"})
        copyFromCurrentSite(folder, def);
    bool noMore = true;
    FMAN_CopyFile(gAppPath + (keepExtraData ? "param/def/logline_keep.def" : "param/def/logline_nokeep.def"),
                  folder + "param/def/logline.def", kSilent, noMore);
    for (const char* ini : {"param/targets.ini", "param/STgroups.ini", "param/LdLnFltr.ini", "param/FltrFiles.ini",
                            "param/LastVals.ini", "param/dbdef.ini"})
        copyFromCurrentSite(folder, ini);

    const std::string dbdef = folder + "param/dbdef.ini";
    INI_Put("Main", "Parm", name, dbdef);
    INI_Put("Main", "LastKeepVal", keepExtraData, dbdef);
    INI_Put("Main", "EraseNonSE", skipNonSearchEngine, dbdef);
    INI_Put("Main", "Skip404", skip404, dbdef);
    INI_Put("Main", "RemQuery", removeQuery, dbdef);
    INI_Put("Main", "RemFrag", removeFragment, dbdef);
    INI_Put(name, "Parm", PAFN_StoredFolder(folder), gIniSiteDbs);

    STTA_SiteSelect(name, false);
    INI_Put("Main", "Main Data Dir", PAFN_StoredFolder(folder), dirIni());
    INI_Put("Main", "ShowOnlySelSiteArea", false, "::*");
    INI_Put("Main", "ShowOnlySelSiteAreaParm", "", "::*");
    INI_Put("Main", "AddedLogLns_MustDoVisitsAdd", "", gIniLastVals);
    // The dates to analyse and the log files are the other site's: the new site starts
    // on its own data's whole range and with no log files.
    INI_Put("Main", "AnalStartEnd", "", gIniLastVals);
    INI_Put("Main", "PAFNlog", "", gIniLastVals);
    INI_Put("Main", "Log Files", "", gIniLastVals);
    if (noAddDataOffer) return;
    if (core::ui().msgBox("Site DB >>" + name + "<< created." + gCRCR + "Use " +
                              TXT_RemoveAmpV("Add ne&w raw log data") +
                              " to read raw log data and add it to the database." + gCRCR +
                              "Do you want to add data now?",
                          "&Yes|&No", "", "") == 1)
        shell::addLogData();
}

bool STTA_SiteSelect(const std::string& name, bool offerAnalysis) {
    std::string folder = siteFolder(name);
    std::string message;
    if (!PAFN_CheckDirExists(folder, false, message)) {
        core::ui().info("Database NOT changed. A problem was found with the folder containing parameters and "
                        "data for the database you selected." + gCRCR + "Problem Details:" + gCR + message, "");
        return false;
    }
    STTA_SiteDBClose();
    INI_Put("Main", "Main Data Dir", PAFN_StoredFolder(withSlash(siteFolder(name))), dirIni());
    STTA_IniFileNamesInit();
    STTA_SiteOpen();
    if (offerAnalysis && analysisOffer()) analysisOffer()("site database " + name);
    return true;
}

void STTA_SiteOpen() {
    gArrGrowRows = 1;
    bool allowZeroLength = true;
    BLDTBL_CheckAllAndAddTbls(gIniDbDef, allowZeroLength);
    TBL_OpenDataSetDB("Site1", gIniDbDef, gDB);
    removeCompactionLeftovers(gDB.path());
    try {
        TBL_SiteTablesUpgrade(gDB);
    } catch (const sys::RtError&) {
        // Rolled back: the old indexes serve every query as before; the next opening tries again.
    }
    caption() = gProductName + shell::kCaptionSiteSep + STTA_SiteParmGet();
    if (captionSink()) captionSink()(caption());
    warnIfDamaged();
}

void STTA_SiteDBClose() {
    try {
        gDB.close();
    } catch (...) {
    }
}

void STTA_SiteRemove(const std::string& name) {
    std::string folder = siteFolder(name);
    int answer = core::ui().msgBox(
        "Site removed from this List." + gCRCR + "Do you also want to delete all parameters and data for this site?" +
            gCRCR +
            "*** WARNING This will move the entire directory to Recycled and it will be deleted permanently "
            "whenever you next empty the recycle folder. Any files you created manually or with any other "
            "program in the same folder will be deleted." +
            gCRCR + "Are you sure?" + gCRCR + "Press YES to erase folder: " + folder,
        "&Yes|&No", "", "");
    if (answer != 1) return;
    std::string target;
    if (!recycleFolder(folder, target))
        core::ui().info("Delete folder " + folder + " FAILED." + gCRCR +
                            "Try to delete the folder again using a file manager after ending " + gProductName +
                            " and-or restarting your computer.", "");
}

void STTA_SitesMoveToRecycled() {
    core::StrArray names;
    CHUNKS_Split(INI_Get("Main", "DBNameLst", gIniSiteDbs, kIniMissingEmpty), names, 1);
    std::string report;
    for (long i = 1; i <= names.ubound(); ++i) {
        std::string folder = siteFolder(names[i]);
        if (folder.empty()) continue;
        std::string target;
        if (recycleFolder(folder, target))
            report += gCR + FILENAM_NameNoExt(withoutSlash(folder)) + " - " + target;
    }
    if (!report.empty()) core::ui().info("Databases moved to recycle directory:" + report, "");
}

void STTA_UninstallCleanup() {
    try {
        gCurrMnu = "FD";
        if (core::ui().msgBox("Do you want to delete all site databases that you created?", "&Yes|&No", "", "") == 1) {
            core::ui().unloadStrayBoxes();
            STTA_SitesMoveToRecycled();
        }
        core::ui().unloadStrayBoxes();
        std::string page = INI_Get("Main", shell::kUninstallPageKey, gAppPath + "param/lastinstvals.ini", kIniMissingEmpty);
        if (page.empty()) return;
        std::string action = "open||1";
        bool skipAll = true;
        SYS32_ShellExec(page, action, skipAll);
    } catch (const sys::RtError&) {
    }
}

void STTA_SiteDBOptionsShow(const std::string& name) {
    const std::string dbdef = withSlash(siteFolder(name)) + "param/dbdef.ini";
    auto flag = [&](const char* key) { return yesNo(INI_GetFlag("Main", key, dbdef)); };
    std::string remQuery = flag("RemQuery"), remFrag = flag("RemFrag"), skip404 = flag("Skip404"),
                eraseNonSE = flag("EraseNonSE"), keep = flag("LastKeepVal");
    core::ui().info("Database Options for Site DB: " + name + gCR + gCRCR +
                        "Skip 404s [Skip Log Lines with HTTP status 4xx or 5xx]: " + skip404 + gCRCR +
                        "Skip visitors NOT referred by a search engine: " + eraseNonSE + gCRCR + gCRCR +
                        "Advanced:" + gCRCR + "Remove Query String from page name stored: " + remQuery + gCRCR +
                        "Remove Fragment from page name stored: " + remFrag + gCRCR +
                        "Store (Keep) Extra data [referrer, user agent etc.]: " + keep, "");
}

namespace shell {

void setCaptionSink(std::function<void(const std::string&)> sink) { captionSink() = std::move(sink); }
void setAnalysisOffer(std::function<void(const std::string&)> offer) { analysisOffer() = std::move(offer); }
const std::string& mainCaption() { return caption(); }

std::string recycledTarget(const std::string& folder) {
    const std::string path = withoutSlash(folder);
    const std::string program = withSlash(gAppPath);
    const std::string base = path.rfind(program, 0) == 0 ? program + "recycled/" + path.substr(program.size())
                                                         : program + "recycled" + path;
    // A folder recycled before under the same name stays as it is.
    std::string target = base;
    std::error_code ec;
    for (int n = 2; std::filesystem::exists(target, ec); ++n) target = base + "." + std::to_string(n);
    return target;
}

std::string siteNameProblem(const std::string& name) {
    std::string folder = name;
    PAFN_ReplaceInvalidChars(folder, "", true);
    if (folder == name && (name.empty() || name.front() != '.')) return {};
    // No bar in the text itself: the box's notice would cut it there.
    return "The name is also the name of the site's folder: it cannot begin with \".\" nor hold any of "
           "\\ / : * ? \" < > or a vertical bar.";
}

}  // namespace shell

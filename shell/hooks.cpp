#include "shell/hooks.h"

#include "core/program_paths.h"
#include "core/text.h"
#include "shell/sites.h"

namespace {

constexpr int kKeyF1 = 112;

// The path global that "::*" stands for, or null for a section that is not routed.
std::string* routedGlobal(const std::string& section, const std::string& key) {
    if (section == "Main") return key == "AcD" ? &gIniLogFmts : &gIniLastVals;
    if (section == "Groups") return &gIniSTgroups;
    if (section == "NonSERefrgrps") return &gIniNonSERefrgrps;
    if (section == "SummaryLines") return &gIniSummaryLines;
    if (section == "VisitedPages") return &gIniVisitedPages;
    if (section == "VisitedDirs") return &gIniVisitedDirs;
    if (section == "SiteAreas") return &gIniSiteareas;
    if (section == "EnterLogFile" || section == "TmpVals" || section == "AnalOpsScreens") return &gIniScreens;
    if (section == "Browser For Help") return &gIniSiteDbs;
    return nullptr;
}

shell::HelpViewer& helpViewer() {
    static shell::HelpViewer viewer;
    return viewer;
}

}  // namespace

void STTA_IniSectFile(int mode, const std::string& section, const std::string& key, std::string& file) {
    std::string* global = routedGlobal(section, key);
    if (!global) return;
    if (mode == 1) file = *global;
    else if (mode == 2) *global = file;
}

std::string STTA_IniSectFileGet(const std::string& section, const std::string& key) {
    std::string file;
    STTA_IniSectFile(1, section, key, file);
    return file;
}

void STTA_IniSectFileSet(const std::string& section, const std::string& key, std::string file) {
    STTA_IniSectFile(2, section, key, file);
}

void STTA_MBKeyDown(core::UiHandle, int keyCode, int) {
    if (keyCode == kKeyF1) STTA_HelpShow(gCurrMnu);
}

void STTA_HelpShow(const std::string& code) {
    core::UserInterface& u = core::ui();
    int pointer = u.mousePointer();
    u.setMousePointer(11);
    // Before any command there is no menu page: the contents, not a page named ".htm"
    // that the help viewer would report as deleted.
    const std::string page = code.empty() ? std::string() : gHelpPath + TXT_FitLen(code, 1) + ".htm";
    if (helpViewer()) helpViewer()(page, code);
    u.setMousePointer(pointer);
}

bool STTA_HookStrPass(int, const std::string&, int, int) { return false; }
bool STTA_HookFalse() { return false; }
std::string STTA_HookStrCopy(const std::string& text) { return text; }
void STTA_HookEmpty2() {}

void STTA_HookEmpty1(int, int) {}

std::string STTA_HookEmptyVariant(int, const std::string&, const std::string&, const std::string&,
                                  const std::string&) {
    return {};
}

namespace shell {

void setHelpViewer(HelpViewer viewer) { helpViewer() = std::move(viewer); }

std::string AppShellHooks::iniSectFileGet(const std::string& section, const std::string& key) {
    return STTA_IniSectFileGet(section, key);
}

void AppShellHooks::iniSectFileSet(const std::string& section, const std::string& key, const std::string& file) {
    STTA_IniSectFileSet(section, key, file);
}

bool AppShellHooks::hookStrPass(int code, const std::string& text, int extra1, int extra2) {
    return STTA_HookStrPass(code, text, extra1, extra2);
}
bool AppShellHooks::hookFalse() { return STTA_HookFalse(); }
std::string AppShellHooks::hookStrCopy(const std::string& text) { return STTA_HookStrCopy(text); }
void AppShellHooks::hookEmpty1(int keyCode, int shift) {
    STTA_HookEmpty1(keyCode, shift);
}

void AppShellHooks::hookEmpty2() { STTA_HookEmpty2(); }

std::string AppShellHooks::iniValueHook(int code, const std::string& section, const std::string& entry,
                                        const std::string& file, const std::string& value) {
    return STTA_HookEmptyVariant(code, section, entry, file, value);
}
void AppShellHooks::mbKeyDown(int& keyCode, int& shift) { STTA_MBKeyDown(nullptr, keyCode, shift); }

dao::Database* AppShellHooks::siteDatabase() { return gDB.isOpen() ? &gDB : nullptr; }

void installShellHooks() {
    static AppShellHooks hooks;
    core::setShellHooks(&hooks);
}

}  // namespace shell

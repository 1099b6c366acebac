#include "help/help_display.h"

#include "core/file_names.h"
#include "core/ini_store.h"
#include "core/path_checks.h"
#include "core/program_paths.h"
#include "core/shell_actions.h"
#include "core/system_info.h"
#include "core/text.h"
#include "help/html_to_text.h"
#include "help/linked_browser.h"
#include "core/url_routines.h"

namespace help {
namespace {

class PlainBoxes : public HelpBoxes {
public:
    void popup(const std::string& text, const std::string& caption) override { core::ui().info(text, caption); }
    int browserWarning(const std::string&) override { return 1; }
    void showSameHelpItem(core::UiHandle) override {}
};

HelpBoxes*& installedBoxes() {
    static HelpBoxes* boxes = nullptr;
    return boxes;
}

HelpBoxes& boxes() {
    static PlainBoxes plain;
    return installedBoxes() ? *installedBoxes() : plain;
}

constexpr char kMain[] = "Main";
constexpr char kTryBrowser[] = "Try IE when show help";
constexpr char kBrowserSection[] = "Browser For Help";
constexpr char kShortName[] = "<shortname<";
constexpr char kSectionEnd[] = "<!ESEC>";

// Puts back the state found on entry on every way out, errors included, so that a
// nested request never clears the guard of the popup still open under it.
class StateRestore {
public:
    StateRestore() : saved_(gHelpState) {}
    ~StateRestore() { gHelpState = saved_; }
    StateRestore(const StateRestore&) = delete;
    StateRestore& operator=(const StateRestore&) = delete;

private:
    long saved_;
};

std::string browserWarningText() {
    return "Error when trying to open help in the help window or in your browser. The browser used for help "
           "is set by the entry \"Ac\" of section [Browser For Help] in sitedbs.ini: without it the help "
           "window is used, \".\" opens help with the desktop's default program, and a program template such "
           "as \"firefox>>O\" runs that program." +
           gCRCR + gProductName +
           " will now display help requested on a popup. Help text is formatted and has links available when "
           "shown in the help window." +
           gCRCR + "Press OK to continue." + gCR + "Press \"" + TXT_RemoveAmpV("&Always use popup") +
           "\" to skip the attempt to use a browser next time help is used.";
}

}  // namespace

void setHelpBoxes(HelpBoxes* b) { installedBoxes() = b; }

}  // namespace help

std::string HELP_SectionRead(const std::string& file, const std::string& topic) {
    FindInFileResult found;
    if (topic.empty()) {
        if (FNDINFIL_Find(file, "", help::kSectionEnd, 1, false, false, found)) return found.between;
    } else {
        for (const std::string& start : {"<a name=\"" + topic + "\">", "<a name=" + topic + ">"})
            if (FNDINFIL_Find(file, start, help::kSectionEnd, 1, false, false, found)) return found.between;
    }
    return "<BODY>No Help Available for menu item: " + topic + "</BODY>";
}

std::string HELP_PopupText(const std::string& section) {
    std::string html = section;
    for (const char* lineBreak : {"<br>", "<br/>", "<br />"}) html = TXT_Replace(html, lineBreak, "\r\n", false);
    bool ok = false;
    std::string text = HTMLGEN_TextOf(html, ok);
    if (!ok) text = "** Error when reading Help Text. **" + gCRCR + text;
    return TXT_WrapText(HTML_DecodeEntities(text, false), 2, "", true, false);
}

bool HELP_ShowInBrowser(std::string& browserSpec, core::UiHandle owner, core::UiHandle main,
                        const std::string& helpFile, const std::string& topic) {
    std::string path = helpFile;
    if (browserSpec.find(help::kShortName) != std::string::npos) {
        path = SYS32_ShortPath(path);
        browserSpec = TXT_RemoveChar(browserSpec, help::kShortName, true);
    }
    const std::string url = HHTML_PathToFileURL(path) + (topic.empty() ? "" : "#" + topic);
    // Openers often drop or choke on a fragment, so by default they get the bare path.
    const std::string target = INI_GetFlag(help::kBrowserSection, "PassURLWithFragment", "::*", kIniMissingEmpty) ? url : path;

    auto linked = [&] {
        if (!HELP32_OpenInLinkedIE(owner, url)) return false;
        help::boxes().showSameHelpItem(main);
        return true;
    };
    auto byAssociation = [&] {
        std::string file = target, action;
        bool skipAll = true;  // the warning that follows says what went wrong
        return SYS32_ShellExec(file, action, skipAll);
    };
    if (browserSpec == kIniNotFound || TXT_StartsWith(browserSpec, "LinkedIE", false))
        return linked() || byAssociation();
    if (core::trimBlanks(browserSpec) == ".") return byAssociation() || linked();
    std::string section = help::kBrowserSection;
    bool skipAll = true;
    return SHELDDE_OpenPrintExplore(browserSpec, section, target, skipAll);
}

void HELP_Show(core::UiHandle owner, core::UiHandle main, const std::string& helpFile, const std::string& topic) {
    help::StateRestore restore;
    std::string file = helpFile.empty() ? gHelpPath + "helpcont.htm" : helpFile;
    std::string shownTopic = topic;
    if (file == ":::") {
        file = gHelpLastFile;
        shownTopic = gHelpLastTopic;
    } else {
        gHelpLastFile = file;
        gHelpLastTopic = topic;
    }

    std::string problem;
    if (file.empty() || !PAFN_CheckFileExists(file, false, problem)) {
        if (gHelpState != -1) {
            gCurrMnu.clear();  // so that help for the last command does not repeat it
            gHelpState = -1;
            core::ui().info("Help File has been deleted or moved. Reinstall " + gProductName +
                                " will usually fix this problem." + gCRCR + "File that cannot be found:" + gCR + file,
                            "");
        }
        return;
    }

    // The guard is held through the browser attempt and its warning, so that F1 in
    // the warning does not start another attempt; this request still goes on to the popup.
    bool guardHeld = false;
    if (gHelpState == 0 && INI_GetFlag(help::kMain, help::kTryBrowser, "::*", kIniMissingDefault, "True")) {
        gHelpState = 2;
        guardHeld = true;
        std::string spec = INI_Get(help::kBrowserSection, "Ac", "::*", kIniMissingMarker);
        if (HELP_ShowInBrowser(spec, owner, main, file, shownTopic)) return;
        if (help::boxes().browserWarning(help::browserWarningText()) == 2)
            INI_Put(help::kMain, help::kTryBrowser, false, "::*");
    }
    if (gHelpState == 3) return;
    if (gHelpState == 2 && !guardHeld) {
        gHelpState = 3;
        core::ui().info("Help already displayed." + gCRCR +
                            "If the help displayed does not answer your question, try looking at Help contents or "
                            "Send an email to " +
                            gProductName + " support.",
                        "");
        return;
    }
    gHelpState = 2;
    help::boxes().popup(HELP_PopupText(HELP_SectionRead(file, shownTopic)), gProductName + " Help.");
}

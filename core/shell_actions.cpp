#include "core/shell_actions.h"

#include <cctype>

#include "core/delimited_lists.h"
#include "core/file_names.h"
#include "core/ini_store.h"
#include "core/shell_hooks.h"
#include "core/system_info.h"
#include "core/text.h"
#include "core/user_interface.h"
#include "platform/sys/rt_error.h"
#include "platform/sys/spawn.h"

namespace {

const char kSubstitute[] = "Substitute %1 In: ";
const char kByAssociation[] = "Open/Print/Explore using Windows Association";
bool gDdeNoticeShown = false;

std::string trimmed(const std::string& s) {
    size_t b = s.find_first_not_of(' ');
    if (b == std::string::npos) return {};
    return s.substr(b, s.find_last_not_of(' ') - b + 1);
}

bool take(std::string& text, const std::string& marker) {
    if (text.find(marker) == std::string::npos) return false;
    text = TXT_Replace(text, marker, "", true);
    return true;
}

// What the placeholders stand for, worked out once per command.
struct Values {
    std::string file, folder, shortPath;
    std::string printer[3];
    bool cleared = false;  // no printer: the printer and file placeholders are emptied

    Values(const std::string& fileName, bool shortName, bool wantPrinter) {
        file = shortName ? SYS32_ShortPath(fileName) : fileName;
        folder = FILENAM_Dir(fileName);
        shortPath = SYS32_ShortPath(fileName);
        if (!wantPrinter) return;
        std::string entry = SYS_WinIniGet("windows", "device");
        if (entry == "*** not found ***") {
            core::ui().info("Cannot print. No printers have been defined." + gCRCR +
                                "Set up a printer in the system's printer settings.",
                            "");
            cleared = true;
            return;
        }
        for (int i = 0; i < 3; ++i) printer[i] = CHUNKS_Get(i + 1, entry + "||");
    }

    std::string apply(const std::string& text) const {
        if (text.find('%') == std::string::npos) return text;
        std::string out;
        for (size_t i = 0; i < text.size(); ++i) {
            char n = i + 1 < text.size() ? text[i + 1] : '\0';
            if (text[i] != '%' || !n) {
                out += text[i];
                continue;
            }
            char u = char(std::toupper(static_cast<unsigned char>(n)));
            if (n == '1' || u == 'L') out += cleared ? "" : file;
            else if (u == 'D' && !cleared) out += folder;
            else if (u == 'S' && !cleared) out += shortPath;
            else if (n >= '2' && n <= '4') out += printer[n - '2'];
            else { out += text[i]; continue; }
            ++i;
        }
        return out;
    }
};

bool wantsPrinter(const std::string& text) {
    return text.find("%2") != std::string::npos || text.find("%3") != std::string::npos ||
           text.find("%4") != std::string::npos;
}

std::string putFileName(const std::string& text, const std::string& name) {
    return TXT_Replace(TXT_Replace(text, ">>O", name, true), ">>P", name, true);
}

}  // namespace

void SHELDDE_ParseTemplate(const std::string& actionTemplate, TemplateParts& p) {
    p = {};
    std::string working = actionTemplate;
    if (size_t at = actionTemplate.find(">>"); at != std::string::npos) {
        p.fileNamePart = ">>" + actionTemplate.substr(at + 2);
        working = actionTemplate.substr(0, at);
    }
    p.program = trimmed(working.substr(0, working.find("<xparm<")));
    if (!p.program.empty() && p.program[0] == '"') {
        p.program.erase(0, 1);
        if (!p.program.empty() && p.program.back() == '"') p.program.pop_back();
    }
    p.noQuotes = take(working, "<noquotes<");
    p.dde = take(working, "<dde<");
    p.noSpcBetwExeParm = take(working, "<NoSpcBetwEXEnPARM<");
    p.noSpcBefFileNm = take(working, "<NoSpcBefFileNm<");
    p.shortName = take(working, "<shortname<");
    if (size_t at = working.find("<xparm<"); at != std::string::npos)
        p.extraParams = working.substr(at + 7);
}

std::string SHELDDE_PrepTemplate(const std::string& actionTemplate, const std::string& fileName,
                                 bool& dde, bool& shortName, std::vector<std::string>& argv) {
    TemplateParts p;
    SHELDDE_ParseTemplate(actionTemplate, p);
    dde = p.dde;
    shortName = p.shortName;
    std::string line = p.program.rfind(kSubstitute, 0) == 0 ? p.program.substr(sizeof kSubstitute - 1)
                                                            : "\"" + p.program + "\"";
    if (!p.extraParams.empty()) line += (p.noSpcBetwExeParm ? "" : " ") + p.extraParams;
    if (!p.fileNamePart.empty()) line += (p.noSpcBefFileNm ? "" : " ") + p.fileNamePart;
    line = TXT_Replace(line, "<shortname<", "", true);
    line = TXT_Replace(line, "<noquotes<", "", true);
    std::string name = p.shortName ? SYS32_ShortPath(fileName) : fileName;

    Values values(fileName, p.shortName, wantsPrinter(line));
    argv.clear();
    for (const auto& arg : sys::splitArguments(line)) argv.push_back(putFileName(values.apply(arg), name));
    return putFileName(values.apply(line), p.noQuotes ? name : "\"" + name + "\"");
}

void SHELDDE_SubstPlaceholders(std::string& text, const std::string& fileName, bool shortName) {
    if (text.find('%') == std::string::npos) return;
    text = Values(fileName, shortName, wantsPrinter(text)).apply(text);
}

bool SHELDDE_DoAction(const std::string& commandLine, const std::vector<std::string>& argv,
                      bool dde, bool, DDEDefs&, bool& skipAll) {
    int err = sys::spawner().start(argv);
    if (err != 0) {
        std::string text = commandLine, extra;
        int number = sys::vbErrorFromErrno(err);
        SHELDDE_ActionErrMsg(text, number, extra, skipAll);
        return false;
    }
    if (dde && !gDdeNoticeShown) {
        gDdeNoticeShown = true;
        core::ui().info("The program was started with the file. DDE messages are not sent on "
                        "this system.",
                        "");
    }
    return true;
}

void SHELDDE_ActionErrMsg(std::string& actionText, int& errNo, std::string& extraText,
                          bool& skipAll) {
    if (skipAll) return;
    std::string description =
        (errNo > 0 ? std::to_string(errNo) + "   " + sys::vbErrorDescription(errNo) : "") + extraText;
    actionText = core::shellHooks().hookStrCopy(actionText);
    int pressed = core::ui().msgBox(
        "Error when try to do Action. Action defined as: " + gCR + actionText + gCR +
            ". Change definition or correct problem and try again." + gCRCR + "Error Message: " +
            description + gCRCR +
            "Press \"Next File\" or Esc key to continue with other selected files and "
            "directories. Press Stop to abort.",
        "&Next File (Esc)|Skip &All Files With Errors|Sto&p", "Esc=1|", "");
    if (pressed == 2) skipAll = true;
    if (pressed == 3) sys::raise(sys::kErrUserAbort, "SHELDDE_ActionErrMsg");
}

void SHELDDE_DDEDefs(const std::string&, const std::string& section, const std::string& actionName,
                     std::string& iniFile, DDEDefs& defs) {
    defs.Msg = INI_Get(section, "DDE Msg " + actionName, iniFile, kIniMissingEmpty);
    defs.App = INI_Get(section, "DDE App " + actionName, iniFile, kIniMissingEmpty);
    defs.Topic = INI_Get(section, "DDE Topic " + actionName, iniFile, kIniMissingEmpty);
    defs.MsgIf = INI_Get(section, "DDE MsgIf " + actionName, iniFile, kIniMissingEmpty);
}

bool SHELDDE_OpenPrintExplore(std::string& actionTemplate, std::string& section,
                              const std::string& fileName, bool& skipAll) {
    if (actionTemplate == kByAssociation) {
        std::string spec = INI_Get(section, "AcOp", "::*", kIniMissingEmpty), file = fileName;
        return SYS32_ShellExec(file, spec, skipAll);
    }
    DDEDefs defs;
    std::string iniFile = "::*";
    SHELDDE_DDEDefs("h", section, "", iniFile, defs);
    bool dde = false, shortName = false;
    std::vector<std::string> argv;
    std::string line = SHELDDE_PrepTemplate(actionTemplate, fileName, dde, shortName, argv);
    return SHELDDE_DoAction(line, argv, dde, shortName, defs, skipAll);
}

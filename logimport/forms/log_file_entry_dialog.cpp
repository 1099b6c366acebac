#include "logimport/forms/log_file_entry_dialog.h"

#include <array>
#include <string_view>

#include "core/file_names.h"
#include "core/ini_store.h"
#include "core/path_checks.h"
#include "core/program_paths.h"
#include "core/site_name.h"
#include "core/stored_text.h"
#include "core/text.h"
#include "core/user_interface.h"
#include "dialogs/msgbox.h"
#include "dialogs/ready_dialogs.h"
#include "logimport/forms/log_file_lists.h"
#include "window/common_dialog.h"

namespace {

const std::string kRouted = "::*";
const std::string kTmpVals = "TmpVals";
const std::string kEnterLogFile = "EnterLogFile";

// Button numbers: the browse button of the definition comes before the box's own.
constexpr long kBrowse = 1;
constexpr long kOk = 2;
constexpr long kFormats = 3;
constexpr long kCancel = 4;

constexpr std::array<std::string_view, 7> kCompressedTypes = {"gz", "zip", "7z", "arj", "bz2", "rar", "tar"};

void valuesPut(const std::string& fileSpec, const std::string& defName) {
    INI_Put(kTmpVals, "1", fileSpec, kRouted);
    INI_Put(kTmpVals, "3", !defName.empty(), kRouted);
    if (!defName.empty()) INI_Put(kTmpVals, "2", defName, kRouted);
}

std::string valueGet(const std::string& entry) { return INI_Get(kTmpVals, entry, kRouted, kIniMissingEmpty); }

// Opens the file dialog in the folder last browsed; a chosen file becomes the entry's file pattern.
void browse() {
    const std::string lastDir = INI_Get("Main", "LastDir", kRouted, kIniMissingEmpty);
    const std::string current = valueGet("1");
    std::string file = lastDir.empty() ? current : lastDir + FILENAM_FileName(current);
    window::CommonDialog dialog;
    long flags = 0;
    std::string filter;
    long filterIndex = 1;
    std::string title = "Select single file name or return to options to enter spec [*-notation] for multiple files.";
    if (OPENDLOG_File(file, flags, dialog, filter, filterIndex, title)) INI_Put(kTmpVals, "1", file, kRouted);
    if (!dialog.FileName.empty()) INI_Put("Main", "LastDir", FILENAM_Dir(dialog.FileName), kRouted);
    core::ui().setMousePointer(0);
}

bool isCompressedType(const std::string& ext) {
    for (std::string_view t : kCompressedTypes)
        if (ext == t) return true;
    return false;
}

// A compressed type needs the user's word; then the path must name a file in a folder
// that exists (any characters but "/" may be in the name).
bool specAccepted(const std::string& spec) {
    const std::string probe = TXT_Replace(TXT_Replace(spec, "*", "X", true), "?", "X", true);
    if (isCompressedType(core::lowerAscii(FILENAM_Ext(probe)))) {
        const std::string question =
            "The file type for the file name entered is usually compressed. You must first un compress the data "
            "using an archive program." + gCRCR + "Entered file name: " + spec + gCRCR +
            "Do you want to add this file name to list of log files anyway?";
        if (MB_MsgBox(question, "4", "", "") != 1) return false;
    }
    std::string message;
    bool exists = false;
    return PAFN_CheckReadPath(probe, true, message, exists);
}

}  // namespace

namespace logimport {

void logFmtNamesToScreens() {
    const std::string names = INI_Get("Main", "AcD", kRouted, kIniMissingEmpty);
    INI_Put(kEnterLogFile, "AcD", names, kRouted);
    // A list control of a definition takes its value's first item as the one chosen.
    INI_Put(kEnterLogFile, "FmtChoices", "|" + names, kRouted);
}

}  // namespace logimport

bool STTA_LogFileEntryDialog(std::string& fileSpec, std::string& defName) {
    valuesPut(fileSpec, defName);
    const std::string message =
        "Enter (UN-compressed) Log File Specification. Site DB: " + STTA_SiteParmGet();
    const MB_ShowExArgs args{.controls = {.section = kEnterLogFile, .entry = "EnterLogFileDef", .iniFile = kRouted},
                             .dfltButton = kOk,
                             .escButton = kCancel};
    for (;;) {
        // Each pass, since the format editor may have changed the names.
        logimport::logFmtNamesToScreens();
        const long pressed = MB_ShowEx(message, "&OK|Specify Log For&mats|&Cancel", "", "", args);
        if (pressed == kBrowse) {
            browse();
        } else if (pressed == kFormats) {
            STTA_LogFmtDefsEdit();
        } else if (pressed != kOk) {
            return false;
        } else if (const std::string spec = valueGet("1"); specAccepted(spec)) {
            fileSpec = spec;
            defName = SYS32_StrIsTrue(valueGet("3")) ? valueGet("2") : std::string();
            return true;
        }
    }
}

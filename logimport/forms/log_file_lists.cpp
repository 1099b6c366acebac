#include "logimport/forms/log_file_lists.h"

#include <string>

#include "core/delimited_lists.h"
#include "core/ini_store.h"
#include "core/program_paths.h"
#include "core/site_name.h"
#include "core/text.h"
#include "core/typed_array.h"
#include "dialogs/edit_list_dialog.h"
#include "dialogs/list_dialog.h"
#include "dialogs/msgbox.h"
#include "dialogs/paged_list_dialog.h"
#include "dialogs/ready_dialogs.h"
#include "logimport/forms/log_file_entry_dialog.h"
#include "logimport/log_format.h"

namespace {

const std::string kRouted = "::*";
const std::string kMain = "Main";
const std::string kLogFiles = "Log Files";
const std::string kTmpVals = "TmpVals";
const std::string kEnterLogFile = "EnterLogFile";
const std::string kDefsCDS = "DefsCDS";
constexpr long kFmtLinesPage = 30;

// The list's remembered control 2 (the default format) keeps its value in TmpVals "2",
// where the entry dialog keeps its own format choice too. The default is therefore
// read back right after each showing of the list and stored on every way out, so that
// editing an entry never makes that entry's format the default.
class DefaultFormat {
public:
    // A site that has chosen none shows the shipped default.
    DefaultFormat() : name_(INI_Get(kMain, "LFmtDflt", kRouted, kIniMissingEmpty)) {
        if (core::trimBlanks(name_).empty()) name_ = STTA_LogFmtDefault();
    }
    ~DefaultFormat() {
        try {
            INI_Put(kMain, "LFmtDflt", name_, kRouted);
        } catch (...) {
            // The error that ends the list is the one to report.
        }
    }
    void toList() const { INI_Put(kTmpVals, "2", name_, kRouted); }
    void fromList() { name_ = INI_Get(kTmpVals, "2", kRouted, kIniMissingEmpty); }

private:
    std::string name_;
};

// The entry dialog on an entry's two parts; the joined entry when accepted.
bool entryDialog(const std::string& entry, std::string& result) {
    std::string spec, defName;
    STTA_LogFileEntrySplit(entry, spec, defName);
    if (!STTA_LogFileEntryDialog(spec, defName)) return false;
    result = STTA_LogFileEntryJoin(spec, defName);
    return true;
}

core::StrArray logFilesGet() {
    core::StrArray items;
    CHUNKS_IniGet(kMain, kLogFiles, kRouted, "|", kChunksNoExclusion, items, 1, 3);
    return items;
}

bool logFilesEmpty() {
    const core::StrArray items = logFilesGet();
    return items.ubound() < 1 || (items.ubound() == 1 && items[1].empty());
}

void logFilesPut(const core::StrArray& items) {
    CHUNKS_IniPut(kMain, kLogFiles, kRouted, items, "|", kChunksNoExclusion, 1, false);
}

long positionOf(const core::StrArray& items, const std::string& entry) {
    for (long i = 1; i <= items.ubound(); ++i)
        if (items[i] == entry) return i;
    return 0;
}

// The edited entry takes the old one's place.
void logFileReplace(const std::string& old, const std::string& edited) {
    core::StrArray items = logFilesGet();
    const long p = positionOf(items, old);
    if (p == 0) return;
    items.set(p, edited);
    logFilesPut(items);
}

// A copy goes right after the entry it was made from.
void logFileInsertAfter(const std::string& source, const std::string& copy) {
    core::StrArray items = logFilesGet();
    long p = positionOf(items, source);
    if (p == 0) p = items.ubound();
    items.redimPreserve(items.ubound() + 1);
    for (long i = items.ubound(); i > p + 1; --i) items.set(i, items[i - 1]);
    items.set(p + 1, copy);
    logFilesPut(items);
}

bool logFileAdd(const std::string& entry) {
    bool ok = false;
    CHUNKS_IniAdd(kMain, kLogFiles, kRouted, entry, "|", kChunksNoExclusion, 1, true, false, ok, 3, 0);
    return ok;
}

MB_ListDlgArgs logFileListArgs(const std::string& entry) {
    MB_ListDlgArgs args;
    args.itemWord = "File Spec.";
    args.captionSuffix = "Log file definition";
    args.message = "Current Site DB: " + STTA_SiteParmGet();
    args.selection = entry;
    args.remembered = {.section = kEnterLogFile, .entry = "Xctls", .iniFile = kRouted};
    args.ok = true;
    args.furtherCaptions = "Add";
    dlg::useStandardListButtons(args);
    args.gridSpec = "|||||||||1||{8000}";
    args.header = "UN-compressed Log File";
    return args;
}

MB_ListDlgArgs fmtListArgs() {
    MB_ListDlgArgs args;
    args.itemWord = "LogFormat Spec.";
    args.captionSuffix = "Format of Log file";
    args.further = true;
    args.furtherCaption = "&Cancel";
    dlg::useStandardListButtons(args);
    return args;
}

// Asks for a new definition's name until the list of names takes it (a name already
// there in any case is refused and asked again); "" when the user gives none.
std::string fmtNameNew() {
    for (;;) {
        const std::string name = TXT_Normalize(MB_Input("Enter name for new LogFormat Definition"), "", true, false,
                                               false, "", "");
        if (name.empty()) return name;
        std::string message;
        if (INI_CheckUniqueName(kMain, "AcD", kRouted, name, true, message, false)) return name;
    }
}

bool noFormatLine(const core::StrArray& lines) {
    for (long i = 1; i <= lines.ubound(); ++i)
        if (!core::trimBlanks(lines[i]).empty()) return false;
    return true;
}

// The format lines of one definition, one text box each. Item 0 of the stored list is
// no format line and goes back as it was read; nothing is written unless OK ends it,
// and OK needs a line, since a definition without one matches no log line. True when
// the lines were written.
bool fmtLinesEdit(const std::string& name) {
    core::StrArray lines;
    CHUNKS_IniGet(name, kDefsCDS, gIniLogFmts, "|", kChunksNoExclusion, lines, 0, 3);
    MB_PagedListArgs args;
    args.message = "Enter specifications for LogFormat Named: " + name + "  The first matching specification will be used.";
    args.typeWords = "TextBox";
    args.baseSpec = "11000";
    args.pageSize = kFmtLinesPage;
    args.firstCaption = "&OK";
    args.secondCaption = "&Cancel";
    args.lastPageCaption = "&Add Line";
    args.endOnSecond = true;
    args.focusOnEmpty = true;  // a new line opens with the cursor in it
    for (;;) {
        std::string states;
        MB_CtlEntry none;
        long pressed = 0;
        if (!MB_CheckListPaged(args, lines, states, none, pressed) || pressed != 1) return false;
        if (!noFormatLine(lines)) break;
        MB_Info("Enter at least one format line. A log format without one matches no log line.");
    }
    CHUNKS_IniPut(name, kDefsCDS, gIniLogFmts, lines, "|", kChunksNoExclusion, 0, false);
    return true;
}

// A new or copied definition that its first edit did not store is taken back: its
// name alone would be offered as a format that matches no log line.
void fmtNewEdit(const std::string& name) {
    if (fmtLinesEdit(name)) return;
    CHUNKS_IniDelete(kMain, "AcD", kRouted, name, "|", kChunksNoExclusion, false, 3);
    INI_EraseEntry(name, kDefsCDS, gIniLogFmts);
}

}  // namespace

void STTA_LogFileSpecsEdit(std::string& entry) {
    DefaultFormat dflt;
    MB_ListDlgArgs args = logFileListArgs(entry);
    for (;;) {
        logimport::logFmtNamesToScreens();
        dflt.toList();
        std::string added;
        if (logFilesEmpty()) {
            // Nothing to choose from: straight to a new entry, and out when it is not made.
            if (!entryDialog("", added) || !logFileAdd(added)) return;
        } else {
            const long r = MB_ListDlgIni(kMain, kLogFiles, kRouted, args);
            dflt.fromList();
            args.instruction.clear();
            const std::string chosen = args.selection;
            std::string result;
            switch (r) {
                case dlg::kListDeleted:
                    continue;
                case dlg::kListAdded:
                    if (!entryDialog("", added) || !logFileAdd(added)) continue;
                    break;
                case dlg::kListActionA:
                    if (!entryDialog(chosen, result)) continue;
                    logFileReplace(chosen, result);
                    entry = result;
                    return;
                case dlg::kListActionB:
                    if (!entryDialog(chosen, result)) continue;
                    logFileInsertAfter(chosen, result);
                    entry = result;
                    return;
                default:
                    if (!chosen.empty()) entry = chosen;
                    return;
            }
        }
        args.selection = added;
        args.state.clear();
        args.instruction =
            "File added to list. Press OK, select filters if required and then press the Add button to read the "
            "file and add the data to the database.";
    }
}

void STTA_LogFileSpecChoose(std::string& entry) { STTA_LogFileSpecsEdit(entry); }

void STTA_LogFmtDefsEdit() {
    MB_ListDlgArgs args = fmtListArgs();
    for (;;) {
        logimport::logFmtNamesToScreens();
        const long r = MB_EditList(kEnterLogFile, "AcD", kRouted, args);
        INI_Put(kMain, "AcD", INI_Get(kEnterLogFile, "AcD", kRouted, kIniMissingEmpty), kRouted);
        switch (r) {
            case dlg::kListDeleted:
                // The definition's own section stays.
                break;
            case dlg::kListAdded:
                if (const std::string name = fmtNameNew(); !name.empty()) fmtNewEdit(name);
                break;
            case dlg::kListActionA:
                fmtLinesEdit(args.selection);
                break;
            case dlg::kListActionB:
                // The dialog hands back the chosen name and a proposed one; the user names the copy.
                if (const std::string name = fmtNameNew(); !name.empty()) {
                    const std::string source = args.selection.substr(0, args.selection.rfind('|'));
                    INI_Put(name, kDefsCDS, INI_Get(source, kDefsCDS, gIniLogFmts, kIniMissingEmpty), gIniLogFmts);
                    fmtNewEdit(name);
                }
                break;
            default:
                return;
        }
    }
}

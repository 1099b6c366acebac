#include "dialogs/grid_save_dialog.h"

#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>

#include "core/numbers.h"
#include "core/path_checks.h"
#include "core/stored_text.h"
#include "core/table2d.h"
#include "core/text.h"
#include "dialogs/msgbox.h"
#include "dialogs/option_strings.h"
#include "platform/ui/qt_text.h"
#include "window/common_dialog.h"
#include "window/grid_operations.h"
#include "window/grid_save.h"

namespace {

// Entries of the dialog's controls, in the order they are added.
enum Entry : long { kPath = 1, kContents, kCharacters, kSorted, kPrefixLabel, kPrefix, kSpacer, kSelectedOnly };

const char* boolText(bool b) { return b ? "True" : "False"; }

std::string withoutLineBreaks(std::string text) {
    std::erase_if(text, [](char c) { return c == '\r' || c == '\n'; });
    return text;
}

std::string clipboardText() {
    const QClipboard* clipboard = QGuiApplication::clipboard();
    return clipboard ? ui::fromQString(clipboard->text()) : std::string();
}

// What the dialog holds, kept while the file chooser is open.
struct SaveChoice {
    std::string path, characters, sorted, prefix, selectedOnly;
};

void addControls(const SaveChoice& c, const std::string& preview, MB_CtlEntry& ctl) {
    // A 10000-twip text box holding the focus (field 7).
    MB_AddControl("TextBox", "10000|~~||~~||~~||~~||~~||~~|True", c.path, ctl, true);
    MB_AddControl("OptionButton", "Save contents of grid.", "True", ctl, false);
    MB_AddControl("OptionButton", "Analyse and Save ONLY list of Characters used", c.characters, ctl, false);
    MB_AddControl("OptionButton",
                  "Save Sorted list from current cell contents (Use CR to split into lines)" +
                      (preview.empty() ? "" : " " + preview),
                  c.sorted, ctl, false);
    MB_AddControl("Label", "", "  ... Add Prefix to each line:", ctl, false);
    MB_AddControl("TextBox_", "", c.prefix, ctl, false);
    MB_AddControl("JustAddHeight", "", "", ctl, false);
    MB_AddControl("CheckBox", "Save Only Se&lected Part of Data", c.selectedOnly, ctl, false);
}

// The file chooser, starting at the path typed so far; the chosen path, or the one
// typed when the chooser is left.
std::string chooseFile(const std::string& typed) {
    window::CommonDialog chooser;
    chooser.DialogTitle = "Save grid contents as CSV";
    chooser.Filter = "CSV files|*.csv|All files|*.*";
    // The chooser starts at the path typed, or in the home folder when its folder does
    // not exist (yet).
    chooser.FileName = typed.starts_with('/') && QFileInfo(ui::toQString(typed)).absoluteDir().exists()
                           ? typed
                           : ui::fromQString(QDir::homePath());
    chooser.ShowSave();
    return chooser.FileName == ui::fromQString(QDir::homePath()) ? typed : chooser.FileName;
}

}  // namespace

void GRID_SaveAsCsv(grid::FlexGrid& grid) {
    enum Button { kOk = 1, kCancel, kBrowse };
    const std::string preview =
        withoutLineBreaks(TXT_FitLen(GRDFLX_CellText(grid, grid.Row(), grid.Col()), 60, ".."));
    SaveChoice choice{.path = window::gridSavePathDefault(clipboardText()),
                      .characters = boolText(gGridSaveChars),
                      .sorted = boolText(gGridSaveSorted),
                      .prefix = "",
                      .selectedOnly = "0"};
    MB_CtlEntry ctl;
    for (;;) {
        addControls(choice, preview, ctl);
        std::string state;
        Msgbxform* form = nullptr;
        const int pressed = MB_Show(
            "Enter Full Path and file name to save grid contents as CSV\r\rOr press Browse ... to choose the "
            "folder and file name.",
            "&OK|&Cancel|&Browse ...", MB_OptDfltButton(kOk) + MB_OptEsc(kCancel), "", ctl, state, form);
        if (pressed != kOk && pressed != kBrowse) return;
        choice = {.path = window::gridSavePathWithSuffix(ctl.values[kPath]),
                  .characters = ctl.values[kCharacters],
                  .sorted = ctl.values[kSorted],
                  .prefix = ctl.values[kPrefix],
                  .selectedOnly = ctl.values[kSelectedOnly]};
        if (pressed == kBrowse) {
            choice.path = window::gridSavePathWithSuffix(chooseFile(choice.path));
            continue;
        }
        std::string problem;
        if (PAFN_Check83FileName(choice.path, true, problem)) break;
    }
    gGridSaveSorted = SYS32_StrIsTrue(choice.sorted);
    gGridSaveChars = SYS32_StrIsTrue(choice.characters);

    const window::GridSaveKind kind = gGridSaveSorted  ? window::GridSaveKind::SortedLines
                                      : gGridSaveChars ? window::GridSaveKind::Characters
                                                       : window::GridSaveKind::Contents;
    core::Table2D table;
    window::gridSaveTable(grid, kind, choice.prefix, TXT_Val(choice.selectedOnly) != 0, table);
    MB_Info(window::gridSaveWrite(choice.path, table));
}

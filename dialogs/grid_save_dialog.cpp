#include "dialogs/grid_save_dialog.h"

#include <QClipboard>
#include <QGuiApplication>

#include "core/numbers.h"
#include "core/path_checks.h"
#include "core/stored_text.h"
#include "core/table2d.h"
#include "core/text.h"
#include "dialogs/msgbox.h"
#include "platform/ui/qt_text.h"
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

void addControls(const std::string& path, const std::string& preview, const std::string& selectedOnly,
                 MB_CtlEntry& ctl) {
    // A 10000-twip text box holding the focus (field 7).
    MB_AddControl("TextBox", "10000|~~||~~||~~||~~||~~||~~|True", path, ctl, true);
    MB_AddControl("OptionButton", "Save contents of grid.", "True", ctl, false);
    MB_AddControl("OptionButton", "Analyse and Save ONLY list of Characters used", boolText(gGridSaveChars), ctl,
                  false);
    MB_AddControl("OptionButton",
                  "Save Sorted list from current cell contents (Use CR to split into lines)" + preview,
                  boolText(gGridSaveSorted), ctl, false);
    MB_AddControl("Label", "", "  ... Add Prefix to each line:", ctl, false);
    MB_AddControl("TextBox_", "", "", ctl, false);
    MB_AddControl("JustAddHeight", "", "", ctl, false);
    MB_AddControl("CheckBox", "Save Only Se&lected Part of Data", selectedOnly, ctl, false);
}

}  // namespace

void GRID_SaveAsCsv(grid::FlexGrid& grid) {
    const std::string preview =
        withoutLineBreaks(TXT_FitLen(GRDFLX_CellText(grid, grid.Row(), grid.Col()), 60, ".."));
    std::string path = window::gridSavePathDefault(clipboardText());
    std::string selectedOnly = "0";
    MB_CtlEntry ctl;
    for (;;) {
        addControls(path, preview, selectedOnly, ctl);
        std::string state;
        Msgbxform* form = nullptr;
        // The standard OK/Cancel set, so that Cancel is known as such.
        const int pressed = MB_Show(
            "Enter Full Path and file name to save grid contents as CSV\r\rFirst select directory in directory list "
            "and Clip it to have it copied here.",
            "1", "", "", ctl, state, form);
        if (pressed == gMBCancelNo) return;
        path = ctl.values[kPath];
        selectedOnly = ctl.values[kSelectedOnly];
        std::string problem;
        if (PAFN_Check83FileName(path, true, problem)) break;
    }
    gGridSaveSorted = SYS32_StrIsTrue(ctl.values[kSorted]);
    gGridSaveChars = SYS32_StrIsTrue(ctl.values[kCharacters]);

    const window::GridSaveKind kind = gGridSaveSorted  ? window::GridSaveKind::SortedLines
                                      : gGridSaveChars ? window::GridSaveKind::Characters
                                                       : window::GridSaveKind::Contents;
    core::Table2D table;
    window::gridSaveTable(grid, kind, ctl.values[kPrefix], TXT_Val(selectedOnly) != 0, table);
    MB_Info(window::gridSaveWrite(path, table));
}

#include "dialogs/edit_list_dialog.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "core/delimited_lists.h"
#include "core/numbers.h"
#include "core/table2d.h"
#include "core/text.h"
#include "dialogs/control_spec.h"
#include "dialogs/msgbox.h"
#include "dialogs/msgbox_form.h"
#include "dialogs/option_strings.h"
#include "dialogs/ready_dialogs.h"
#include "window/control_values.h"

namespace {

constexpr std::string_view kListSpec = "12000|3500|||||True||0";

// Text order with ASCII case folded, as a sorted list box keeps it.
void sortItems(core::StrArray& items, long first) {
    std::vector<std::string> sorted;
    for (long i = first; i <= items.ubound(); ++i) sorted.push_back(items[i]);
    core::sortIgnoringCase(sorted);
    for (std::size_t n = 0; n < sorted.size(); ++n) items.set(first + static_cast<long>(n), std::move(sorted[n]));
}

void swapItems(core::StrArray& items, long a, long b) {
    std::string held = items[a];
    items.set(a, items[b]);
    items.set(b, std::move(held));
}

// The list box entry, with the item equal to the selection chosen.
long addListBox(const core::StrArray& items, const core::StrArray& display, long count, const MB_ListDlgArgs& args,
                MB_CtlEntry& ctl) {
    const std::string spec = MB_SpecToTagForm(std::string(kListSpec));
    if (count == 0) {
        // An empty list shows no line at all, not one blank item.
        const long k = MB_AddControl("ListBox", spec, "", ctl, true);
        ctl.rows.redimPreserveCols(0);
        return k;
    }
    const long found = dlg::listFind(items, display, 1, args.selection, "tab");
    const long k = MB_AddListCtl(display, "", found > 0 ? found : -1, "ListBox", spec, ctl, true, 1, count);
    if (!args.state.empty()) ctl.rows.set(k, 0, core::wholeOf<long>(TXT_Val(args.state)));
    return k;
}

}  // namespace

long MB_EditList(const std::string& section, const std::string& entry, const std::string& iniFile,
                 MB_ListDlgArgs& args) {
    if (args.addAllowed && args.guard && !args.pickOnly && (!args.actionA.empty() || !args.actionB.empty()))
        dlg::listUnsupported("uncoded!");

    dlg::ListBoxKeeper keeper;
    std::string instruction = args.instruction;
    for (;;) {
        core::StrArray items, display;
        MB_ListLoad(items, display, section, entry, iniFile, args);
        const long count = std::max(0L, items.ubound());
        const bool comments = !args.commentEntry.empty() && !section.empty();
        for (long i = 1; comments && i <= count; ++i)
            if (const std::string note = MB_ListComment(section, args.commentEntry, iniFile, items[i]); !note.empty())
                display.set(i, display[i] + "   [" + note + "]");

        MB_CtlEntry ctl;
        const long k = addListBox(items, display, count, args, ctl);
        const MB_ListButtons b = MB_ListDlgButtons(args, ctl);
        // A double-click presses action A.
        std::string listEntry = ctl.entries[k];
        CHUNKS_SetEx(dlg::entryField(dlg::kSfBackColor), listEntry, dlg::kFieldSep, kChunksNoExclusion,
                     std::to_string(std::max(0L, b.actionA)));
        ctl.entries.set(k, listEntry);
        const std::string options = MB_OptMaxButtonsPerLine(4) + MB_OptEsc(b.further) + MB_OptDfltButton(b.ok) +
                                    MB_OptNoHide(instruction, 0, 0);

        std::string boxState;
        Msgbxform* form = nullptr;
        const long r = MB_Show("", b.captions, options, b.caption, ctl, boxState, form);
        keeper.shown(form);
        long pos = core::wholeOf<long>(TXT_Val(ARR_Item2D(ctl.rows, k, 0)));
        const bool hasItem = pos >= 0 && pos < count;
        if (!hasItem && dlg::listNeedsChoice(r, b, args.needChoice)) {
            instruction = dlg::listChoiceInstruction(args.itemWord, b.captions, r, b);
            continue;
        }
        instruction.clear();
        const MB_RememberedCtls& rem = args.remembered;
        if (b.remembered.hasBounds()) {
            std::string valuesFile = b.valuesFile;
            XCTL_CtlValuesSave(rem.section, rem.iniFile, ctl.entries, ctl.values, ctl.rows, b.remembered, valuesFile,
                               rem.sectionOverride);
        }
        if (!hasItem) pos = -1;
        args.state = std::to_string(pos);
        const std::string chosen = hasItem ? items[pos + 1] : std::string();
        args.selection = chosen;

        auto is = [r](long n) { return n != -1 && r == n; };
        if (is(b.further)) return dlg::kListFurther;
        if (is(b.actionB)) {
            args.selection = chosen + "|" + LLIST_UniqueName(items, 1, chosen + ".", "");
            return dlg::kListActionB;
        }
        if (is(b.del)) {
            MB_ListRemoveItem(chosen, section, entry, iniFile, args);
            if (comments) MB_ListCommentPut(section, args.commentEntry, iniFile, chosen, "");
            args.state = std::to_string(std::max(0L, pos - 1));
            return dlg::kListDeleted;
        }
        if (is(b.add)) {
            if (args.addAllowed) {
                const std::string item = MB_Input("Enter item to add");
                if (!item.empty()) MB_ListAddItem(item, section, entry, iniFile, args);
            }
            return dlg::kListAdded;
        }
        if (is(b.actionA)) return dlg::kListActionA;
        if (is(b.ok)) return dlg::kListOK;
        if (is(b.sort)) {
            sortItems(items, 1);
            dlg::listStore(items, 1, section, entry, iniFile, args);
            args.state = std::to_string(dlg::listFind(items, items, 1, chosen, "tab") - 1);
            continue;
        }
        if (is(b.comment)) {
            long button = 0;
            const std::string note =
                MB_Input("Comment for " + args.itemWord + ": " + chosen, b.caption,
                         MB_ListComment(section, args.commentEntry, iniFile, chosen), nullptr, &button);
            if (button == 1) MB_ListCommentPut(section, args.commentEntry, iniFile, chosen, std::string(core::trimBlanks(note)));
            continue;
        }
        if (is(b.up) || is(b.down)) {
            const long to = is(b.up) ? pos - 1 : pos + 1;
            if (to >= 0 && to < count) {
                swapItems(items, pos + 1, to + 1);
                dlg::listStore(items, 1, section, entry, iniFile, args);
                args.state = std::to_string(to);
            }
            continue;
        }
        args.pressed = r;
        return dlg::kListOther;
    }
}

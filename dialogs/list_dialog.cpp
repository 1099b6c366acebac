#include "dialogs/list_dialog.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <utility>
#include <vector>

#include "core/delimited_lists.h"
#include "core/ini_store.h"
#include "core/numbers.h"
#include "core/table2d.h"
#include "core/text.h"
#include "core/user_interface.h"
#include "dialogs/control_spec.h"
#include "dialogs/msgbox.h"
#include "dialogs/msgbox_form.h"
#include "dialogs/option_strings.h"
#include "dialogs/remembered_controls.h"
#include "platform/ui/forms.h"
#include "window/control_values.h"

namespace {

constexpr int kMissingIsEmpty = 3;
constexpr std::string_view kGridDefaults = "8000|3500|||||True";

bool isTabWord(const std::string& separator) {
    return separator.empty() || TXT_IsEqual(separator, "tab", false);
}

// The item with its columns separated by tabs, as the grid shows them.
std::string tabbed(const std::string& text, const std::string& separator) {
    return isTabWord(separator) ? text : TXT_Replace(text, separator, "\t", true);
}

// Fields of a "|" list; a brace group holding "|" stays one field, braces included.
std::vector<std::string> specFields(std::string_view spec) {
    std::vector<std::string> out(1);
    int depth = 0;
    for (char c : spec) {
        if (c == '{') ++depth;
        if (c == '}' && depth > 0) --depth;
        if (c == '|' && depth == 0) out.emplace_back();
        else out.back() += c;
    }
    return out;
}

// The grid's position list with the chosen row moved; columns and scroll stay.
std::string stateAtRow(const std::string& state, long row) {
    std::string out = std::to_string(row);
    const std::string r = out;
    for (long n = 2; n <= 8; ++n) CHUNKS_Set(n, out, n == 3 || n == 5 ? r : CHUNKS_Get(n, state));
    return out;
}

void swapItems(core::StrArray& items, long a, long b) {
    std::string held = items[a];
    items.set(a, items[b]);
    items.set(b, std::move(held));
}

// Grids that allow several rows report each selected row after the eighth item.
std::vector<long> severalRows(const std::string& rest) {
    std::vector<long> rows;
    core::StrArray selected;
    if (!rest.empty()) CHUNKS_Split(rest, selected, 1);
    for (long i = 1; i <= selected.ubound(); ++i) rows.push_back(core::wholeOf<long>(TXT_Val(selected[i])));
    return rows;
}

// Grid rows (item positions from 1) that Delete acts on.
std::vector<long> rowsToDelete(const MB_CtlSpec& spec, bool sort, const std::array<long, 8>& nums,
                               const std::string& rest) {
    std::vector<long> rows;
    if (spec.flag(dlg::kSfSkipBlank)) rows = severalRows(rest);
    else if (sort)
        for (long r = std::min(nums[2], nums[4]); r <= std::max(nums[2], nums[4]); ++r) rows.push_back(r);
    if (rows.empty()) rows.push_back(nums[0]);
    return rows;
}

}  // namespace

namespace dlg {

std::vector<long> listChosenRows(const std::string& state, bool several) {
    std::array<long, 8> nums{};
    std::string list = state, rest;
    long next = 0;
    MB_ParseNums8(list, nums, rest, next, false);
    std::vector<long> rows;
    if (several) rows = severalRows(rest);
    if (rows.empty() && nums[0] >= 1) rows.push_back(nums[0]);
    return rows;
}

void listUnsupported(const std::string& text) { std::fprintf(stderr, "MB_ListDlgWork: %s\n", text.c_str()); }

void listStore(const core::StrArray& items, long first, const std::string& section, const std::string& entry,
               const std::string& iniFile, MB_ListDlgArgs& args) {
    if (!section.empty())
        CHUNKS_IniPut(section, entry, iniFile, items, args.delimiter, args.exclusionSpec, first, false);
    else
        args.memList = CHUNKS_JoinEx(items, args.delimiter, args.exclusionSpec, first, false);
}

long listFind(const core::StrArray& items, const core::StrArray& display, long first, const std::string& selection,
              const std::string& separator) {
    if (selection.empty()) return 0;
    const long last = items.ubound();
    for (long i = first; i <= last; ++i)
        if (items[i] == selection) return i - first + 1;
    if (!isTabWord(separator)) {
        const std::string wanted = tabbed(selection, separator);
        for (long i = first; i <= last; ++i)
            if (tabbed(items[i], separator) == wanted) return i - first + 1;
    }
    for (long i = first; i <= last && i <= display.ubound(); ++i)
        if (display[i] == selection) return i - first + 1;
    return 0;
}

bool listNeedsChoice(long r, const MB_ListButtons& b, const std::string& needChoice) {
    if (r < 1) return false;
    for (long n : {b.del, b.actionA, b.actionB, b.up, b.down, b.comment})
        if (n == r) return true;
    return !CHUNKS_Get(r, needChoice).empty();
}

std::string listChoiceInstruction(const std::string& itemWord, const std::string& buttons, long r,
                                  const MB_ListButtons& b) {
    return "Select a " + itemWord + " and press " + TXT_RemoveAmpV(CHUNKS_Get(r - b.extra, buttons)) + " again.";
}

ListBoxKeeper::~ListBoxKeeper() {
    try {
        shown(nullptr);
    } catch (...) {
        // Unloading a box that is going anyway must not end the program.
    }
}

void ListBoxKeeper::shown(QWidget* box) {
    if (last_ && last_ != box && ui::isLoaded(last_)) {
        if (gMBForm == last_) gMBForm = nullptr;
        ui::unloadForm(last_);
    }
    last_ = box;
}

}  // namespace dlg

std::string MB_FillBlankItems(std::string_view list, std::string_view defaults) {
    if (list == defaults) return std::string(list);
    std::vector<std::string> fields = specFields(list);
    const std::vector<std::string> dflt = specFields(defaults);
    if (fields.size() < dflt.size()) fields.resize(dflt.size());
    std::string out;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i) out += "|";
        out += fields[i].empty() && i < dflt.size() ? dflt[i] : fields[i];
    }
    return out;
}

void MB_ListKeyColumn(const core::StrArray& items, core::StrArray& display, long n) {
    if (n < 1) return;
    display = items;
    for (long i = items.lbound(); i <= items.ubound(); ++i) display.set(i, CHUNKS_Get(n, items[i]));
}

void MB_ListLoad(core::StrArray& items, core::StrArray& display, const std::string& section,
                 const std::string& entry, const std::string& iniFile, const MB_ListDlgArgs& args) {
    if (section.empty()) {
        CHUNKS_SplitEx(args.memList, args.delimiter, args.exclusionSpec, items, 1);
    } else {
        CHUNKS_IniGet(section, entry, iniFile, args.delimiter, args.exclusionSpec, items, 1, kMissingIsEmpty);
        if (!args.memList.empty()) {
            if (!args.pickOnly || args.sort) {
                dlg::listUnsupported("err 2010102.");
            } else {
                core::StrArray more;
                CHUNKS_SplitEx(args.memList, args.delimiter, args.exclusionSpec, more, 1);
                for (long i = 1; i <= more.ubound(); ++i) items.append(more[i]);
            }
        }
    }
    display = items;
    MB_ListKeyColumn(items, display, args.keyColumn);
}

namespace {

// A comment entry holds item and comment alternately, as one escaped "|" list.
core::StrArray commentPairs(const std::string& section, const std::string& entry, const std::string& iniFile) {
    core::StrArray pairs;
    CHUNKS_IniGet(section, entry, iniFile, "|", kChunksNoExclusion, pairs, 1, kMissingIsEmpty);
    return pairs;
}

}  // namespace

std::string MB_ListComment(const std::string& section, const std::string& commentEntry, const std::string& iniFile,
                           const std::string& item) {
    const core::StrArray pairs = commentPairs(section, commentEntry, iniFile);
    for (long i = 1; i + 1 <= pairs.ubound(); i += 2)
        if (pairs[i] == item) return pairs[i + 1];
    return {};
}

void MB_ListCommentPut(const std::string& section, const std::string& commentEntry, const std::string& iniFile,
                       const std::string& item, const std::string& comment) {
    const core::StrArray pairs = commentPairs(section, commentEntry, iniFile);
    core::StrArray kept;
    kept.redim(0, 0);
    for (long i = 1; i + 1 <= pairs.ubound(); i += 2)
        if (pairs[i] != item) {
            kept.append(pairs[i]);
            kept.append(pairs[i + 1]);
        }
    if (!comment.empty()) {
        kept.append(item);
        kept.append(comment);
    }
    INI_Put(section, commentEntry, CHUNKS_JoinEx(kept, "|", kChunksNoExclusion, 1, false), iniFile);
}

bool MB_ListAddItem(const std::string& item, const std::string& section, const std::string& entry,
                    const std::string& iniFile, MB_ListDlgArgs& args) {
    // A unique addition refuses an exact duplicate and says so.
    const long dupMode = args.addUnique ? 1 : 0;
    bool ok = false;
    if (!section.empty())
        return CHUNKS_IniAdd(section, entry, iniFile, item, args.delimiter, args.exclusionSpec, dupMode, true,
                             args.addAtFront, ok, kMissingIsEmpty, 0);
    args.memList = CHUNKS_InsertEx(args.memList, item, args.delimiter, args.exclusionSpec, dupMode, true,
                                   args.addAtFront, ok);
    return ok;
}

void MB_ListRemoveItem(const std::string& item, const std::string& section, const std::string& entry,
                       const std::string& iniFile, MB_ListDlgArgs& args) {
    if (!section.empty()) {
        CHUNKS_IniDelete(section, entry, iniFile, item, args.delimiter, args.exclusionSpec, true, kMissingIsEmpty);
        return;
    }
    bool found = false;
    std::string positions;
    args.memList = CHUNKS_RemoveItem(args.memList, item, args.delimiter, args.exclusionSpec, true, found, positions);
}

MB_ListButtons MB_ListDlgButtons(const MB_ListDlgArgs& args, MB_CtlEntry& ctl) {
    MB_ListButtons b;
    b.title = args.title.empty() ? "Select " + args.itemWord : args.title;
    b.caption = "- " + b.title;

    std::string message = b.title + (args.ok ? " and press OK." : "") + gCR;
    if (!args.pickOnly) {
        std::string uses;
        for (const std::string* c : {&args.actionA, &args.del, &args.actionB, &args.add})
            if (!c->empty()) uses += " " + TXT_RemoveAmpV(*c) + ",";
        if (!uses.empty()) {
            uses.pop_back();
            message += "Use" + uses + " to change or add " + args.itemWord + "." + gCR;
        }
        if (!args.up.empty() || !args.down.empty()) message += "Up and Down will change the sequence on this list.";
        message += gCR;
    }
    if (!args.message.empty()) message = args.message;
    MB_AddControl("Label", "", message, ctl, false);

    MB_RememberedCtls r = args.remembered;
    if (!r.section.empty() && !r.iniFile.empty()) {
        long extraButtons = 0;
        dlg::loadRemembered(r, ctl, b.remembered, false, extraButtons);
        b.valuesFile = r.valuesFile;
    }

    // Buttons among the remembered controls come first in the box.
    gMBListCount = static_cast<int>(MB_ExtraButtonCount(ctl));
    b.extra = gMBListCount;
    bool reset = false;
    auto add = [&](const std::string& caption) { return static_cast<long>(MB_AddToList(caption, b.captions, reset)); };
    if (args.ok) b.ok = add("&OK");
    if (!args.pickOnly) {
        if (!args.actionA.empty()) b.actionA = add(args.actionA + args.captionSuffix);
        if (!args.add.empty()) b.add = add(args.add + args.captionSuffix);
        if (!args.del.empty()) b.del = add(args.del + args.captionSuffix);
        if (!args.actionB.empty()) b.actionB = add(args.actionB + args.captionSuffix);
        if (!args.up.empty()) b.up = add(args.up);
        if (!args.down.empty()) b.down = add(args.down);
        if (!args.commentEntry.empty()) b.comment = add("Co&mment");
    }
    if (args.sort) b.sort = add("&Sort");
    if (args.further) b.further = add(args.furtherCaption);
    b.count = gMBListCount;
    return b;
}

long MB_ListDlg(core::StrArray& items, MB_ListDlgArgs& args) {
    return MB_ListDlgWork(items, true, {}, {}, {}, args);
}

long MB_ListDlgIni(const std::string& section, const std::string& entry, const std::string& iniFile,
                   MB_ListDlgArgs& args) {
    core::StrArray items;
    return MB_ListDlgWork(items, false, section, entry, iniFile, args);
}

long MB_ListDlgWork(core::StrArray& items, bool itemsAreCallers, const std::string& section,
                    const std::string& entry, const std::string& iniFile, MB_ListDlgArgs& args) {
    if (args.addAllowed && args.guard && !args.pickOnly && (!args.actionA.empty() || !args.actionB.empty()))
        dlg::listUnsupported("uncoded!");
    if (args.sort) dlg::listUnsupported("function not yet coded - change parms or code it !!!!");
    const std::string gridSpec = MB_FillBlankItems(args.gridSpec, kGridDefaults);
    std::string further = args.furtherCaptions;
    if (!further.empty() && further[0] != '|') further.insert(0, "|");

    // The caller's own array is shown for picking only.
    MB_ListDlgArgs shown = args;
    if (itemsAreCallers) {
        for (std::string* c : {&shown.actionA, &shown.add, &shown.del, &shown.actionB, &shown.up, &shown.down})
            c->clear();
    }

    dlg::ListBoxKeeper keeper;
    std::string instruction = args.instruction;
    for (;;) {
        core::StrArray display;
        long first = items.lbound();
        if (itemsAreCallers) {
            display = items;
            MB_ListKeyColumn(items, display, args.keyColumn);
        } else {
            MB_ListLoad(items, display, section, entry, iniFile, args);
            first = 1;
        }
        const long last = items.ubound();
        const long count = std::max(0L, last - first + 1);

        MB_CtlEntry ctl;
        std::string spec = MB_SpecToTagForm(gridSpec);
        if (MB_CtlSpec::parse("Grid" + std::string(dlg::kFieldSep) + spec).isEmpty(dlg::kSfSelectAll))
            CHUNKS_SetEx(dlg::kSfSelectAll, spec, dlg::kFieldSep, kChunksNoExclusion, std::to_string(count + 1));
        const long k = MB_AddControl("Grid", spec, tabbed(args.header, args.separator), ctl, true);
        // The items follow the header as columns 2 on; one growth for all, since long
        // lists would otherwise be copied once per item.
        if (count > 0) ctl.rows.redimPreserveCols(count + 1);
        for (long i = first; i <= last; ++i) ctl.rows.set(k, i - first + 2, tabbed(display[i], args.separator));
        if (!args.state.empty()) {
            ctl.rows.set(k, 0, args.state);
        } else {
            long row = dlg::listFind(items, display, first, args.selection, args.separator);
            if (row == 0 && args.startAtEnd) row = count;
            if (row > 0) MB_ListStateSet(k, ctl.rows, row, {}, true, row, row);
        }

        const MB_ListButtons b = MB_ListDlgButtons(shown, ctl);
        std::string buttons = b.captions;
        if (buttons.empty() && !further.empty()) buttons = further.substr(1);
        else buttons += further;
        const long esc = b.further == -1 && args.furtherEsc > 0 ? b.count + args.furtherEsc : b.further;
        const long dflt = b.ok <= 0 && args.furtherDefault > 0 ? b.count + args.furtherDefault : b.ok;
        const std::string options = MB_OptMaxButtonsPerLine(4) + MB_OptEsc(esc) + MB_OptDfltButton(dflt) +
                                    MB_OptNoHide(instruction, 0, 0);

        std::string boxState;
        Msgbxform* form = nullptr;
        const long r = MB_Show("", buttons, options, b.caption, ctl, boxState, form);
        keeper.shown(form);
        args.state = ARR_Item2D(ctl.rows, k, 0);
        const MB_RememberedCtls& rem = args.remembered;
        if (b.remembered.hasBounds()) {
            std::string valuesFile = b.valuesFile;
            XCTL_CtlValuesSave(rem.section, rem.iniFile, ctl.entries, ctl.values, ctl.rows, b.remembered, valuesFile,
                               rem.sectionOverride);
        }

        std::array<long, 8> nums{};
        std::string list = args.state, rest;
        long next = 0;
        MB_ParseNums8(list, nums, rest, next, false);
        const long chosen = nums[0];
        const bool hasRow = chosen >= 1 && chosen <= count;
        args.selection = hasRow ? items[first + chosen - 1] : std::string();

        if (!hasRow && dlg::listNeedsChoice(r, b, args.needChoice)) {
            instruction = dlg::listChoiceInstruction(args.itemWord, buttons, r, b);
            continue;
        }
        instruction.clear();
        auto is = [r](long n) { return n != -1 && r == n; };
        if (is(b.further)) return dlg::kListFurther;
        if (is(b.ok)) return dlg::kListOK;
        if (is(b.del)) {
            bool deleted = false;
            const MB_CtlSpec gs = MB_CtlSpec::parse(ctl.entries[k]);
            std::vector<std::string> doomed;
            for (long row : rowsToDelete(gs, args.sort, nums, rest))
                if (row >= 1 && row <= count) doomed.push_back(items[first + row - 1]);
            for (const std::string& item : doomed) {
                if (!args.protectedItems.empty() &&
                    CHUNKS_Contains(item, args.protectedItems, args.delimiter, args.exclusionSpec, true)) {
                    MB_Info("Not allowed to delete " + item + ".");
                    continue;
                }
                MB_ListRemoveItem(item, section, entry, iniFile, args);
                deleted = true;
            }
            if (deleted) return dlg::kListDeleted;
            continue;
        }
        if (is(b.add)) {
            if (args.addAllowed) {
                const std::string item = MB_Input("Enter item to add, seperate columns with " + args.separator);
                if (!item.empty()) MB_ListAddItem(item, section, entry, iniFile, args);
            }
            return dlg::kListAdded;
        }
        if (is(b.actionA)) return dlg::kListActionA;
        if (is(b.actionB)) return dlg::kListActionB;
        if (is(b.up) || is(b.down)) {
            const long to = is(b.up) ? chosen - 1 : chosen + 1;
            if (to >= 1 && to <= count) {
                swapItems(items, first + chosen - 1, first + to - 1);
                dlg::listStore(items, first, section, entry, iniFile, args);
                args.state = stateAtRow(args.state, to);
            }
            continue;
        }
        if (is(b.sort)) continue;
        args.pressed = r;
        return dlg::kListOther;
    }
}

void dlg::useStandardListButtons(MB_ListDlgArgs& args) {
    args.actionA = "Edi&t ";
    args.add = "&New ";
    args.del = "R&emove ";
    args.actionB = "Cop&y ";
    args.up = "Move &Up";
    args.down = "Move Do&wn";
}

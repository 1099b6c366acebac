#pragma once
// The list and grid maintenance dialog: a list of text items shown as a grid, to pick
// from and, when the list lives in an INI entry or in a caller's "|" list, to keep:
// add, delete, move up and down, or press one of the caller's own buttons. Changes
// are written back at once, so they stay even when the user then cancels. The list
// dialog on a list box (edit_list_dialog.h) shares the button builder and the list
// routines declared here.
#include <QPointer>
#include <QWidget>
#include <string>
#include <string_view>
#include <vector>

#include "core/delimited_lists.h"
#include "core/typed_array.h"
#include "dialogs/extra_controls.h"
#include "dialogs/ready_dialogs.h"

namespace dlg {

// What the list dialogs return.
enum ListResult : long {
    kListFurther = 1,  // the further button, or Esc
    kListOK = 2,
    kListDeleted = 3,
    kListAdded = 4,    // Add pressed (the item is added first when adding is allowed)
    kListActionA = 5,
    kListActionB = 6,
    kListOther = 7,    // any other button; its number is in `pressed`
};

}  // namespace dlg

// Everything the caller tells the list dialogs, and what they hand back. Members
// marked "grid" are read by the grid dialog only.
struct MB_ListDlgArgs {
    std::string itemWord{};       // "Select " & word, "Select a " & word & " and press ..."
    std::string title{};          // the message's first line; "" is "Select " & itemWord
    std::string message{};        // replaces the built message when not empty
    std::string instruction{};    // shown in the notice panel at the first showing
    std::string captionSuffix{};  // appended to each maintenance caption

    // In: the item to show chosen. Out: the chosen item as stored, "" when none.
    std::string selection{};
    // In and out: column 0 of the list's row (the grid's position list, or the list
    // box's chosen position); a non-empty one is put back before showing.
    std::string state{};
    long pressed = 0;  // out: the button number behind kListOther

    // Extra controls defined in an INI file, with their remembered values.
    MB_RememberedCtls remembered{};

    bool pickOnly = false;  // no maintenance buttons
    bool ok = false;        // "&OK" first
    bool sort = false;      // a "&Sort" button
    bool further = false;   // one further button, pressed by Esc too
    std::string furtherCaption{};
    std::string furtherCaptions{};  // grid: "|" list of more buttons after the dialog's own
    long furtherEsc = 0;  // grid, without a further button: the one of furtherCaptions Esc presses
    long furtherDefault = 0;  // grid, without "&OK": the one of furtherCaptions Enter presses

    // Maintenance captions; "" means no such button.
    std::string actionA{}, add{}, del{}, actionB{};
    std::string up{}, down{};
    // "|" list by button number: a caller's button with a non-empty item needs a
    // chosen item.
    std::string needChoice{};

    bool addAllowed = false;  // the dialog asks for the new item and adds it
    bool addAtFront = false;
    bool addUnique = false;   // an item already there (exactly) is refused and reported

    // How the stored list is split and joined.
    std::string delimiter = "|";
    std::string exclusionSpec = kChunksNoExclusion;
    // Without an INI list this is the list, changed in place; with one, it is merged
    // into a pick-only display.
    std::string memList{};
    long keyColumn = 0;  // 1 or more: the dialog shows that "|" field of each item
    // List box with an INI list: the entry beside it (same section and file) that keeps
    // a comment per item, shown after the item and changed with a "Co&mment" button;
    // "" for a list without comments.
    std::string commentEntry{};

    bool guard = false;  // with addAllowed, refuses action A and B captions as unsupported

    std::string gridSpec{};        // grid: blank fields take "8000|3500|||||True"
    std::string header{};          // grid: the first row
    std::string separator = "tab"; // grid: what separates columns in the items and header
    bool startAtEnd = false;       // grid: the last item is chosen at first
    std::string protectedItems{};  // grid: items Delete refuses (a list in the list format)
};

namespace dlg {
// The maintenance buttons most lists offer: Edit (action A), New, Remove, Copy
// (action B), Move Up and Move Down.
void useStandardListButtons(MB_ListDlgArgs& args);
}  // namespace dlg

// The caller's items (shown for picking only) from their lower bound.
long MB_ListDlg(core::StrArray& items, MB_ListDlgArgs& args);
// The list stored in (section, entry, iniFile); with an empty section, args.memList.
long MB_ListDlgIni(const std::string& section, const std::string& entry, const std::string& iniFile,
                   MB_ListDlgArgs& args);
long MB_ListDlgWork(core::StrArray& items, bool itemsAreCallers, const std::string& section,
                    const std::string& entry, const std::string& iniFile, MB_ListDlgArgs& args);

// The buttons and message of a list dialog, numbered after the extra buttons already
// in `ctl`; -1 for a button not added.
struct MB_ListButtons {
    std::string captions;  // "|" list for MB_Show
    std::string title, caption;
    long ok = -1, actionA = -1, add = -1, del = -1, actionB = -1, up = -1, down = -1, comment = -1, sort = -1,
         further = -1;
    long extra = 0;               // extra buttons numbered before these
    long count = 0;               // the last number handed out
    std::string valuesFile;       // where remembered values live
    core::IntArray remembered;    // numbers of the remembered controls, for saving
};
// Appends the instruction label and the remembered controls to `ctl`.
MB_ListButtons MB_ListDlgButtons(const MB_ListDlgArgs& args, MB_CtlEntry& ctl);

// The list into items 1..n (the empty list leaves 0 to 0 holding ""), and the copy to
// show. A stored list takes the in-memory list after it only when picking without sort.
void MB_ListLoad(core::StrArray& items, core::StrArray& display, const std::string& section,
                 const std::string& entry, const std::string& iniFile, const MB_ListDlgArgs& args);
// With n >= 1, display gets field n of each item's "|" list ("" when it has fewer).
void MB_ListKeyColumn(const core::StrArray& items, core::StrArray& display, long n);
// The comment kept for an item in the comment entry of a list ("" when none), and its
// change ("" removes it). Comments follow their item's text, not its position, so moves
// and sorts keep them.
std::string MB_ListComment(const std::string& section, const std::string& commentEntry, const std::string& iniFile,
                           const std::string& item);
void MB_ListCommentPut(const std::string& section, const std::string& commentEntry, const std::string& iniFile,
                       const std::string& item, const std::string& comment);
// Adds to the INI entry, or with an empty section to args.memList; false when refused.
bool MB_ListAddItem(const std::string& item, const std::string& section, const std::string& entry,
                    const std::string& iniFile, MB_ListDlgArgs& args);
// Removes from the INI entry, or every equal item of args.memList.
void MB_ListRemoveItem(const std::string& item, const std::string& section, const std::string& entry,
                       const std::string& iniFile, MB_ListDlgArgs& args);
// Every empty field of the "|" list, and every field it lacks, takes the default at the
// same position; brace groups stay whole.
std::string MB_FillBlankItems(std::string_view list, std::string_view defaults);

namespace dlg {

// The developers' notice for an argument combination the list dialogs do not support:
// written to the standard error, never shown; the dialog goes on without it.
void listUnsupported(const std::string& text);
// Items first..ubound written back to where the list is kept: the INI entry, or
// args.memList when the section is empty.
void listStore(const core::StrArray& items, long first, const std::string& section, const std::string& entry,
               const std::string& iniFile, MB_ListDlgArgs& args);
// Position (from 1) of the item equal to `selection`, else of the item whose columns
// match it with tabs for the separator, else of the shown text equal to it; 0 none.
long listFind(const core::StrArray& items, const core::StrArray& display, long first, const std::string& selection,
              const std::string& separator);
// The rows (item positions from 1) chosen in a grid's state: with `several`, each
// selected row listed after the eighth number, else (or when none is listed) the one
// chosen row; nothing when no row is chosen.
std::vector<long> listChosenRows(const std::string& state, bool several);
// Whether button r needs a chosen item first, and the instruction when it has none.
bool listNeedsChoice(long r, const MB_ListButtons& b, const std::string& needChoice);
std::string listChoiceInstruction(const std::string& itemWord, const std::string& buttons, long r,
                                  const MB_ListButtons& b);

// The box a list dialog leaves loaded between its showings: each new showing unloads
// the one before, and the dialog's end unloads the last. Boxes of other dialogs (an
// outer box whose handler opened this one) are left alone.
class ListBoxKeeper {
public:
    ListBoxKeeper() = default;
    ListBoxKeeper(const ListBoxKeeper&) = delete;
    ListBoxKeeper& operator=(const ListBoxKeeper&) = delete;
    ~ListBoxKeeper();
    void shown(QWidget* box);

private:
    QPointer<QWidget> last_;
};

}  // namespace dlg

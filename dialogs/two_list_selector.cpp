#include "dialogs/two_list_selector.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <unordered_set>
#include <utility>

#include "core/delimited_lists.h"
#include "core/numbers.h"
#include "core/progress.h"
#include "core/text.h"
#include "dialogs/control_spec.h"
#include "dialogs/edit_list_dialog.h"
#include "dialogs/extra_controls.h"
#include "dialogs/item_groups.h"
#include "dialogs/msgbox.h"
#include "dialogs/msgbox_form.h"
#include "dialogs/option_strings.h"
#include "dialogs/paged_list_dialog.h"
#include "dialogs/ready_dialogs.h"
#include "dialogs/remembered_controls.h"

namespace {

const std::string kAddCaption = "&Add -->";
const std::string kRemoveCaption = "<-- R&emove";
const std::string kUpCaption = "Move &Up";
const std::string kDownCaption = "Move Do&wn";
const std::string kOkCaption = "&OK";
const std::string kCancelCaption = "&Cancel";
const std::string kEnterPrompt =
    "Enter Value to Add to List (RHS). It will be removed from UnSelected list (LHS) if found there.";

bool isBlank(const std::string& text) { return text.find_first_not_of(' ') == std::string::npos; }

std::string keyOf(const std::string& text, bool matchCase) { return matchCase ? text : core::lowerAscii(text); }

// Texts in the order added, unique under the match-case rule.
class TextSet {
public:
    explicit TextSet(bool matchCase) : matchCase_(matchCase) {}
    void add(const std::string& text) {
        if (keys_.insert(keyOf(text, matchCase_)).second) items_.push_back(text);
    }
    bool contains(const std::string& text) const { return keys_.count(keyOf(text, matchCase_)) > 0; }
    bool empty() const { return items_.empty(); }
    void clear() {
        items_.clear();
        keys_.clear();
    }
    // As a "|" list the list control's marks split back into the same texts.
    std::string joined() const {
        if (items_.empty()) return {};
        core::StrArray a;
        for (const std::string& t : items_) a.append(t);
        return CHUNKS_Join(a, 0);
    }

private:
    bool matchCase_;
    std::vector<std::string> items_;
    std::unordered_set<std::string> keys_;
};

// A spec in Tag form from its "|" fields, field m at position m - 1.
std::string tagSpec(const std::vector<std::string>& fields) {
    std::string out;
    for (std::size_t m = 0; m < fields.size(); ++m) {
        if (m) out += dlg::kFieldSep;
        out += fields[m];
    }
    return out;
}

// Both lists: 4000 twips high, extended selection, item numbers from 1, blanks hidden.
std::string listSpec(long doubleClickButton) {
    std::vector<std::string> f(16);
    f[1] = "4000";
    f[6] = "True";
    if (doubleClickButton > 0) f[8] = std::to_string(doubleClickButton);
    f[9] = "2";
    f[14] = "True";
    f[15] = "True";
    return tagSpec(f);
}

std::string buttonSpec(const std::string& hint) {
    std::vector<std::string> f(10);
    f[0] = "100";
    f[7] = "True";
    f[9] = hint;
    return tagSpec(f);
}

long nonBlankCount(const std::vector<std::string>& items) {
    return static_cast<long>(std::count_if(items.begin(), items.end(), [](const std::string& s) { return !isBlank(s); }));
}

enum class Action {
    None, Add, SelectThenAdd, Remove, Up, Down, Find, FindInGroups, Ok, Extra, MoveToGroup, ApplyFilters,
    FindListName, Cancel, EnterItem, CopyToSkip, EditSkip
};

class Selector {
public:
    Selector(core::StrArray& selected, const core::StrArray& all, const core::LngArray& numbers, core::StrArray& skip,
             MBX_SelectParams& p)
        : selected_(selected), all_(all), numbers_(numbers), skip_(skip), p_(p), leftSel_(p.matchCase),
          rightSel_(p.matchCase) {}

    int run();

private:
    bool buildLeft();
    long show(MB_CtlEntry& ctl);
    void addControls(MB_CtlEntry& ctl);
    void addButtons(MB_CtlEntry& ctl, const std::string& spec, const std::vector<std::pair<std::string, Action>>& row);
    void readBack(const MB_CtlEntry& ctl);
    void readSelection(const core::Table2D& rows, long entry, TextSet& selection);
    bool warned(Action a);

    std::string itemOf(const std::string& display) const;
    long dupMode() const { return p_.matchCase ? 1 : 2; }
    void appendRight(const std::string& item);
    std::vector<std::string> takeSelectedLeft();
    void add(bool afterFind);
    void selectThenAdd();
    void remove();
    void move(bool up);
    void find();
    void findInGroups();
    void moveToGroup();
    void applyFilters();
    void findListName();
    std::vector<std::string> takeSelectedRight();
    void removeLeftItem(const std::string& item);
    void enterItem();
    std::vector<std::string> enterSeveral(bool withSelected);
    void addEntered(const std::vector<std::string>& values);
    void copyToSkip();
    bool editSkip();

    core::StrArray& selected_;
    const core::StrArray& all_;
    const core::LngArray& numbers_;
    core::StrArray& skip_;
    MBX_SelectParams& p_;

    std::vector<std::string> left_;  // display texts
    TextSet leftSel_, rightSel_;
    std::string word_;
    FltrRule heldRule_;  // the word of the last find, saved as a filter by the next Add
    Action lastAction_ = Action::None, previous_ = Action::None;
    std::string lastEntered_;
    std::string lastFound_;
    std::string pending_;  // warning shown with the next pass

    // Per pass: what each button number does, and where the lists and word box are.
    std::vector<Action> actions_;
    long leftEntry_ = 0, rightEntry_ = 0, wordEntry_ = 0;
    MB_RememberedCtls remembered_{p_.rememberedSection, p_.rememberedEntry, p_.rememberedFile,
                                  p_.rememberedValuesFile, p_.rememberedSectionOverride};
    core::IntArray rememberedNumbers_;
    dlg::ListBoxKeeper keeper_;
};

bool Selector::buildLeft() {
    core::StrArray left;
    MBX_BuildLeftList(all_, numbers_, skip_, selected_, left, p_.hideNumbers, p_.separator, p_.sortByText,
                      p_.matchCase);
    left_.clear();
    for (const std::string& s : left.items())
        if (!s.empty() || left.count() > 1) left_.push_back(s);
    return p_.stopWhenEmpty && !LLIST_StrArrHasNonBlank(selected_, true) && nonBlankCount(left_) == 0;
}

int Selector::run() {
    if (!selected_.hasBounds()) selected_.redim(0, 0);
    const core::StrArray original = selected_;
    if (buildLeft()) return 1;
    for (;;) {
        MB_CtlEntry ctl;
        const long pressed = show(ctl);
        readBack(ctl);
        const Action a = pressed >= 1 && pressed < static_cast<long>(actions_.size()) ? actions_[pressed] : Action::None;
        pending_.clear();
        previous_ = std::exchange(lastAction_, a);
        if (warned(a)) continue;
        switch (a) {
            case Action::Ok:
                return 2;
            case Action::Cancel:
                selected_ = original;
                return 1;
            case Action::Extra: {
                const long first = static_cast<long>(std::find(actions_.begin(), actions_.end(), Action::Extra) -
                                                     actions_.begin());
                p_.pressedExtraButton = pressed - first + 1;
                return 7;
            }
            case Action::Add: add(previous_ == Action::Find); break;
            case Action::SelectThenAdd: selectThenAdd(); break;
            case Action::Remove: remove(); break;
            case Action::Up: move(true); break;
            case Action::Down: move(false); break;
            case Action::Find: find(); break;
            case Action::FindInGroups: findInGroups(); break;
            case Action::MoveToGroup: moveToGroup(); break;
            case Action::ApplyFilters: applyFilters(); break;
            case Action::FindListName: findListName(); break;
            case Action::EnterItem: enterItem(); break;
            case Action::CopyToSkip: copyToSkip(); break;
            case Action::EditSkip:
                if (editSkip()) return 1;
                break;
            case Action::None: break;
        }
    }
}

long Selector::show(MB_CtlEntry& ctl) {
    actions_.assign(1, Action::None);
    addControls(ctl);
    std::vector<std::pair<std::string, Action>> bottom{{kOkCaption, Action::Ok}};
    if (!p_.extraButtons.empty()) {
        core::StrArray captions;
        CHUNKS_Split(p_.extraButtons, captions, 0);
        for (const std::string& c : captions.items()) bottom.emplace_back(c, Action::Extra);
    }
    const bool groups = !p_.groupListSection.empty();
    if (groups) bottom.emplace_back("Mo&ve --> Other List", Action::MoveToGroup);
    if (!p_.savedFilterFile.empty()) bottom.emplace_back("Appl&y Saved Filters - Auto Move", Action::ApplyFilters);
    if (groups) bottom.emplace_back("Fi&nd List Name", Action::FindListName);
    bottom.emplace_back(kCancelCaption, Action::Cancel);
    if (!p_.enterItemCaption.empty()) bottom.emplace_back(p_.enterItemCaption, Action::EnterItem);
    if (!p_.copyToSkipCaption.empty()) bottom.emplace_back(p_.copyToSkipCaption, Action::CopyToSkip);
    if (!p_.skipEditCaption.empty()) bottom.emplace_back(p_.skipEditCaption, Action::EditSkip);
    std::string buttons;
    long cancelNo = 0;
    for (const auto& [caption, action] : bottom) {
        CHUNKS_Append(buttons, caption);
        actions_.push_back(action);
        if (action == Action::Cancel) cancelNo = static_cast<long>(actions_.size()) - 1;
    }

    const std::string options = MB_OptMinWidth(static_cast<float>(p_.minWidth)) + MB_OptEsc(cancelNo) +
                                MB_OptNoHide(pending_, 0, 0);
    // The box of the previous pass stays up while its action runs; it goes now.
    keeper_.shown(nullptr);
    std::string state;
    Msgbxform* form = nullptr;
    const long pressed =
        MB_Show(p_.message, buttons, options, "- Select " + p_.itemWord + "s", ctl, state, form);
    keeper_.shown(form);
    gMBCancelNo = static_cast<int>(cancelNo);
    return pressed;
}

void Selector::addButtons(MB_CtlEntry& ctl, const std::string& spec,
                          const std::vector<std::pair<std::string, Action>>& row) {
    std::string captions;
    for (const auto& [caption, action] : row) {
        CHUNKS_Append(captions, caption);
        actions_.push_back(action);
    }
    std::array<long, 6> numbers{};
    MB_AddButtonCtl(false, spec, captions, ctl, false, false, numbers);
}

void Selector::addControls(MB_CtlEntry& ctl) {
    if (p_.ctlEntries.hasBounds()) {
        ctl.entries = p_.ctlEntries;
        ctl.values = p_.ctlValues;
        ctl.rows = p_.ctlRows;
    } else {
        ctl.entries.redim(0, 0);
        ctl.values.redim(0, 0);
        ctl.rows.redim(0, 0, 0, 0);
    }
    if (!p_.rememberedFile.empty()) {
        long extraButtons = 0;
        dlg::loadRemembered(remembered_, ctl, rememberedNumbers_, false, extraButtons);
    }
    // The caller's own command buttons come first, so ours are numbered after them.
    gMBListCount = static_cast<int>(MB_ExtraButtonCount(ctl));
    actions_.resize(static_cast<std::size_t>(gMBListCount) + 1, Action::None);

    const std::string& w = p_.itemWord;
    MB_AddControl("Label", "", "Select from " + std::to_string(nonBlankCount(left_)) + " " + w + "s: [L]", ctl, false);
    MB_AddControl("Label_", "", std::to_string(nonBlankCount(selected_.items())) + " " + w + "(s) Selected: [L]", ctl,
                  false);

    const long addNo = gMBListCount + 1;
    const long removeNo = addNo + (p_.selectThenAddCaption.empty() ? 1 : 2);
    core::StrArray left;
    if (left_.empty()) left.redim(0, 0);
    for (const std::string& s : left_) left.append(s);
    // Each item takes a column of the rows table; making room once keeps long lists linear.
    const long widest = std::max(left.count(), selected_.count()) + 1;
    if (!ctl.rows.hasBounds()) ctl.rows.redim(0, 0, 0, 0);
    ctl.rows.growRows(ctl.entries.ubound() + 2);
    if (ctl.rows.colUBound() < widest) ctl.rows.redimPreserveCols(widest);
    leftEntry_ = MB_AddListCtl(left, leftSel_.joined(), -1, "ListBox", listSpec(p_.clickMoves ? addNo : 0), ctl,
                               false);
    rightEntry_ = MB_AddListCtl(selected_, rightSel_.joined(), -1, "ListBox_",
                                listSpec(p_.clickMoves ? removeNo : 0), ctl, false);

    std::vector<std::pair<std::string, Action>> row{{kAddCaption, Action::Add}};
    if (!p_.selectThenAddCaption.empty()) row.emplace_back(p_.selectThenAddCaption, Action::SelectThenAdd);
    addButtons(ctl,
               buttonSpec("  Select " + w + "(s) on the left and press \"Add\" to Copy " + w +
                          " to the list on the right."),
               row);
    MB_AddControl("JustAddHeight", MB_SpecToTagForm("|120"), "", ctl, false);

    row = {{kRemoveCaption, Action::Remove}};
    std::string hint = "Select " + w + "(s) on the right and press \"Remove\" if they are no longer required.";
    if (p_.sequencing) {
        row.emplace_back(kUpCaption, Action::Up);
        row.emplace_back(kDownCaption, Action::Down);
        hint += " Use Up and Down to determine sequence " + p_.sequenceHint;
    }
    addButtons(ctl, buttonSpec(hint), row);
    MB_AddControl("Shape", MB_SpecToTagForm("2|200"), "", ctl, false);

    wordEntry_ = 0;
    if (!p_.noFindByWord) {
        MB_AddControl("Label", "", "Enter word and click button to select items containing word [s]:", ctl, false);
        wordEntry_ = MB_AddControl("TextBox_", MB_SpecToTagForm(p_.wordBoxFlag ? "3000||||||True" : "3000"), word_,
                                   ctl, false);
        std::vector<std::pair<std::string, Action>> findRow{{"Find all " + w + "s with Wo&rd", Action::Find}};
        if (!p_.groupListSection.empty())
            findRow.emplace_back("Find " + w + "s with Word in ALL &Groups", Action::FindInGroups);
        addButtons(ctl, "", findRow);
        MB_AddControl("JustAddHeight", "", "", ctl, false);
    }
    MB_AddControl("Label", "", p_.bottomText + (p_.bottomText2 == " " ? "" : gCR + p_.bottomText2), ctl, false);
}

void Selector::readBack(const MB_CtlEntry& ctl) {
    if (p_.ctlEntries.hasBounds()) {
        for (long i = p_.ctlValues.lbound(); i <= p_.ctlValues.ubound(); ++i)
            if (ctl.values.inBounds(i)) p_.ctlValues.set(i, ctl.values[i]);
        const core::Table2D& r = ctl.rows;
        for (long i = p_.ctlRows.rowLBound(); i <= p_.ctlRows.rowUBound(); ++i)
            for (long c = p_.ctlRows.colLBound(); c <= p_.ctlRows.colUBound(); ++c)
                if (r.inBounds(i, c)) p_.ctlRows.set(i, c, r(i, c));
    }
    if (!p_.rememberedFile.empty()) dlg::saveRemembered(remembered_, ctl, rememberedNumbers_);
    if (wordEntry_ > 0) word_ = ctl.values[wordEntry_];
    readSelection(ctl.rows, leftEntry_, leftSel_);
    readSelection(ctl.rows, rightEntry_, rightSel_);
}

// Column 0 holds the chosen item numbers (from 1); the texts sit in the columns.
void Selector::readSelection(const core::Table2D& rows, long entry, TextSet& selection) {
    selection.clear();
    core::StrArray chosen;
    CHUNKS_Split(ARR_Item2D(rows, entry, 0), chosen, 0);
    PIS_Scope progress("Processing selected items", "item", chosen.count(), 0.5);
    for (long i = chosen.ubound(); i >= chosen.lbound(); --i) {
        const long p = core::wholeOf<long>(TXT_Val(chosen[i]));
        if (p >= 1) selection.add(ARR_Item2D(rows, entry, p));
        progress.step();
    }
    progress.end();
}

bool Selector::warned(Action a) {
    const std::string& w = p_.itemWord;
    if (a == Action::Add && leftSel_.empty())
        pending_ = "First select " + w + "s from the *LEFT* column and press \"Add\" again.";
    else if ((a == Action::Remove || a == Action::Up || a == Action::Down) && rightSel_.empty())
        pending_ = "First select " + w + "s from the *RIGHT* column and press \"Remove\" again.";
    return !pending_.empty();
}

std::string Selector::itemOf(const std::string& display) const {
    if (p_.hideNumbers) return display;
    std::string item = display, tail;
    bool found = false;
    TXT_SplitLast(item, p_.separator, tail, true, found);
    return item;
}

void Selector::appendRight(const std::string& item) {
    long index = 0;
    bool noSpace = false, appended = false;
    LLIST_StrArrAdd(selected_, -1, item, dupMode(), index, noSpace, appended, true);
    if (appended) rightSel_.add(item);
}

// The selected left items leave the left list; the one just above the first of them
// becomes the left selection. Returns their items in list order.
std::vector<std::string> Selector::takeSelectedLeft() {
    std::vector<std::string> taken, kept;
    std::string above;
    bool first = true;
    for (std::size_t i = 0; i < left_.size(); ++i) {
        if (!leftSel_.contains(left_[i])) {
            kept.push_back(left_[i]);
            continue;
        }
        if (first && i > 0) above = left_[i - 1];
        first = false;
        taken.push_back(itemOf(left_[i]));
    }
    left_ = std::move(kept);
    leftSel_.clear();
    if (!above.empty()) leftSel_.add(above);
    return taken;
}

void Selector::add(bool afterFind) {
    const std::vector<std::string> items = takeSelectedLeft();
    PIS_Scope progress("Adding items.", "item", 2 * static_cast<int64_t>(items.size()), 1.0);
    for (const std::string& item : items) {
        appendRight(item);
        progress.step();
    }
    progress.end();
    MBX_SaveWordFilters(afterFind, p_, heldRule_, items, p_.wordFilterTarget);
}

void Selector::selectThenAdd() {
    core::StrArray candidates, none, nestedSelected;
    core::LngArray zeros;
    for (const std::string& d : left_)
        if (leftSel_.contains(d)) {
            candidates.append(itemOf(d));
            zeros.append(0);
        }
    MBX_SelectParams nested;
    nested.itemWord = p_.itemWord;
    nested.separator = p_.separator;
    nested.message = p_.message + gCR + "Create List to add. Press OK to Add or Cancel to abort.";
    nested.hideNumbers = true;
    nested.sortByText = true;
    nested.matchCase = p_.matchCase;
    nested.sequenceHint =
        "You have chosen to select items to add to the main list from a group of selected items. Press OK to add "
        "items in RH List here to the list you are editing.";
    nested.minWidth = std::lround(0.9 * static_cast<double>(p_.minWidth));
    if (MBX_TwoListSelect(nestedSelected, candidates, zeros, none, nested) == 1) return;
    TextSet chosen(p_.matchCase);
    for (const std::string& s : nestedSelected.items())
        if (!s.empty()) chosen.add(s);
    leftSel_.clear();
    for (const std::string& d : left_)
        if (chosen.contains(itemOf(d))) leftSel_.add(d);
    add(false);
}

void Selector::remove() {
    const std::vector<std::string> taken = takeSelectedRight();
    PIS_Scope progress("Removing items.", "item", static_cast<int64_t>(taken.size()), 1.0);
    for (const std::string& item : taken) {
        const std::string display = p_.hideNumbers ? item : item + p_.separator + " ?";
        left_.push_back(display);
        leftSel_.add(display);
        progress.step();
    }
    progress.end();
}

// Selected items step once towards the end; those already packed against it stay.
void Selector::move(bool up) {
    const long lo = selected_.lbound(), hi = selected_.ubound();
    long boundary = up ? lo : hi;
    const long step = up ? 1 : -1;
    for (long i = boundary; up ? i <= hi : i >= lo; i += step) {
        if (!rightSel_.contains(selected_[i])) continue;
        if (i == boundary) {
            boundary += step;
            continue;
        }
        const std::string held = selected_[i - step];
        selected_.set(i - step, selected_[i]);
        selected_.set(i, held);
    }
}

void Selector::find() {
    core::StrArray left;
    for (const std::string& s : left_) left.append(s);
    leftSel_.clear();
    for (const std::string& s : MBX_FindByWord(word_, left)) leftSel_.add(s);
    rightSel_.clear();
    for (const std::string& s : MBX_FindByWord(word_, selected_)) rightSel_.add(s);
    heldRule_ = FltrRule{.Typ = kFltrContains, .Val = word_, .MC = false};
}

// The selected right items leave the right list; returns them in list order.
std::vector<std::string> Selector::takeSelectedRight() {
    std::vector<std::string> taken;
    core::StrArray kept;
    for (const std::string& s : selected_.items()) {
        if (rightSel_.contains(s)) taken.push_back(s);
        else kept.append(s);
    }
    if (kept.count() == 0) kept.append("");
    const long lo = selected_.lbound();
    selected_.redim(lo, lo + kept.count() - 1);
    for (long i = 0; i < kept.count(); ++i) selected_.set(lo + i, kept[i]);
    rightSel_.clear();
    return taken;
}

void Selector::removeLeftItem(const std::string& item) {
    const std::string key = keyOf(item, p_.matchCase);
    std::erase_if(left_, [&](const std::string& d) { return keyOf(itemOf(d), p_.matchCase) == key; });
}

void Selector::findInGroups() {
    std::vector<std::string> newlyGrouped, movedOut;
    MBX_FindInAllGroups(word_, all_, p_, newlyGrouped, movedOut);
    for (const std::string& item : newlyGrouped) removeLeftItem(item);
    if (movedOut.empty()) return;
    rightSel_.clear();
    for (const std::string& item : movedOut) rightSel_.add(item);
    takeSelectedRight();
}

// Up to ten items joined and cut to 100 characters, for the group chooser's message.
std::string sampleOf(const std::vector<std::string>& items) {
    std::string joined;
    for (std::size_t i = 0; i < items.size() && i < 10; ++i) joined += (i ? " // " : "") + items[i];
    return TXT_FitLen(joined, 100, "...");
}

void Selector::moveToGroup() {
    std::vector<std::string> leftItems, rightItems;
    for (const std::string& d : left_)
        if (leftSel_.contains(d)) leftItems.push_back(itemOf(d));
    for (const std::string& s : selected_.items())
        if (rightSel_.contains(s)) rightItems.push_back(s);
    const std::string message = p_.message.substr(0, p_.message.find(gCR)) + gCR + "Add from LHS [" +
                                std::to_string(leftItems.size()) + "]: " + sampleOf(leftItems) + gCR +
                                "Add from RHS [" + std::to_string(rightItems.size()) + "]: " + sampleOf(rightItems);
    const std::string group =
        MBX_ChooseGroup(p_.groupListSection, p_.groupListEntry, p_.groupListFile, "Group", message);
    if (group.empty()) return;
    PIS_Scope progress("Adding items.", "step", 2 * static_cast<int64_t>(leftItems.size()), 1.0);
    std::vector<std::string> moved = takeSelectedLeft();
    for (const std::string& item : takeSelectedRight()) moved.push_back(item);
    MBX_SaveWordFilters(previous_ == Action::Find, p_, heldRule_, moved, dlg::groupTarget(p_, group));
    for (const std::string& item : moved) {
        dlg::groupAddItem(p_.groupsSection, group, p_.groupsFile, item);
        progress.step();
    }
    progress.end();
}

void Selector::applyFilters() {
    std::vector<std::string> leftDisplays, leftItems, rightItems;
    for (const std::string& d : left_)
        if (leftSel_.contains(d)) {
            leftDisplays.push_back(d);
            leftItems.push_back(itemOf(d));
        }
    for (const std::string& s : selected_.items())
        if (rightSel_.contains(s)) rightItems.push_back(s);
    std::vector<std::string> hits, targets;
    std::vector<long> sources;
    if (!MBX_ApplySavedFilters(leftItems, rightItems, hits, targets, sources, p_)) return;
    leftSel_.clear();
    rightSel_.clear();
    for (std::size_t i = 0; i < hits.size(); ++i) {
        if (sources[i] >= 0) std::erase(left_, leftDisplays[static_cast<std::size_t>(sources[i])]);
        else rightSel_.add(hits[i]);
        dlg::groupAddItem(CHUNKS_Get(1, targets[i]), CHUNKS_Get(2, targets[i]), CHUNKS_Get(3, targets[i]), hits[i]);
    }
    takeSelectedRight();
}

void Selector::findListName() {
    const std::string typed = MB_Input("Enter " + p_.itemWord + " to find", "", lastFound_);
    if (typed.empty()) return;
    lastFound_ = typed;
    // Items are looked up as typed first: site-area paths keep their case.
    std::string text = typed, group;
    if (!MBX_FindItemGroup(text, group, p_)) {
        text = core::lowerAscii(typed);
        if (!MBX_FindItemGroup(text, group, p_)) {
            MB_Info("Not Found");
            return;
        }
    }
    if (MB_MsgBox(p_.itemWord + " >>" + text + "<< currently in group:" + gCR + group + gCR + gCR +
                      "Do you want to move it?",
                  "4", "", "") != 1)
        return;
    const std::string target = MBX_ChooseGroup(p_.groupListSection, p_.groupListEntry, p_.groupListFile, "Group",
                                               p_.message.substr(0, p_.message.find(gCR)));
    if (target.empty()) return;
    dlg::groupRemoveItem(p_.groupsSection, group, p_.groupsFile, text);
    dlg::groupAddItem(p_.groupsSection, target, p_.groupsFile, text);
}

void Selector::enterItem() {
    long button = 0;
    const std::string value = MB_InputEx(kEnterPrompt, "", lastEntered_,
                                         {.extraCaptions = "&More|Cop&y Selected",
                                          .firstCaption = kOkCaption,
                                          .cancelCaption = kCancelCaption},
                                         button);
    if (button == 1 || button == 2) {
        addEntered(enterSeveral(button == 2));
        return;
    }
    // Cancel hands back "" like an empty entry: neither adds anything.
    if (button != -1 || value.empty()) return;
    lastEntered_ = value;
    addEntered({value});
}

// Several values, one text box a line, "&Add Line" making room for one more.
std::vector<std::string> Selector::enterSeveral(bool withSelected) {
    core::StrArray items;
    items.redim(0, 0);
    if (withSelected) {
        for (const std::string& d : left_)
            if (leftSel_.contains(d)) items.append(itemOf(d));
        for (const std::string& s : selected_.items())
            if (rightSel_.contains(s)) items.append(s);
    }
    MB_PagedListArgs args;
    args.message = kEnterPrompt;
    args.typeWords = "TextBox";
    args.pageSize = 30;
    args.focusOnEmpty = true;
    args.secondCaption = kCancelCaption;
    args.lastPageCaption = "&Add Line";
    args.endOnSecond = true;
    std::string states;
    MB_CtlEntry none;
    long result = 0;
    std::vector<std::string> values;
    if (!MB_CheckListPaged(args, items, states, none, result) || result != 1) return values;
    for (long i = 1; i <= items.ubound(); ++i)
        if (!items[i].empty()) values.push_back(items[i]);
    return values;
}

// Entered values leave the left list when they are there and join the right one.
void Selector::addEntered(const std::vector<std::string>& values) {
    PIS_Scope progress("Adding items.", "item", static_cast<int64_t>(values.size()), 1.0);
    for (const std::string& value : values) {
        removeLeftItem(value);
        appendRight(value);
        progress.step();
    }
    progress.end();
}

void Selector::copyToSkip() {
    if (!skip_.hasBounds()) skip_.redim(0, 0);
    for (const std::string& item : takeSelectedLeft()) {
        long index = 0;
        bool noSpace = false, appended = false;
        LLIST_StrArrAdd(skip_, -1, item, dupMode(), index, noSpace, appended, true);
    }
}

// Returns true when the edited skip list leaves nothing to show under stopWhenEmpty.
bool Selector::editSkip() {
    MB_ListDlgArgs args{.itemWord = p_.itemWord, .ok = true, .del = "R&emove "};
    args.memList = skip_.hasBounds() ? CHUNKS_Join(skip_, skip_.lbound()) : std::string();
    long r = 0;
    do {
        r = MB_EditList("", "", "", args);
    } while (r != dlg::kListFurther && r != dlg::kListOK);
    CHUNKS_Split(args.memList, skip_, 0);
    return buildLeft();
}

}  // namespace

void MBX_SelectDefaults(MBX_SelectParams& p) {
    if (p.separator.empty()) p.separator = " - ";
    if (p.minWidth == 0) p.minWidth = 10000;
    if (p.bottomText.empty()) p.bottomText = "Press OK to save changes.";
    if (p.bottomText2.empty()) p.bottomText2 = " Press Cancel to ignore changes and keep original selection.";
    if (p.selectThenAddCaption == "&") p.selectThenAddCaption = "Selec&t then Add -->";
    if (p.enterItemCaption == "&") p.enterItemCaption = "Enter Ite&m To Add";
    if (p.copyToSkipCaption == "&") p.copyToSkipCaption = "Cop&y selected to Skip List";
    if (p.skipEditCaption == "&") p.skipEditCaption = "Edit S&kip List";
}

void MBX_BuildLeftList(const core::StrArray& all, const core::LngArray& numbers, const core::StrArray& skip,
                       const core::StrArray& selected, core::StrArray& left, bool hideNumbers,
                       const std::string& separator, bool sortByText, bool matchCase) {
    std::unordered_set<std::string> excluded;
    for (const std::string& s : selected.items()) excluded.insert(keyOf(s, matchCase));
    for (const std::string& s : skip.items()) excluded.insert(keyOf(s, matchCase));
    std::vector<std::pair<std::string, long>> kept;
    for (long i = all.lbound(); i <= all.ubound(); ++i)
        if (!excluded.count(keyOf(all[i], matchCase))) kept.emplace_back(all[i], LLIST_LngArrItem(numbers, i, 0));
    auto display = [&](const std::pair<std::string, long>& e) {
        return hideNumbers ? e.first : e.first + separator + std::to_string(e.second);
    };

    left.erase();
    if (kept.empty()) {
        left.redim(0, 0);
        return;
    }
    left.redim(0, static_cast<long>(kept.size()) - 1);
    if (sortByText) {
        core::Table2D table;
        table.redim(0, static_cast<long>(kept.size()) - 1, 0, 0);
        for (std::size_t k = 0; k < kept.size(); ++k) table.set(static_cast<long>(k), 0, display(kept[k]));
        core::LngArray keyCols;
        keyCols.redim(0, 0);
        ARR_Sort2D(table, keyCols, 1);
        for (long k = 0; k <= left.ubound(); ++k) left.set(k, ARR_Item2D(table, k, 0));
        return;
    }
    std::stable_sort(kept.begin(), kept.end(), [](const auto& a, const auto& b) { return a.second < b.second; });
    for (std::size_t k = 0; k < kept.size(); ++k) left.set(static_cast<long>(k), display(kept[k]));
}

std::vector<std::string> MBX_FindByWord(const std::string& word, const core::StrArray& list) {
    std::vector<std::string> looked;
    const std::size_t open = word.find("[]");
    if (open == std::string::npos) {
        looked.push_back(word);
    } else {
        const std::string a = word.substr(0, open);
        const std::string b = word.substr(word.rfind("[]") + 2);
        for (const auto& [x, y] : {std::pair{a, b}, std::pair{b, a}})
            for (const char* joint : {"", "-", "_", " ", " ## "}) looked.push_back(x + joint + y);
    }
    std::vector<std::string> matches;
    for (const std::string& text : looked) {
        if (text.empty()) continue;
        for (long i = list.ubound(); i >= list.lbound(); --i)
            if (TXT_InStrEx(list[i], text, false)) matches.push_back(list[i]);
    }
    return matches;
}

int MBX_TwoListSelect(core::StrArray& selected, const core::StrArray& all, const core::LngArray& numbers,
                      core::StrArray& skip, MBX_SelectParams& params) {
    MBX_SelectDefaults(params);
    return Selector(selected, all, numbers, skip, params).run();
}

int OLDMBX_TwoListSelect(core::StrArray& selected, const core::StrArray& all, const core::LngArray& numbers,
                         core::StrArray& skip, const std::string& itemWord, const core::StrArray& ctlEntries,
                         core::StrArray& ctlValues, core::Table2D& ctlRows, const std::string& message,
                         bool showNumbers, const std::string& separator, bool orderByNumbers, bool matchCase,
                         bool findByWord, bool sequencing, const std::string& sequenceHint, long minWidth,
                         bool clickMoves, bool wordBoxFlag, const std::string& bottomText,
                         const std::string& bottomText2, const std::string& extraButtons,
                         long& pressedExtraButton, bool selectThenAdd) {
    MBX_SelectParams p;
    p.itemWord = itemWord;
    p.ctlEntries = ctlEntries;
    p.ctlValues = ctlValues;
    p.ctlRows = ctlRows;
    p.message = message;
    p.hideNumbers = !showNumbers;
    p.separator = separator;
    p.sortByText = !orderByNumbers;
    p.matchCase = matchCase;
    p.noFindByWord = !findByWord;
    p.sequencing = sequencing;
    p.sequenceHint = sequenceHint;
    p.minWidth = minWidth;
    p.clickMoves = clickMoves;
    p.wordBoxFlag = wordBoxFlag;
    p.bottomText = bottomText;
    p.bottomText2 = bottomText2.empty() ? " " : bottomText2;
    p.extraButtons = extraButtons;
    p.pressedExtraButton = pressedExtraButton;
    if (selectThenAdd) p.selectThenAddCaption = "&";
    const int result = MBX_TwoListSelect(selected, all, numbers, skip, p);
    ctlValues = p.ctlValues;
    ctlRows = p.ctlRows;
    pressedExtraButton = p.pressedExtraButton;
    return result;
}

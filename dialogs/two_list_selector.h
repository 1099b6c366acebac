#pragma once
// The two-list selector: the user builds a list of chosen items (right) by moving
// candidates (left) across, re-sequencing the chosen ones, selecting by a word and
// keeping a skip list of candidates never offered. The box is shown again after each
// button until OK, Cancel or one of the caller's own buttons ends it.
#include <string>
#include <vector>

#include "core/table2d.h"
#include "core/typed_array.h"

struct MBX_SelectParams {
    std::string itemWord;               // singular noun of every text ("s" or "(s)" added)
    std::string message;                // text at the top of the box
    // The caller's extra controls; with bounds the selector's controls follow them and
    // their values and rows are copied back after each showing.
    core::StrArray ctlEntries;
    core::StrArray ctlValues;
    core::Table2D ctlRows;
    // Remembered extra controls (file "" none): definitions at section/entry, and the
    // values file and section override of their load and save.
    std::string rememberedFile;
    std::string rememberedSection;
    std::string rememberedEntry;
    std::string rememberedValuesFile;
    std::string rememberedSectionOverride;
    std::string separator;              // between item and number on the left; "" " - "
    bool hideNumbers = false;           // left items shown bare
    bool sortByText = false;            // left list alphabetical, else by number
    bool matchCase = false;             // compare and refuse duplicates exactly
    bool noFindByWord = false;          // leave the find-by-word row out
    bool sequencing = false;            // "Move &Up" and "Move Do&wn" for the right list
    std::string sequenceHint;           // appended to the Remove buttons' hint
    long minWidth = 0;                  // twips; 0 becomes 10000
    bool clickMoves = false;            // double-click on a list item moves it across
    bool wordBoxFlag = false;           // the word box asks for the focus
    std::string bottomText;             // "" "Press OK to save changes."
    std::string bottomText2;            // "" the Cancel hint; " " no second line
    std::string extraButtons;           // "|" captions placed right after "&OK"
    long pressedExtraButton = 0;        // 1 = the first of extraButtons closed the box
    std::string selectThenAddCaption;   // "" none; "&" the default caption
    std::string enterItemCaption;       // "" none; "&" the default caption
    // Named groups (groupListSection "" none): the "|" list of group names at
    // (groupListSection, groupListEntry, groupListFile); each group's "|" list of items
    // at (groupsSection, group name, groupsFile); the right list is currentGroup's.
    std::string groupListSection;
    std::string groupListEntry;
    std::string groupListFile;
    std::string groupsSection;
    std::string currentGroup;
    std::string groupsFile;
    std::string savedFilterFile;        // base file of the saved word filters; "" none
    std::string wordFilterTarget;       // groups section|group|groups file of words saved after Add
    std::string skipEditCaption;        // "" none; "&" the default caption
    std::string copyToSkipCaption;      // "" none; "&" the default caption
    bool stopWhenEmpty = false;         // both lists blank: result 1, nothing shown
};

// Fills the defaults of separator, width, bottom texts and the "&" captions.
void MBX_SelectDefaults(MBX_SelectParams& params);

// The left list: every item of `all` that is neither selected nor skipped (compared
// exactly under matchCase, else ignoring case), shown as item, separator and its
// number unless hideNumbers, sorted by text or by number. No item: one empty item.
void MBX_BuildLeftList(const core::StrArray& all, const core::LngArray& numbers, const core::StrArray& skip,
                       const core::StrArray& selected, core::StrArray& left, bool hideNumbers,
                       const std::string& separator, bool sortByText, bool matchCase);

// The items of `list` containing the word ignoring case, last item first. A word
// "A[]B" looks for A and B joined directly, by "-", "_", " " or " ## ", in either
// order, appending every hit (an item may come more than once). "" finds nothing.
std::vector<std::string> MBX_FindByWord(const std::string& word, const core::StrArray& list);

// Returns 1 Cancel (and for stopWhenEmpty), 2 OK, 7 one of the caller's buttons (its
// position in pressedExtraButton). `selected` is the chosen list (created with one
// empty item when it has no bounds); Cancel gives it back as it came. `numbers` go
// with `all` at the same index. The skip list keeps what the user added to it.
int MBX_TwoListSelect(core::StrArray& selected, const core::StrArray& all, const core::LngArray& numbers,
                      core::StrArray& skip, MBX_SelectParams& params);

// The older positional call: fills a fresh record and calls MBX_TwoListSelect.
// showNumbers, orderByNumbers and findByWord are the opposites of the record's flags;
// an empty bottomText2 means no second line.
int OLDMBX_TwoListSelect(core::StrArray& selected, const core::StrArray& all, const core::LngArray& numbers,
                         core::StrArray& skip, const std::string& itemWord, const core::StrArray& ctlEntries,
                         core::StrArray& ctlValues, core::Table2D& ctlRows, const std::string& message,
                         bool showNumbers, const std::string& separator, bool orderByNumbers, bool matchCase,
                         bool findByWord, bool sequencing, const std::string& sequenceHint, long minWidth,
                         bool clickMoves, bool wordBoxFlag, const std::string& bottomText,
                         const std::string& bottomText2, const std::string& extraButtons,
                         long& pressedExtraButton, bool selectThenAdd);

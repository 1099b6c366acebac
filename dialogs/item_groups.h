#pragma once
// Named groups of items kept in INI files (report groups, site areas), and saved word
// filters that move matching items to their groups. A group list is a "|" list of
// group names in one INI entry; each group's items are a "|" list in the entry named
// after the group. The report editor and the grouped report read them from there:
// with the selector record's places, (groupListSection, groupListEntry) holds the
// names and (groupsSection, <group>) the items.
//
// A saved word filter is one numbered rule: [Main] MaxNo of the base file counts them;
// rule n sits in section n of its rule file (MBX_FilterFileName), whose [Main] n holds
// the target "groups section|group|groups file" its hits move to.
#include <string>
#include <vector>

#include "core/filter_rule.h"
#include "core/typed_array.h"
#include "dialogs/two_list_selector.h"

struct MB_ListDlgArgs;

// The group list dialog over the names: Cancel gives "", "&New " asks for a new name
// (and chooses it), else the chosen name, trimmed.
std::string MBX_ChooseGroup(const std::string& listSection, const std::string& listEntry,
                            const std::string& listFile, const std::string& kindWord, const std::string& message);
// Asks for a name until it is added to the group list (unique ignoring case; a
// duplicate is refused with the list's own message) or left empty. `name` offers the
// name typed before and receives the new one.
bool MBX_NewGroupName(const std::string& listSection, const std::string& listEntry, const std::string& listFile,
                      const std::string& kindWord, std::string& name);
// The first group, in list order, holding an item exactly equal to `text`.
bool MBX_FindItemGroup(const std::string& text, std::string& group, const MBX_SelectParams& params);
// Finds the word in `all`, shows each hit with its group, and moves the rows the user
// picks to a chosen group (also saving the word as a filter for that group). Items
// that had no group go to `newlyGrouped`, items taken out of the current group to
// `movedOut`.
void MBX_FindInAllGroups(const std::string& word, const core::StrArray& all, const MBX_SelectParams& params,
                         std::vector<std::string>& newlyGrouped, std::vector<std::string>& movedOut);

// The rule file of rule n: the base file's name without extension, n \ 100 as "000",
// and the base file's extension, in the base file's folder.
std::string MBX_FilterFileName(const std::string& baseFile, long n);
// Saves the word rule (fromFind) or the moved items as "equals" rules, each with the
// target; more than 8 items ask first. Nothing without a saved-filter file.
void MBX_SaveWordFilters(bool fromFind, const MBX_SelectParams& params, const FltrRule& rule,
                         const std::vector<std::string>& moved, const std::string& target);
// Tests every saved word rule on the left items, then the right ones, and lets the user
// confirm the hits. True: `hits` (unique ignoring case) with their targets and sources
// (position in `left` from 0, -1 for the right list) at the same positions.
bool MBX_ApplySavedFilters(const std::vector<std::string>& left, const std::vector<std::string>& right,
                           std::vector<std::string>& hits, std::vector<std::string>& targets,
                           std::vector<long>& sources, const MBX_SelectParams& params);

// Edits one group's items in the selector; OK writes them back (blank items dropped),
// any other result writes nothing. `all` and `numbers` are cut to `maximum` items.
int MBX_EditGroupItems(core::StrArray& items, core::StrArray all, core::LngArray numbers,
                       const core::StrArray& skip, MBX_SelectParams& params, const std::string& section,
                       const std::string& group, const std::string& iniFile, long maximum);
namespace dlg {
// Adds the item to the group's entry unless it is there in any case.
void groupAddItem(const std::string& section, const std::string& group, const std::string& file,
                  const std::string& item);
// Removes the item (exactly) from the group's entry.
void groupRemoveItem(const std::string& section, const std::string& group, const std::string& file,
                     const std::string& item);
// "groups section|group|groups file": where a word filter moves its hits.
std::string groupTarget(const MBX_SelectParams& params, const std::string& group);
}  // namespace dlg

// The group list dialog of the report groups and site areas: the names at (section,
// entry) of the routed file "::*" in MB_EditList with the caller's buttons; new, edit
// and copy edit a group in the selector, offering only items of no group. Returns the
// list's 1 or 2; `group` is the chosen one.
int MBX_SelectGroup(const std::string& section, const std::string& entry, const core::StrArray& all,
                    const core::LngArray& numbers, MBX_SelectParams& params, const std::string& kindWord,
                    MB_ListDlgArgs& listArgs, std::string& group);

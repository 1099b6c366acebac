#pragma once
// The list maintenance dialog on a list box: a "|" list kept in an INI entry (or in
// args.memList when the section is empty) shown one item a line, with buttons to pick,
// add, delete, copy, sort and move items and the caller's own. Deletions, sorts and
// moves are written back at once. It takes the same record as the grid dialog
// (list_dialog.h); the grid-only members are not read, and args.state is the list
// box's chosen position (from 0, "-1" none).
#include <string>

#include "dialogs/list_dialog.h"

// Returns a dlg::ListResult. For action B (copy) args.selection comes back as the
// chosen item & "|" & a new name, the item & "." & the first free number from 1.
long MB_EditList(const std::string& section, const std::string& entry, const std::string& iniFile,
                 MB_ListDlgArgs& args);

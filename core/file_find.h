#pragma once
// Listing files under a folder by name patterns, optionally through all sub-folders,
// and emptying and removing folder trees. A result list keeps an empty item 0; files
// are listed with their full path, folders with a trailing "/". Hidden entries are
// dot-names; there are no system files. Linked folders are listed but never entered.
#include <string>

#include "core/typed_array.h"

// `patterns` is a "|" list. The single pattern "*" lists everything. When any pattern
// holds a "*", names are matched as wildcard patterns (* ? # [..] [!..]); otherwise a
// name matches when it contains a pattern's text, "?" taken literally. Case is ignored.
// `maxCount` -1 means no limit. True when the walk finished.
bool FINDF_FindFiles(long maxCount, const std::string& patterns, const std::string& folder,
                     bool recurse, bool includeHidden, bool includeSystem,
                     core::StrArray& result);
bool FINDF_FindFilesAndDirs(long maxCount, const std::string& patterns, const std::string& folder,
                            bool recurse, bool includeHidden, bool includeSystem,
                            core::StrArray& result);

// Removes the folder and every empty folder below it; never deletes a file, so a folder
// that holds one stays. True when the folder is gone, or could not be removed but is
// an item of the "|" keep list.
bool FINDF_DeleteDirTree(const std::string& folder, const std::string& keepList);

// Moves every file below the source into the target folder (as backup copies), or
// deletes them when the target is empty, then removes the emptied tree.
void FINDF_CopyOrDeleteTree(const std::string& sourceFolder, const std::string& targetFolder,
                            int mode, bool flatName, bool numbered);

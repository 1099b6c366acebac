#pragma once
// The page names of a log's file names, as the check of the page-component file filter
// lists them: the rules of the component filter applied to each distinct name, and the
// page names the filter would skip, accept, or add as new pages to the site database.
#include <string>
#include <vector>

#include "core/typed_array.h"
#include "logimport/filter_rules.h"
#include "platform/dao/database.h"

namespace logimport {

// The page name reports show for a requested file name.
std::string pageNameOf(const std::string& fileName, bool dropQuery, bool dropFragment);

// Names with their line counts, item 0 blank.
struct NamedCounts {
    core::StrArray names;
    core::LngArray counts;
    NamedCounts();
    void add(const std::string& name, long count);
};

// The file names split by the component filter's rules, any one rule deciding. Rules
// that test another field than the file name cannot be judged here and never match;
// `otherData` tells the user so.
struct ComponentSplit {
    NamedCounts skipped;
    NamedCounts accepted;
    bool otherData = false;
};
ComponentSplit componentSplit(const core::StrArray& fileNames, const core::LngArray& counts, const FltrRules& rules,
                              const std::vector<std::string>& colTypes);

// The accepted names whose page the site's page table does not hold yet, last first.
NamedCounts newPageFileNames(const NamedCounts& accepted, bool dropQuery, bool dropFragment, dao::Database& db);

// Distinct page names (exact case, from 0) with the file names merged into each
// ("count - name" entries of a "|" list), their line total and how many were merged.
struct PageNameTable {
    core::StrArray names;
    core::StrArray files;
    core::LngArray totals;
    core::LngArray merged;
};
PageNameTable pageNameTable(const core::StrArray& fileNames, const core::LngArray& counts, bool dropQuery,
                            bool dropFragment);

// The site options that shaped the page names, for the texts of the lists.
std::string pageNamesNotes(bool dropQuery, bool dropFragment, bool skipErrors);

// The table's rows sorted by page name: name, files, total, merged, file type.
core::StrArray pageNameRows(const PageNameTable& table);

// One row per file name from 0: the name, its line count and its page name.
core::StrArray fileNameRows(const core::StrArray& fileNames, const core::LngArray& counts, bool dropQuery,
                            bool dropFragment);

}  // namespace logimport

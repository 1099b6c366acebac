#include "logimport/page_name_check.h"

#include <algorithm>
#include <numeric>

#include "core/delimited_lists.h"
#include "core/file_names.h"
#include "core/numbers.h"
#include "core/progress.h"
#include "core/text.h"
#include "logimport/page_table.h"

namespace {

// What a rule on another field is given: no log field can hold it by accident.
const std::string kNoDataValue = "::: cannot check this condition do not have data @:%$^$";
constexpr long kColTypeFileName = 1;

}  // namespace

namespace logimport {

std::string pageNameOf(const std::string& fileName, bool dropQuery, bool dropFragment) {
    return STTA_PageNameNorm(STTA_PageNameCut(fileName, dropFragment, dropQuery));
}

NamedCounts::NamedCounts() {
    names.redim(0, 0);
    counts.redim(0, 0);
}

void NamedCounts::add(const std::string& name, long count) {
    names.append(name);
    counts.append(count);
}

ComponentSplit componentSplit(const core::StrArray& fileNames, const core::LngArray& counts, const FltrRules& rules,
                              const std::vector<std::string>& colTypes) {
    ComponentSplit split;
    std::vector<std::string> values(rules.size());
    std::vector<bool> onFileName(rules.size(), false);
    for (size_t r = 1; r < rules.size(); ++r) {
        onFileName[r] = r < colTypes.size() && TXT_Val(colTypes[r]) == kColTypeFileName;
        if (!onFileName[r]) {
            values[r] = kNoDataValue;
            split.otherData = true;
        }
    }
    for (long i = 0; i <= fileNames.ubound(); ++i) {
        for (size_t r = 1; r < rules.size(); ++r)
            if (onFileName[r]) values[r] = fileNames[i];
        long decided = 0;
        const bool match = FLTR_EvalFieldRules(values, rules, true, decided);
        (match ? split.skipped : split.accepted).add(fileNames[i], LLIST_LngArrItem(counts, i, 0));
    }
    return split;
}

NamedCounts newPageFileNames(const NamedCounts& accepted, bool dropQuery, bool dropFragment, dao::Database& db) {
    NamedCounts fresh;
    for (long i = accepted.names.ubound(); i >= 1; --i)
        if (STTA_PageIDGetOrAdd(STTA_PageNameCut(accepted.names[i], dropFragment, dropQuery), false, db) == -1)
            fresh.add(accepted.names[i], LLIST_LngArrItem(accepted.counts, i, 0));
    return fresh;
}

PageNameTable pageNameTable(const core::StrArray& fileNames, const core::LngArray& counts, bool dropQuery,
                            bool dropFragment) {
    PageNameTable t;
    const long last = fileNames.ubound();
    long report = 0;
    PIS_Start("Making List", "FileNames", std::max(0L, last), "", report, 1.0, 1, false);
    for (long i = 1; i <= last; ++i) {
        long k = -1;
        bool noSpace = false, appended = false, error = false;
        // Exact: page names that differ in case are different pages.
        LLIST_StrArrAdd(t.names, -1, pageNameOf(fileNames[i], dropQuery, dropFragment), 1, k, noSpace, appended,
                        false);
        const long count = LLIST_LngArrItem(counts, i, 0);
        std::string files = LLIST_StrArrItem(t.files, k, "");
        CHUNKS_Append(files, std::to_string(count) + " - " + fileNames[i]);
        LLIST_StrArrAdd(t.files, k, files, 0, k, noSpace, appended, false);
        LLIST_LngArrAddRelative(t.totals, k, count, k, error, appended);
        LLIST_LngArrAddRelative(t.merged, k, 1, k, error, appended);
        int64_t done = i;
        PIS_Update(done, "", report);
    }
    PIS_End(report);
    return t;
}

std::string pageNamesNotes(bool dropQuery, bool dropFragment, bool skipErrors) {
    std::string notes;
    if (dropQuery) notes += "Query removed. Query is part of url for page or component after ?" + gCR;
    if (dropFragment) notes += "Fragment removed. Fragment is part of url for page or component after #" + gCR;
    if (skipErrors) notes += "All file requests that caused server or client errors are skipped [404, 403, etc.]" + gCR;
    return notes.empty() ? notes : "NB. Database Options:" + gCR + notes + gCR;
}

core::StrArray pageNameRows(const PageNameTable& table) {
    // Text order, case ignored; page names that differ only in case keep their order.
    std::vector<long> order(static_cast<size_t>(table.names.count()));
    std::iota(order.begin(), order.end(), table.names.lbound());
    std::vector<std::string> keys;
    for (const std::string& name : table.names.items()) keys.push_back(core::lowerAscii(name));
    const long first = table.names.lbound();
    std::stable_sort(order.begin(), order.end(), [&](long a, long b) {
        return keys[static_cast<size_t>(a - first)] < keys[static_cast<size_t>(b - first)];
    });
    core::StrArray rows;
    for (long k : order) {
        const std::string& name = table.names[k];
        if (name.empty()) continue;
        rows.append(name + "\t" + table.files[k] + "\t" + std::to_string(table.totals[k]) + "\t" +
                    std::to_string(table.merged[k]) + "\t" + FILENAM_Ext(name, "/"));
    }
    return rows;
}

core::StrArray fileNameRows(const core::StrArray& fileNames, const core::LngArray& counts, bool dropQuery,
                            bool dropFragment) {
    core::StrArray rows;
    for (long i = 0; i <= fileNames.ubound(); ++i)
        rows.append(fileNames[i] + "\t" + std::to_string(LLIST_LngArrItem(counts, i, 0)) + "\t" +
                    pageNameOf(fileNames[i], dropQuery, dropFragment));
    return rows;
}

}  // namespace logimport

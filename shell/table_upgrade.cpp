#include "shell/table_upgrade.h"

#include <algorithm>

namespace {

bool hasIndex(const dao::TableDef& def, const std::string& name, const std::string& fields) {
    return std::any_of(def.indexes.begin(), def.indexes.end(),
                       [&](const dao::Index& ix) { return ix.name == name && ix.fields == fields; });
}

}  // namespace

bool TBL_SiteTablesUpgrade(dao::Database& db) {
    const auto tables = db.listTables();
    if (std::none_of(tables.begin(), tables.end(), [](const dao::TableEntry& t) { return !t.isQuery && t.name == "logline"; }))
        return false;
    const dao::TableDef def = db.tableDef("logline");
    if (!hasIndex(def, "VisitIPID", "VisitID;IP;LogLnID")) return false;
    // As logline_keep.def and logline_nokeep.def declare them: every line is in
    // exactly one of the two, and the second is empty once visits are built.
    const dao::Index visit{.name = "Visit", .fields = "VisitID", .rowsField = "VisitID", .rowsNotNull = true};
    const dao::Index newLines{.name = "NewLines", .fields = "IP;LogLnID", .rowsField = "VisitID"};
    dao::Transaction tx(db);
    db.dropIndex("logline", "VisitIPID");
    for (const dao::Index& ix : {visit, newLines})
        if (!hasIndex(def, ix.name, ix.fields)) db.createIndex("logline", ix);
    tx.commit();
    return true;
}

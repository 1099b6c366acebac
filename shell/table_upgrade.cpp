#include "shell/table_upgrade.h"

#include <algorithm>

namespace {

bool hasIndex(const dao::TableDef& def, const std::string& name, const std::string& fields) {
    return std::any_of(def.indexes.begin(), def.indexes.end(),
                       [&](const dao::Index& ix) { return ix.name == name && ix.fields == fields; });
}

bool hasIndexNamed(const dao::TableDef& def, const std::string& name) {
    return std::any_of(def.indexes.begin(), def.indexes.end(), [&](const dao::Index& ix) { return ix.name == name; });
}

bool hasTable(const std::vector<dao::TableEntry>& tables, const std::string& name) {
    return std::any_of(tables.begin(), tables.end(), [&](const dao::TableEntry& t) { return !t.isQuery && t.name == name; });
}

bool loglineIndexesUpgrade(dao::Database& db) {
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

// A stored visit is looked for by the end of the visit, no longer by its start.
bool visitIndexesUpgrade(dao::Database& db) {
    const dao::TableDef def = db.tableDef("visit");
    if (hasIndex(def, "IPEnd", "FirstIP;EndTimeStamp")) return false;
    dao::Transaction tx(db);
    if (hasIndexNamed(def, "IPStart")) db.dropIndex("visit", "IPStart");
    db.createIndex("visit", dao::Index{.name = "IPEnd", .fields = "FirstIP;EndTimeStamp"});
    tx.commit();
    return true;
}

}  // namespace

bool TBL_SiteTablesUpgrade(dao::Database& db) {
    const auto tables = db.listTables();
    bool upgraded = false;
    if (hasTable(tables, "logline")) upgraded = loglineIndexesUpgrade(db);
    if (hasTable(tables, "visit")) upgraded = visitIndexesUpgrade(db) || upgraded;
    return upgraded;
}

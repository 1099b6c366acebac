#pragma once
// Upkeep of a site database: opening the database of a data set named in dbdef.ini,
// compacting it in place, and deleting the rows that match one value.
#include <string>

#include "core/variant.h"
#include "platform/dao/database.h"

// The database file of a data set: the text after the first ";" of the data set's
// "DB definitions" in the definition INI, as a full path in the site folder.
std::string TBL_DataSetDBPath(const std::string& dataSet, const std::string& iniPath);
// Opens the data set's database (shared, read-write) into `db`.
void TBL_OpenDataSetDB(const std::string& dataSet, const std::string& iniPath, dao::Database& db);
// Compacts the data set's database file in place: a compact copy under an unused
// name beside it replaces the file only when complete. True when compacted; on any
// failure the original stays untouched, and `db` is open on it either way.
bool TBL_CompactDB(const std::string& dataSet, const std::string& iniPath, dao::Database& db);

// Deletes every row of the table whose field equals the value: a number, a text in
// single or double quotes (quotes inside doubled), or "null" for the rows where the
// field is Null. The value is bound, never pasted into the SQL; any other value and
// a table or field name that is not letters, digits and "_" are refused.
void TBL_DeleteWhere(dao::Database& db, const std::string& table, const std::string& field,
                     const std::string& value);

// Placeholders that some commands call: they do nothing and give the empty value.
core::Variant DEVSTUB_ReturnEmpty6(const core::Variant&, const core::Variant&, const core::Variant&,
                                   const core::Variant&, const core::Variant&, const core::Variant&);
core::Variant DEVSTUB_ReturnEmpty8(const core::Variant&, const core::Variant&, const core::Variant&,
                                   const core::Variant&, const core::Variant&, const core::Variant&,
                                   const core::Variant&, const core::Variant&);

#pragma once
// Upkeep of a site database: opening the database of a data set named in dbdef.ini,
// compacting it in place, and deleting the rows that match one value.
#include <string>

#include "platform/dao/database.h"

// Deletes every row of the table whose field equals the value: a number, a text in
// single or double quotes (quotes inside doubled), or "null" for the rows where the
// field is Null. The value is bound, never pasted into the SQL; any other value and
// a table or field name that is not letters, digits and "_" are refused.
void TBL_DeleteWhere(dao::Database& db, const std::string& table, const std::string& field,
                     const std::string& value);

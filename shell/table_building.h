#pragma once
// Building the tables and stored queries of a site database from the definitions its
// dbdef.ini lists: a table from a definition file (.def: a block of field rows and a
// block of index rows, comma-separated), a query from an SQL text. Only what is
// missing is built; existing tables and queries are never compared or changed. Each
// table is created whole, so a failure leaves nothing and is retried next time.
#include <string>
#include <vector>

#include "platform/dao/schema.h"

// Makes every table and query listed in the definition INI (the site's dbdef.ini)
// exist in its database: [Main] "Physical Data sets" lists data sets, each data set's
// "DB definitions" lists "key;database file" entries, each key's "Tables" lists table
// keys with "Name" and "Definitions" (a .def file, or "SQL" with the query's "SQL").
// A failure asks whether to go on with the other tables and is logged; another running
// copy of the program on a database ends the program after telling the user; a
// database another program holds locked raises its lock error (3218) to the caller.
void BLDTBL_CheckAllAndAddTbls(const std::string& iniPath, bool& allowZeroLength);

// The table key's "Definitions": "SQL" as it stands, a file name as a full path (in
// the current site's "param/def" folder unless it is absolute).
std::string BLDTDEFS_TableDefSource(const std::string& tableKey, const std::string& iniPath);

// The old engine's type number of a definition file's type name (exact spelling);
// 0 for a name it does not know.
int BLDTBL_FieldTypeFromName(const std::string& typeName);

// Creates one table from its definition file (a relative name is taken in the current
// site's "def" folder) in the database file. True when the
// table and all its indexes were created; false, with nothing created, when the file
// has no field block or only an empty row in it; false when the index block is
// missing (the table is then created without indexes). Errors: 1104 "*" in the
// database path, 1105 database file not found, 1101 table name not 1 to 40
// characters, 1102 table name not letters, digits and "_", 1106 "*" in the definition
// file's path, 1107 definition file not found, 1103 unknown field option, 1109 bad
// unique flag, 1110 bad primary flag; errors of the database pass through.
bool BLDTBL_BuildTableFromDef(const std::string& tableName, const std::string& dbPath,
                              const std::string& defFile, bool& allowZeroLength);

namespace shell {

// A file named in the definition INI as a full path (PAFN_FullPath: in the current
// site's folder, in `subFolder` of it when given, unless absolute); "\\" and "/" both
// separate folders.
std::string definitionPath(const std::string& name, const std::string& subFolder = {});

// The rows of a definition file's blocks as a table definition (errors 1103, 1109,
// 1110 as above). Fields come first to last; index rows are cut or filled to four cells.
dao::TableDef tableDefFromRows(const std::string& tableName, const std::vector<std::vector<std::string>>& fieldRows,
                               const std::vector<std::vector<std::string>>& indexRows, bool allowZeroLength);

}  // namespace shell

#pragma once
// A site on a temporary program folder: its param folder with dbdef.ini and
// LastVals.ini, and a database built from the shipped table definitions.
#include <cstdlib>
#include <string>

#include "core/path_checks.h"
#include "core/program_paths.h"
#include "core/scoped_value.h"
#include "core/text.h"
#include "logimport/page_table.h"
#include "platform/dao/database.h"
#include "shell/table_building.h"
#include "tests/support/temp_home.h"

namespace testsupport {

// The paths it sets and the page mirror are put back as they were when it goes.
class TempSite {
public:
    explicit TempSite(bool keepValues = true) {
        TXT_CrLfInit();
        const std::string src = std::getenv("DRAVOLIN_SOURCE_DIR");
        writeFile(gIniDbDef, std::string("[Main]\nParm=Test Site\nLastKeepVal=") + (keepValues ? "True" : "False") +
                                 "\nSkip404=False\nRemQuery=False\nRemFrag=True\n");
        writeFile(gIniLastVals, "[Main]\n");
        dbPath = home / "site/data/site1.db";
        writeFile(dbPath, "");
        { dao::Database create(dbPath, dao::OpenOptions{.create = true}); }
        bool allow = true;
        const std::string logline = keepValues ? "logline_keep.def" : "logline_nokeep.def";
        BLDTBL_BuildTableFromDef("logline", dbPath, src + "/resources/param/def/" + logline, allow);
        for (const char* t : {"visit", "visitpages", "page"})
            BLDTBL_BuildTableFromDef(t, dbPath, src + "/resources/FirstSite/param/def/" + std::string(t) + ".def",
                                     allow);
        db = dao::Database(dbPath);
    }

    long long count(const std::string& sql) {
        auto rs = db.openRecordset(sql, dao::RecordsetType::Snapshot);
        return rs.field(0).asInteger();
    }

    TempHome home;

private:
    core::ScopedValue<std::string> mainDataDir_{gMainDataDir, home / "site"};
    core::ScopedValue<std::string> dbDef_{gIniDbDef, home / "site/param/dbdef.ini"};
    core::ScopedValue<std::string> lastVals_{gIniLastVals, home / "site/param/LastVals.ini"};
    core::ScopedValue<logimport::PageNames> pageTable_{PageTable, {}};

public:
    std::string dbPath;
    dao::Database db;
};

}  // namespace testsupport

#include "logimport/visit_date_range.h"

#include <string>

#include "core/ini_store.h"
#include "core/program_paths.h"
#include "core/text.h"
#include "core/user_interface.h"

namespace {
// The main window's File menu command that adds log data.
const char* const kAddDataCaption = "Add ne&w raw log data";
}  // namespace

bool STTA_SiteDBDateRange(dao::Database& db, double& first, double& last, bool showMessage) {
    bool any = false;
    db.forEachRow("SELECT StartTimeStamp, EndTimeStamp FROM visit ORDER BY StartTimeStamp DESC, VisitID DESC LIMIT 1",
                  {}, [&](const dao::Statement& s) {
                      any = true;
                      last = s.column(1).isNull() ? 0 : s.column(1).asDouble();
                  });
    if (!any) {
        if (showMessage)
            core::ui().info("Site database " + INI_Get("Main", "Parm", gIniDbDef, kIniMissingDefault, "") + " is empty." + gCRCR +
                                "First load data to site database using " + TXT_RemoveAmpV(kAddDataCaption) +
                                " from File menu.",
                            "");
        return false;
    }
    first = 0;
    db.forEachRow("SELECT MIN(StartTimeStamp) FROM visit WHERE StartTimeStamp <> 0", {},
                  [&](const dao::Statement& s) { first = s.column(0).isNull() ? 0 : s.column(0).asDouble(); });
    return true;
}

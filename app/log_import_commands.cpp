#include "app/log_import_commands.h"

#include "core/shell_hooks.h"
#include "logimport/forms/add_log_data.h"
#include "logimport/forms/addition_history_list.h"
#include "logimport/forms/log_file_lists.h"
#include "logimport/forms/search_engine_editor.h"
#include "logimport/forms/test_reads.h"
#include "logimport/visit_building.h"
#include "shell/log_import_hooks.h"
#include "shell/forms/main_window.h"

void wireLogImportCommands(Mainfrm& main) {
    shell::setLogImportHooks({.addLogData = [] { STTA_AddLogData(); },
                              .incompleteAddFinish = [] {
                                  // Only a site that is open can have an addition to finish.
                                  dao::Database* db = core::shellHooks().siteDatabase();
                                  long visits = 0;
                                  if (db) STTA_IncompleteAddFinish(*db, gReadRec, visits);
                              },
                              .logFieldValuesList = [] { STTA_LogFldValuesList(); }});
    main.wire("FW", [] { STTA_AddLogData(); });
    main.wire("FL", [] { STTA_AddDataLogList(); });
    main.wire("FM", [] { STTA_LogFmtDefsEdit(); });
    main.wire("FG", [] { STTA_SEDefsEdit(); });
}

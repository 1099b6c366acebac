#include "app/log_import_commands.h"

#include "logimport/forms/add_log_data.h"
#include "logimport/forms/addition_history_list.h"
#include "logimport/forms/log_file_lists.h"
#include "logimport/forms/search_engine_editor.h"
#include "logimport/forms/test_reads.h"
#include "logimport/visit_building.h"
#include "shell/log_import_hooks.h"
#include "shell/main_window.h"

void wireLogImportCommands(Mainfrm& main) {
    shell::setLogImportHooks({.addLogData = [] { STTA_AddLogData(); },
                              .incompleteAddFinish = [] {
                                  long visits = 0;
                                  STTA_IncompleteAddFinish(logimport::siteDatabase(), gReadRec, visits);
                              }});
    main.wire("FW", [] { STTA_AddLogData(); });
    main.wire("FL", [] { STTA_AddDataLogList(); });
    main.wire("FM", [] { STTA_LogFmtDefsEdit(); });
    main.wire("FG", [] { STTA_SEDefsEdit(); });
}

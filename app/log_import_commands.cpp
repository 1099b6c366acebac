#include "app/log_import_commands.h"

#include "logimport/add_log_data.h"
#include "logimport/addition_history_list.h"
#include "logimport/log_file_lists.h"
#include "logimport/search_engine_editor.h"
#include "shell/main_window.h"

void wireLogImportCommands(Mainfrm& main) {
    main.wire("FW", [] { STTA_AddLogData(); });
    main.wire("FL", [] { STTA_AddDataLogList(); });
    main.wire("FM", [] { STTA_LogFmtDefsEdit(); });
    main.wire("FG", [] { STTA_SEDefsEdit(); });
}

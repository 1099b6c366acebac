#include "app/log_import_commands.h"

#include "logimport/forms/add_log_data.h"
#include "logimport/forms/log_file_lists.h"
#include "logimport/forms/search_engine_editor.h"
#include "shell/main_window.h"

void wireLogImportCommands(Mainfrm& main) {
    main.wire("FW", [] { STTA_AddLogData(); });
    main.wire("FM", [] { STTA_LogFmtDefsEdit(); });
    main.wire("FG", [] { STTA_SEDefsEdit(); });
}

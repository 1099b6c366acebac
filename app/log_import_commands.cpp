#include "app/log_import_commands.h"

#include "logimport/log_file_lists.h"
#include "shell/main_window.h"

void wireLogImportCommands(Mainfrm& main) {
    main.wire("FM", [] { STTA_LogFmtDefsEdit(); });
}

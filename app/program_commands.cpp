#include "app/program_commands.h"

#include "app/analysis_option_commands.h"
#include "app/analysis_target_commands.h"
#include "app/help_commands.h"
#include "app/log_import_commands.h"
#include "shell/hooks.h"
#include "shell/log_import_hooks.h"

ProgramCommands::ProgramCommands(Mainfrm& main) : analysis_(main) {
    wireLogImportCommands(main);
    wireAnalysisOptionCommands(main, analysis_.dispatch());
    wireAnalysisTargetCommands(main, analysis_.dispatch());
    wireHelpCommands(main);
}

ProgramCommands::~ProgramCommands() {
    shell::setHelpViewer({});
    shell::setLogImportHooks({});
}

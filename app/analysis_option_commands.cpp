#include "app/analysis_option_commands.h"

#include "analysis/forms/analysis_options.h"
#include "shell/main_window.h"
#include "shell/sites.h"

void wireAnalysisOptionCommands(Mainfrm& main) {
    main.wire("SD", [] { STTA_AnalysisOptionsEnter(gDB); });
    for (const char* code : {"ER", "EO", "SC"})
        main.wire(code, [code] { STTA_OptionsDialogShow(code); });
}

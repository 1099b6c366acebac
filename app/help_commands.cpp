#include "app/help_commands.h"

#include <QAction>
#include <QKeySequence>
#include <QScreen>

#include "core/program_paths.h"
#include "core/text.h"
#include "help/forms/about_box.h"
#include "help/forms/help_window.h"
#include "help/help_display.h"
#include "help/linked_browser.h"
#include "platform/ui/controls.h"
#include "shell/hooks.h"
#include "shell/forms/main_window.h"

void wireHelpCommands(Mainfrm& main) {
    help::installHelpForms();
    const core::UiHandle window = ui::handle(&main);
    // F1 in a box and "Help for Last function" come here through the shell.
    // The main window takes the whole screen (unless maximised already) before help
    // shows beside it.
    shell::setHelpViewer([&main, window](const std::string& file, const std::string& topic) {
        if (!main.isMaximized() && main.screen()) {
            const QRect screen = main.screen()->availableGeometry();
            const QSize frame = main.frameGeometry().size() - main.size();
            main.resize(screen.size() - frame);
            // move() places the frame, so that the title bar stays on the screen.
            main.move(screen.topLeft());
        }
        HELP_Show(window, window, file, topic);
    });
    main.wire("HC", [window] { HELP_Show(window, window, "", ""); });
    main.wire("fMnu_HelpStart", [window] { HELP_Show(window, window, gHelpPath + "helpcont.htm", "start"); });
    main.wire("fMnu_HelpLast", [] { STTA_HelpShow(gCurrMnu); });
    // F1 in the main window and its report windows, as F1 in a box, is help on the last command.
    main.menuItem("fMnu_HelpLast")->setShortcut(QKeySequence(Qt::Key_F1));
    main.wire("fMnu_HM", [window] { HELP32_ShowLinkedIE(window, window); });
    // Available once help has been shown in the help window.
    main.menuItem("fMnu_HM")->setEnabled(false);
    main.wire("HA", [] { ABOUT_TextShow("", "", "", gCR + "Shared Parameters from Directory: " + gCR + gAppPath); });
}

// Starts the program: makes sure the program folder exists, then loads the main
// window, which brings the whole program up. An EndProgram raised while loading ends
// the program cleanly; the site database is closed on every way out.
#include <QApplication>
#include <QMessageBox>

#include "app/program_commands.h"
#include "core/user_interface.h"
#include "dialogs/msgbox.h"
#include "platform/sys/program_folder.h"
#include "platform/sys/rt_error.h"
#include "shell/forms/main_window.h"
#include "shell/sites.h"
#include "shell/start_up.h"
#include "window/services.h"

namespace {

// The command line after the program's name, as one text.
std::string commandLine(int argc, char** argv) {
    std::string line;
    for (int i = 1; i < argc; ++i) line += (i > 1 ? " " : "") + std::string(argv[i]);
    return line;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Dravolin");
    window::installServices();  // progress windows; the interface is replaced next
    dlg::installMessageBoxes();
    int rc = 0;
    try {
        const std::string folder = sys::programFolder();
        shell::openProgramFolder(folder,
                                 sys::resourcesFolder(QCoreApplication::applicationDirPath().toStdString()));
        Mainfrm main;
        ProgramCommands commands(main);
        main.MDIForm_Load(commandLine(argc, argv));
        main.showMaximized();
        rc = QApplication::exec();
    } catch (const sys::EndProgram& end) {
        rc = end.exitCode();
    } catch (const sys::RtError& e) {
        dlg::plainMessageBox(QMessageBox::Critical, "Dravolin", e.description(), QMessageBox::Ok, nullptr)->exec();
        rc = 1;
    }
    STTA_SiteDBClose();
    core::setUserInterface(nullptr);
    return rc;
}

// Starts the program: makes sure the program folder exists, then opens the main
// window. An EndProgram raised anywhere below ends the program cleanly.
#include <QApplication>
#include <QMainWindow>
#include <QMessageBox>

#include "platform/sys/program_folder.h"
#include "platform/sys/rt_error.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Dravolin");
    try {
        sys::ensureProgramFolder(sys::programFolder(),
                                 sys::resourcesFolder(QCoreApplication::applicationDirPath().toStdString()));
        QMainWindow main;
        main.setWindowTitle("Dravolin");
        main.resize(1024, 700);
        main.show();
        return QApplication::exec();
    } catch (const sys::EndProgram& end) {
        return end.exitCode();
    } catch (const sys::RtError& e) {
        QMessageBox::critical(nullptr, "Dravolin", QString::fromStdString(e.description()));
        return 1;
    }
}

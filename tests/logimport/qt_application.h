#pragma once
// The dialogs of the log import are Qt boxes: their tests need a QApplication. One is
// made on first use unless the test program already has one.
#include <QApplication>

namespace logimporttest {

inline void ensureQtApplication() {
    if (QApplication::instance()) return;
    static int argc = 1;
    static char name[] = "tests";
    static char* argv[] = {name, nullptr};
    // Never destroyed: Qt's own globals may be gone by the time statics are.
    static QApplication* app = new QApplication(argc, argv);
    (void)app;
}

}  // namespace logimporttest

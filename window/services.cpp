#include "window/services.h"

#include "core/progress.h"
#include "core/user_interface.h"
#include "platform/ui/qt_user_interface.h"
#include "window/progress_reports.h"

namespace window {

void installServices() {
    static ui::QtUserInterface userInterface;
    static ProgressWindows progressWindows;
    core::setUserInterface(&userInterface);
    core::setProgressReports(&progressWindows);
}

}  // namespace window

#include "window/services.h"

#include <QWidget>

#include "core/progress.h"
#include "core/user_interface.h"
#include "platform/ui/qt_user_interface.h"
#include "window/form_ops.h"
#include "window/progress_reports.h"

namespace window {
namespace {

// The active control as the error handler reports it: type name and value text.
class ToolkitInterface : public ui::QtUserInterface {
public:
    std::string activeControlName() const override {
        const QWidget* c = activeControl();
        if (!c) return {};
        std::string value, type;
        CTLSIMPLE_TypeName(c, value, type);
        return type;
    }
    std::string activeControlValue() const override {
        std::string value, type;
        CTLSIMPLE_TypeName(activeControl(), value, type);
        return value;
    }
};

}  // namespace

void installServices() {
    static ToolkitInterface userInterface;
    static ProgressWindows progressWindows;
    core::setUserInterface(&userInterface);
    core::setProgressReports(&progressWindows);
}

}  // namespace window

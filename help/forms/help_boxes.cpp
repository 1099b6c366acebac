// The help display's boxes on the dialog builder, and its registration at start-up.
#include <QAction>
#include <QWidget>

#include "dialogs/extra_controls.h"
#include "dialogs/msgbox.h"
#include "dialogs/option_strings.h"
#include "dialogs/ready_dialogs.h"
#include "help/forms/help_window.h"
#include "help/help_display.h"
#include "platform/ui/controls.h"

namespace help {
namespace {

class DialogHelpBoxes : public HelpBoxes {
public:
    void popup(const std::string& text, const std::string& caption) override {
        MB_CtlEntry controls;
        MB_AddControl("TextBox", MB_SpecToTagForm("7000|6000||||||||-1"), text, controls, true);
        std::string state;
        Msgbxform* form = nullptr;
        MB_Show("", "0", "", caption, controls, state, form);
    }
    int browserWarning(const std::string& message) override {
        return MB_Once(1, message, "Main", "Show Warning when IE 4 help fails", "::*", 7, "&OK|&Always use popup",
                       MB_OptEsc(1), "");
    }
    void showSameHelpItem(core::UiHandle main) override {
        // The main window lives as long as the program.
        auto* window = qobject_cast<QWidget*>(ui::object(main));
        if (!window) return;
        if (auto* item = window->findChild<QAction*>("fMnu_HM")) {
            item->setVisible(true);
            item->setEnabled(true);
        }
    }
};

}  // namespace

void installHelpForms() {
    static DialogHelpBoxes boxes;
    setHelpBoxes(&boxes);
    setBrowserFactory(makeHelpBrowser);
}

}  // namespace help

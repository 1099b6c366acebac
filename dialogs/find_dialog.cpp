#include "dialogs/find_dialog.h"

#include "core/text.h"
#include "dialogs/msgbox.h"
#include "dialogs/option_strings.h"
#include "dialogs/ready_dialogs.h"
#include "window/control_keys.h"

namespace {

constexpr int kKeyF3 = 114;

// The text entered, or "" when the prompt was cancelled.
std::string askFindText(const std::string& findText, const std::string& extraPrompt) {
    std::string text = findText;
    // F3 confirms as the OK button does; the box is at least 60 % of the work area wide.
    const std::string options = MB_OptEsc(2) + MB_OptKeyHides(kKeyF3, 0) + MB_OptMinWidthPct(60);
    const int pressed = MB_ShowTextBox("Search for text string." + extraPrompt + gCRCR + "Enter Text To Find [t]:",
                                       "&Ok [F3]|&Cancel", options, "Find in Current Section",
                                       "TextBox|~~|" + MB_SpecToTagForm("||||||True|True"), text);
    return pressed == gMBCancelNo ? std::string() : text;
}

}  // namespace

bool CTL_FindInControl(QWidget* control, std::string& findText, bool ask, const std::string& extraPrompt,
                       std::string& message) {
    if (findText.empty() || ask) {
        const std::string entered = askFindText(findText, extraPrompt);
        if (entered.empty()) {
            message = "Find Cancelled.";
            return false;
        }
        findText = entered;
    }
    return window::findInControl(control, findText, message);
}

#include "tests/support/fake_user_interface.h"

#include "core/dialog_responder.h"
#include "tests/support/button_driver.h"

namespace testsupport {
namespace {

class PressDriver : public ButtonDriver {
public:
    PressDriver(const std::vector<std::string>& buttons, std::vector<core::CtlView>& ctls)
        : ButtonDriver(buttons), ctls_(ctls) {}
    void setText(int, const std::string&) override { noControls(); }
    void setCheck(int entry, int value) override {
        for (auto& c : ctls_)
            if (c.entry == entry && c.type == "CheckBox") { c.value = std::to_string(value); return; }
        noControls();
    }
    void choose(int, const std::vector<int>&) override { noControls(); }
    void click(int, int) override { noControls(); }
    void dblClick(int, int) override { noControls(); }

private:
    [[noreturn]] static void noControls() { throw core::UnexpectedDialog("this box has no controls"); }
    std::vector<core::CtlView>& ctls_;
};

int ask(const std::string& kind, const std::string& message, const std::vector<std::string>& buttons,
        const std::string& caption, std::vector<core::CtlView>* ctls = nullptr) {
    core::DlgResponder* r = core::dialogResponder();
    core::DlgView view;
    view.kind = kind;
    view.caption = caption;
    view.message = message;
    view.buttons = buttons;
    if (ctls) view.ctls = *ctls;
    if (!r) throw core::UnexpectedDialog("no responder for \"" + caption + "\": " + message);
    std::vector<core::CtlView> values = view.ctls;
    PressDriver d(view.buttons, values);
    r->respond(view, d);
    if (ctls) *ctls = values;
    if (d.pressed == 0) throw core::UnexpectedDialog("box left unanswered: " + message);
    return d.pressed;
}

}  // namespace

FakeUserInterface::FakeUserInterface() { core::setUserInterface(this); }
FakeUserInterface::~FakeUserInterface() { core::setUserInterface(nullptr); }

int FakeUserInterface::msgBox(const std::string& message, const std::string& buttons,
                              const std::string&, const std::string& caption) {
    return ask("MB", message, core::buttonCaptions(buttons), caption);
}

void FakeUserInterface::info(const std::string& message, const std::string& caption) {
    ask("MB", message, {"&OK"}, caption);
}

int FakeUserInterface::msgBoxDontShowAgain(const std::string& message, const std::string& buttons,
                                           const std::string&, const std::string& caption,
                                           bool& dontShowAgain) {
    core::CtlView box;
    box.entry = 1;
    box.type = "CheckBox";
    box.caption = "Do &not Show this Message again";
    box.value = "0";
    std::vector<core::CtlView> ctls{box};
    int pressed = ask("MB", message, core::buttonCaptions(buttons), caption, &ctls);
    if (ctls[0].value == "1") dontShowAgain = true;
    return pressed;
}

void FakeUserInterface::systemOk(const std::string& message, const std::string& caption) {
    ask("SysMsg", message, {"OK"}, caption);
}

bool FakeUserInterface::systemOkCancel(const std::string& message, const std::string& caption) {
    return ask("SysMsg", message, {"OK", "Cancel"}, caption) == 1;
}

}  // namespace testsupport

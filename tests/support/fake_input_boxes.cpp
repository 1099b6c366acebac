// The fake's input box, list pick and sequence box: one control each, set by the responder.
#include <algorithm>

#include "core/dialog_responder.h"
#include "tests/support/button_driver.h"
#include "tests/support/fake_user_interface.h"

namespace testsupport {
namespace {

class OneControlDriver : public ButtonDriver {
public:
    OneControlDriver(const std::vector<std::string>& buttons, core::CtlView& ctl) : ButtonDriver(buttons), ctl_(ctl) {}
    void setText(int entry, const std::string& text) override {
        if (entry != ctl_.entry || ctl_.type != "TextBox") wrong();
        ctl_.value = text;
    }
    void setCheck(int, int) override { wrong(); }
    void choose(int entry, const std::vector<int>& positions) override {
        if (entry != ctl_.entry || ctl_.type != "ListBox" || positions.size() != 1 || positions[0] < 0 ||
            positions[0] >= int(ctl_.items.size()))
            wrong();
        ctl_.selection = ctl_.items[size_t(positions[0])];
        chosen = positions[0];
    }
    void click(int, int) override { wrong(); }
    void dblClick(int, int) override { wrong(); }
    int chosen = -1;  // the position the responder chose, -1 when it chose none

private:
    [[noreturn]] static void wrong() { throw core::UnexpectedDialog("no such control in this box"); }
    core::CtlView& ctl_;
};

int askWith(core::CtlView ctl, const std::string& message, const std::string& buttons, const std::string& caption,
            const std::string& notice, std::string& result, long* position = nullptr) {
    core::DlgResponder* r = core::dialogResponder();
    if (!r) throw core::UnexpectedDialog("no responder for \"" + caption + "\": " + message);
    core::DlgView view;
    view.kind = "MB";
    view.caption = caption;
    view.message = message;
    view.notice = notice;
    view.buttons = core::buttonCaptions(buttons);
    view.ctls = {ctl};
    OneControlDriver d(view.buttons, ctl);
    r->respond(view, d);
    if (d.pressed == 0) throw core::UnexpectedDialog("box left unanswered: " + message);
    result = ctl.type == "TextBox" ? ctl.value : ctl.selection;
    if (position) {
        // Without a choice of the responder, the line that was offered chosen.
        const auto offered = std::find(ctl.items.begin(), ctl.items.end(), result);
        *position = d.chosen >= 0                ? d.chosen
                    : offered != ctl.items.end() ? static_cast<long>(offered - ctl.items.begin())
                                                 : -1;
    }
    return d.pressed;
}

}  // namespace

int FakeUserInterface::inputBox(const std::string& message, const std::string& buttons, const std::string& caption,
                                const std::string& notice, std::string& value) {
    core::CtlView box;
    box.entry = 1;
    box.type = "TextBox";
    box.value = value;
    return askWith(box, message, buttons, caption, notice, value);
}

int FakeUserInterface::listPick(const std::vector<std::string>& items, const std::string&, const std::string&,
                                const std::string& buttons, const std::string& message, const std::string& caption,
                                std::string& chosen, long* position) {
    core::CtlView list;
    list.entry = 1;
    list.type = "ListBox";
    list.selection = chosen;
    list.items = items;
    return askWith(list, message, buttons, caption, "", chosen, position);
}

int FakeUserInterface::sequenceBox(const std::string& message, const std::string& caption,
                                   std::vector<std::string>& items, const std::string&, const std::string& buttons) {
    core::CtlView list;
    list.entry = 1;
    list.type = "ListBox";
    if (arrange) arrange(items);
    list.items = items;
    std::string chosen;
    return askWith(list, message, buttons, caption, "", chosen);
}

}  // namespace testsupport

#include "tests/support/scripted_responder.h"

#include <sstream>

namespace testsupport {
namespace {

std::string describe(const core::DlgView& v) {
    std::ostringstream s;
    s << v.kind << " box \"" << v.caption << "\": " << v.message << " [";
    for (size_t i = 0; i < v.buttons.size(); ++i) s << (i ? "|" : "") << v.buttons[i];
    s << "]";
    return s.str();
}

const core::CtlView* find(const core::DlgView& v, const std::string& address) {
    for (const auto& c : v.ctls) {
        if (address.rfind("#", 0) == 0 && std::to_string(c.entry) == address.substr(1)) return &c;
        if (address.rfind("cap:", 0) == 0 && core::sameCaption(c.caption, address.substr(4))) return &c;
        if (address.rfind("after:", 0) == 0 && core::sameCaption(c.labelBefore, address.substr(6))) return &c;
    }
    return nullptr;
}

void set(const core::CtlView& c, const std::string& value, core::DlgDriver& d) {
    if (c.type == "CheckBox" || c.type == "OptionButton") {
        d.setCheck(c.entry, std::stoi(value));
    } else if (c.type == "ListBox") {
        std::vector<int> positions;
        std::istringstream in(value);
        for (std::string p; std::getline(in, p, ',');) positions.push_back(std::stoi(p));
        d.choose(c.entry, positions);
    } else {
        d.setText(c.entry, value);
    }
}

}  // namespace

ScriptedResponder::ScriptedResponder() { core::setDialogResponder(this); }
ScriptedResponder::~ScriptedResponder() {
    if (core::dialogResponder() == this) core::setDialogResponder(nullptr);
}

ScriptedResponder& ScriptedResponder::expect(Answer a) {
    queue_.push_back(std::move(a));
    return *this;
}

ScriptedResponder& ScriptedResponder::press(const std::string& message, const std::string& button) {
    Answer a;
    a.expectMessage = message;
    a.press = button;
    return expect(std::move(a));
}

void ScriptedResponder::refuse(const std::string& what) {
    refused_.push_back(what);
    throw core::UnexpectedDialog(what);
}

void ScriptedResponder::respond(const core::DlgView& view, core::DlgDriver& driver) {
    shown_.push_back(view);
    if (queue_.empty()) refuse("unexpected " + describe(view));
    Answer a = std::move(queue_.front());
    queue_.pop_front();
    if (view.caption.find(a.expectCaption) == std::string::npos ||
        view.message.find(a.expectMessage) == std::string::npos)
        refuse("expected a box with caption \"" + a.expectCaption + "\" and message \"" + a.expectMessage +
               "\", got " + describe(view));
    for (const auto& [address, value] : a.sets) {
        const core::CtlView* c = find(view, address);
        if (!c) refuse("no control " + address + " in " + describe(view));
        set(*c, value, driver);
    }
    if (a.act) a.act(view, driver);
    if (!a.press.empty()) driver.press(a.press);
}

}  // namespace testsupport

#include "core/user_interface.h"

#include "core/dialog_responder.h"
#include "core/scoped_value.h"

namespace core {
namespace {

// Without a window system nobody can answer a box; failing loudly beats a guess.
class HeadlessInterface : public UserInterface {
public:
    int msgBox(const std::string& message, const std::string&, const std::string&,
               const std::string& caption) override {
        throw UnexpectedDialog("no user interface for the box \"" + caption + "\": " + message);
    }
    void info(const std::string& message, const std::string& caption) override {
        msgBox(message, "0", "", caption);
    }
    bool systemOkCancel(const std::string& message, const std::string& caption) override {
        msgBox(message, "1", "", caption);
        return false;
    }
    void doEvents() override {}
    int mousePointer() const override { return pointer_; }
    void setMousePointer(int pointer) override { pointer_ = pointer; }
    std::string activeWindowCaption() const override { return {}; }
    std::string activeControlName() const override { return {}; }
    void clipboardSetText(const std::string&) override {}
    void clipboardClear() override {}

private:
    int pointer_ = 0;
};

HeadlessInterface headless;
UserInterface* current = &headless;

}  // namespace

int UserInterface::listDlg(const std::vector<std::string>&, const std::string&, const std::string&,
                           const std::string&, const std::string& message, const std::string& caption) {
    throw UnexpectedDialog("no list dialog for the box \"" + caption + "\": " + message);
}

int UserInterface::inputBox(const std::string& message, const std::string&, const std::string& caption,
                            const std::string&, std::string&) {
    throw UnexpectedDialog("no input box for the box \"" + caption + "\": " + message);
}

int UserInterface::listPick(const std::vector<std::string>&, const std::string&, const std::string&,
                            const std::string&, const std::string& message, const std::string& caption,
                            std::string&, long*) {
    throw UnexpectedDialog("no list dialog for the box \"" + caption + "\": " + message);
}

int UserInterface::sequenceBox(const std::string& message, const std::string& caption, std::vector<std::string>&,
                               const std::string&, const std::string&) {
    throw UnexpectedDialog("no sequence box for the box \"" + caption + "\": " + message);
}

UserInterface& ui() { return *current; }
void setUserInterface(UserInterface* u) { current = u ? u : &headless; }

void doEvents() {
    const ScopedValue<bool> yielding(gInDoEvents, true);
    current->doEvents();
}

std::vector<std::string> buttonCaptions(const std::string& buttons) {
    static const char* const sets[] = {"&OK", "&OK|&Cancel", "&Abort|&Retry|&Ignore", "&Yes|&No|&Cancel",
                                       "&Yes|&No", "&Retry|&Cancel"};
    std::string list = buttons;
    if (buttons.size() == 1 && buttons[0] >= '0' && buttons[0] <= '5') list = sets[buttons[0] - '0'];
    std::vector<std::string> out;
    size_t start = 0;
    for (size_t bar; (bar = list.find('|', start)) != std::string::npos; start = bar + 1)
        out.push_back(list.substr(start, bar - start));
    out.push_back(list.substr(start));
    return out;
}

}  // namespace core

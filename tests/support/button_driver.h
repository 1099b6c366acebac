#pragma once
// The buttons of a fake box: presses by number or caption ("&" and case ignored),
// the close box pressing the last one. Subclasses add the box's controls.
#include <string>
#include <vector>

#include "core/dialog_responder.h"

namespace testsupport {

class ButtonDriver : public core::DlgDriver {
public:
    explicit ButtonDriver(const std::vector<std::string>& buttons) : buttons_(buttons) {}
    int pressed = 0;
    void press(int button) override { pressed = button; }
    void press(const std::string& caption) override {
        for (size_t i = 0; i < buttons_.size(); ++i)
            if (core::sameCaption(buttons_[i], caption)) {
                pressed = int(i) + 1;
                return;
            }
        throw core::UnexpectedDialog("no button \"" + caption + "\"");
    }
    void closeBox() override { pressed = int(buttons_.size()); }
    void key(int, int) override {}

private:
    const std::vector<std::string>& buttons_;
};

}  // namespace testsupport

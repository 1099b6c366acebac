#pragma once
// Boxes built headless: a work area of a known size, the responder answering, and no
// box left loaded afterwards.
#include <gtest/gtest.h>

#include <QRect>
#include <functional>
#include <initializer_list>
#include <string>
#include <utility>

#include "core/dialog_responder.h"
#include "dialogs/extra_controls.h"
#include "dialogs/msgbox.h"
#include "dialogs/msgbox_form.h"
#include "platform/ui/work_area.h"
#include "tests/support/scripted_responder.h"

namespace dlgtest {

// A spec in Tag form with the given fields set.
inline std::string spec(std::initializer_list<std::pair<int, std::string>> fields) {
    int last = 0;
    for (const auto& f : fields) last = std::max(last, f.first);
    std::string out;
    for (int m = 1; m <= last; ++m) {
        if (m > 1) out += "|~~|";
        for (const auto& f : fields)
            if (f.first == m) out += f.second;
    }
    return out;
}

// The n-th control of a type in the box (0 the first).
inline const core::CtlView& nth(const core::DlgView& v, const std::string& type, int n) {
    for (const core::CtlView& c : v.ctls)
        if (c.type == type && n-- == 0) return c;
    throw core::UnexpectedDialog("no " + type + " in \"" + v.caption + "\"");
}
// The two lists of the two-list selector.
inline const core::CtlView& leftList(const core::DlgView& v) { return nth(v, "ListBox", 0); }
inline const core::CtlView& rightList(const core::DlgView& v) { return nth(v, "ListBox", 1); }

class BoxTest : public testing::Test {
protected:
    void SetUp() override {
        ui::setWorkAreaProvider([] { return QRect(0, 0, 1280, 1000); });
        gMBCancelNo = -99;
        gMBListCount = 0;
        ctl.entries.redim(0, 0);
        ctl.values.redim(0, 0);
        ctl.rows.redim(0, 0, 0, 0);
    }
    void TearDown() override {
        MB_UnloadStray("");
        ui::setWorkAreaProvider({});
    }

    // Shows the box once, answered by `act`.
    int show(const std::string& message, const std::string& buttons, const std::string& options,
             const std::string& caption, std::function<void(const core::DlgView&, core::DlgDriver&)> act) {
        testsupport::ScriptedResponder responder;
        responder.expect({.expectCaption = "", .expectMessage = "", .sets = {}, .press = "", .act = std::move(act)});
        Msgbxform* form = nullptr;
        const int result = MB_Show(message, buttons, options, caption, ctl, state, form);
        views = responder.shown();
        box = form;
        return result;
    }

    MB_CtlEntry ctl;
    std::string state;
    std::vector<core::DlgView> views;
    Msgbxform* box = nullptr;
};

}  // namespace dlgtest

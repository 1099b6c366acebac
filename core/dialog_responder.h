#pragma once
// Every box the program shows (dialog-builder boxes, the plain system message box,
// the file and font dialogs) is offered to the installed responder after it is built
// and before it would be shown. A responder answers through the driver, which acts
// only through the box's own routines, so results are encoded exactly as in a real
// show. With no responder installed, boxes are shown to the user.
#include <stdexcept>
#include <string>
#include <vector>

namespace core {

struct CtlView {
    int entry = 0;              // the control's entry number in its box
    std::string type;           // VB type name: "TextBox", "CheckBox", "ListBox", ...
    int kind = 0;
    int member = 0;
    std::string caption, value, selection, labelBefore;
    std::vector<std::string> items;
    bool enabled = true;
    bool visible = true;
};

struct DlgView {
    std::string kind;  // "MB", "SysMsg", "FileOpen", "Font"
    std::string caption, message, notice;
    std::vector<std::string> buttons;  // as built, first is button 1
    int dfltButton = 0;
    int escButton = 0;
    bool noHide = false;
    std::vector<CtlView> ctls;
};

class DlgDriver {
public:
    virtual ~DlgDriver() = default;
    virtual void setText(int entry, const std::string& text) = 0;
    virtual void setCheck(int entry, int value) = 0;
    virtual void choose(int entry, const std::vector<int>& positions) = 0;
    virtual void press(int button) = 0;
    // By caption, "&" and case ignored.
    virtual void press(const std::string& caption) = 0;
    virtual void key(int vbKeyCode, int shift) = 0;
    virtual void closeBox() = 0;
    virtual void click(int entry, int row) = 0;
    virtual void dblClick(int entry, int row) = 0;
};

class DlgResponder {
public:
    virtual ~DlgResponder() = default;
    virtual void respond(const DlgView& view, DlgDriver& driver) = 0;
};

// nullptr means interactive. The caller keeps ownership.
void setDialogResponder(DlgResponder* responder);
DlgResponder* dialogResponder();

// A box nobody expected (tests) or a box the responder left unanswered. Error
// traps let it pass so a test fails with the box's text instead of a logged error.
class UnexpectedDialog : public std::logic_error {
public:
    using std::logic_error::logic_error;
};

// Caption compare for buttons: "&" dropped, ASCII case folded.
bool sameCaption(const std::string& a, const std::string& b);

}  // namespace core

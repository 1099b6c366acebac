// The thin entry points most callers use, and the user interface's boxes on them.
#include <algorithm>

#include <QApplication>
#include <QMessageBox>

#include "core/delimited_lists.h"
#include "core/dialog_responder.h"
#include "core/program_paths.h"
#include "core/text.h"
#include "core/user_interface.h"
#include "dialogs/button_rows.h"
#include "dialogs/list_dialog.h"
#include "dialogs/msgbox.h"
#include "dialogs/msgbox_form.h"
#include "dialogs/option_strings.h"
#include "dialogs/ready_dialogs.h"
#include "dialogs/remembered_controls.h"
#include "platform/ui/qt_text.h"
#include "platform/ui/qt_user_interface.h"

namespace {

// The plain system box answered by a responder: "OK" is 1, "Cancel" 2 where there is one.
class SystemBoxDriver : public core::DlgDriver {
public:
    explicit SystemBoxDriver(const core::DlgView& view) : view_(view) {}
    int pressed() const { return pressed_; }

    void press(int button) override {
        if (button < 1 || button > static_cast<int>(view_.buttons.size()))
            refuse("no button " + std::to_string(button));
        pressed_ = button;
    }
    void press(const std::string& caption) override {
        for (std::size_t n = 0; n < view_.buttons.size(); ++n)
            if (core::sameCaption(view_.buttons[n], caption)) return press(static_cast<int>(n) + 1);
        refuse("no button \"" + caption + "\"");
    }
    void key(int vbKeyCode, int) override {
        if (vbKeyCode == 13) press(1);
        else if (vbKeyCode == 27) press(view_.escButton);
    }
    void closeBox() override { press(view_.escButton); }
    void setText(int, const std::string&) override { refuse("no text box"); }
    void setCheck(int, int) override { refuse("no check box"); }
    void choose(int, const std::vector<int>&) override { refuse("no list"); }
    void click(int, int) override { refuse("no list"); }
    void dblClick(int, int) override { refuse("no list"); }

private:
    [[noreturn]] void refuse(const std::string& what) const {
        throw core::UnexpectedDialog("the box \"" + view_.caption + "\" has " + what);
    }
    const core::DlgView& view_;
    int pressed_ = 0;
};

// The list dialog over the caller's rows, with the caller's buttons as its only ones:
// the pressed button's number among them.
int listOnCallersButtons(const std::vector<std::string>& rows, const std::string& header,
                         const std::string& gridSpec, const std::string& buttons, const std::string& message,
                         const std::string& caption, std::string& chosen, long* position = nullptr) {
    core::StrArray items;
    for (const std::string& row : rows) items.append(row);
    std::string captions;
    const std::vector<std::string> list = core::buttonCaptions(buttons);
    for (const std::string& c : list) captions += (captions.empty() ? "" : "|") + c;
    // The caller's way out (Cancel), or else its last button (Continue), is what Esc and
    // the close box press; an "&OK" first is what Enter presses.
    core::StrArray own;
    CHUNKS_Split(captions, own, 1);
    const long wayOut = dlg::wayOutButton(own);
    MB_ListDlgArgs args{.title = caption,
                        .message = message,
                        .selection = chosen,
                        .pickOnly = true,
                        .furtherCaptions = captions,
                        .furtherEsc = wayOut ? wayOut : static_cast<long>(list.size()),
                        .furtherDefault = !list.empty() && list.front() == "&OK" ? 1 : 0,
                        .gridSpec = gridSpec,
                        .header = header};
    const long r = MB_ListDlg(items, args);
    chosen = args.selection;
    if (position) {
        const std::vector<long> rows = dlg::listChosenRows(args.state, false);
        *position = chosen.empty() || rows.empty() ? -1 : rows.front() - 1;
    }
    return static_cast<int>(r == dlg::kListOther ? args.pressed : r);
}

class DialogUserInterface : public ui::QtUserInterface {
public:
    int msgBox(const std::string& message, const std::string& buttons, const std::string& options,
               const std::string& caption) override {
        return MB_MsgBox(message, buttons, options, caption);
    }
    int msgBoxDontShowAgain(const std::string& message, const std::string& buttons, const std::string& options,
                            const std::string& caption, bool& dontShowAgain) override {
        return MB_DontShowAgain(message, dontShowAgain, buttons, options, caption);
    }
    int inputBox(const std::string& message, const std::string& buttons, const std::string& caption,
                 const std::string& notice, std::string& value) override {
        MB_CtlEntry controls;
        const long k = MB_AddControl("TextBox", MB_SpecToTagForm("10000||||||True"), value, controls, true);
        std::string state;
        Msgbxform* form = nullptr;
        // The notice shows in the box's problem panel, which only a kept box has.
        const int r = MB_Show(message, buttons, notice.empty() ? "" : MB_OptNoHide(notice, 0, 0), caption,
                              controls, state, form);
        if (!notice.empty()) MB_UnloadStray("");
        value = controls.values[k];
        return r;
    }
    int listDlg(const std::vector<std::string>& rows, const std::string& header, const std::string& gridSpec,
                const std::string& buttons, const std::string& message, const std::string& caption) override {
        std::string chosen;
        return listOnCallersButtons(rows, header, gridSpec, buttons, message, caption, chosen);
    }
    int listPick(const std::vector<std::string>& items, const std::string& header, const std::string& gridSpec,
                 const std::string& buttons, const std::string& message, const std::string& caption,
                 std::string& chosen, long* position = nullptr) override {
        return listOnCallersButtons(items, header, gridSpec, buttons, message, caption, chosen, position);
    }
    int sequenceBox(const std::string& message, const std::string& caption, std::vector<std::string>& items,
                    const std::string& spec, const std::string& buttons) override {
        core::StrArray list;
        list.append("");
        for (const std::string& item : items) list.append(item);
        const std::vector<std::string> captions = core::buttonCaptions(buttons);
        std::string further;
        for (std::size_t n = 1; n < captions.size(); ++n) further += "|" + captions[n];
        long selected = -1;
        // Up and Down come first (1, 2), then the caller's closing button (3); the others
        // follow an empty slot (4), so the caller's second button is 5.
        const long r = MB_Sequence(message, "|" + caption, list, 1, selected,
                                   {.spec = spec,
                                    .closingCaption = captions.empty() ? std::string() : captions[0],
                                    .extraButtons = further,
                                    .escOffset = static_cast<long>(captions.size()) - 1});
        for (std::size_t n = 0; n < items.size(); ++n) items[n] = list[static_cast<long>(n) + 1];
        if (r == 3) return 1;
        return r >= 5 ? static_cast<int>(r) - 3 : 0;
    }
    void info(const std::string& message, const std::string& caption) override {
        MB_Info(message, nullptr, false, {}, caption);
    }
    void unloadStrayBoxes() override { MB_UnloadStray(""); }
    bool systemOkCancel(const std::string& message, const std::string& caption) override {
        return systemBox(message, caption, true);
    }
    void systemOk(const std::string& message, const std::string& caption) override {
        systemBox(message, caption, false);
    }

private:
    // The plain system box, offered to the responder first: true for OK.
    static bool systemBox(const std::string& message, const std::string& caption, bool withCancel) {
        core::DlgView view;
        view.kind = "SysMsg";
        view.caption = caption;
        view.message = message;
        view.buttons = withCancel ? std::vector<std::string>{"OK", "Cancel"} : std::vector<std::string>{"OK"};
        view.dfltButton = 1;
        view.escButton = withCancel ? 2 : 1;
        if (core::DlgResponder* responder = core::dialogResponder()) {
            SystemBoxDriver driver(view);
            responder->respond(view, driver);
            if (driver.pressed() == 0)
                throw core::UnexpectedDialog("the box \"" + caption + "\" was left unanswered: " + message);
            return driver.pressed() == 1;
        }
        const QMessageBox::StandardButtons buttons =
            withCancel ? QMessageBox::Ok | QMessageBox::Cancel : QMessageBox::StandardButtons(QMessageBox::Ok);
        const std::unique_ptr<QMessageBox> box =
            dlg::plainMessageBox(withCancel ? QMessageBox::Warning : QMessageBox::Information,
                                 caption.empty() ? gProductName : caption, message, buttons,
                                 QApplication::activeWindow());
        box->setWindowModality(Qt::WindowModal);
        return box->exec() == QMessageBox::Ok;
    }
};

}  // namespace

int MB_MsgBox(const std::string& message, const std::string& buttons, const std::string& options,
              const std::string& caption, std::string section, std::string entry, std::string iniFile,
              std::string* state) {
    std::string ownState;
    Msgbxform* form = nullptr;
    MB_CtlEntry controls;
    controls.entries.redim(0, 0);
    controls.values.redim(0, 0);
    controls.rows.redim(0, 0, 0, 0);
    if (section.empty()) return MB_Show(message, buttons, options, caption, controls, state ? *state : ownState, form);

    // Controls defined in the INI file, shown with their remembered values and saved again
    // unless the box was cancelled.
    MB_RememberedCtls remembered{.section = section, .entry = entry, .iniFile = iniFile};
    core::IntArray numbers;
    long extraButtons = 0;
    dlg::loadRemembered(remembered, controls, numbers, true, extraButtons);
    const int r = MB_Show(message, buttons, options, caption, controls, state ? *state : ownState, form);
    // Values the user cancelled are not remembered.
    if (r != gMBCancelNo) dlg::saveRemembered(remembered, controls, numbers);
    return r;
}

void MB_Err(const std::string& message, const std::string& buttons, const std::string& options,
            const std::string& caption) {
    MB_MsgBox(message, buttons, options, caption);
}

void MB_Info(const std::string& message, std::string* state, bool noKeys, const std::string& options,
             const std::string& caption) {
    std::string own;
    std::string& st = state ? *state : own;
    const std::string mine = (noKeys ? MB_OptNoKeys() : std::string()) + MB_OptEsc(1) + MB_OptKeyHides(67, 2);
    MB_MsgBox(message, "0", dlg::joinOptions(options, mine), caption, {}, {}, {}, &st);
    const std::string key = CHUNKS_Get(4, st);
    if (CHUNKS_Get(1, key) + "|" + CHUNKS_Get(2, key) == "67|2") {
        TXT_ClipboardSet(message);
        MB_Info("Message text copied to clipboard.");
    }
}

namespace dlg {

void installMessageBoxes() {
    static DialogUserInterface userInterface;
    core::setUserInterface(&userInterface);
}

std::unique_ptr<QMessageBox> plainMessageBox(QMessageBox::Icon icon, const std::string& caption,
                                             const std::string& message, QMessageBox::StandardButtons buttons,
                                             QWidget* parent) {
    auto box = std::make_unique<QMessageBox>(icon, ui::toQString(caption), ui::toDisplayText(message), buttons, parent);
    box->setTextFormat(Qt::PlainText);
    return box;
}

}  // namespace dlg

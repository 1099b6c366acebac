#include "dialogs/show_item_dialog.h"

#include <QListWidget>
#include <QPlainTextEdit>

#include "core/delimited_lists.h"
#include "core/numbers.h"
#include "core/text.h"
#include "dialogs/extra_controls.h"
#include "dialogs/msgbox.h"
#include "dialogs/msgbox_form.h"
#include "dialogs/option_strings.h"
#include "dialogs/ready_dialogs.h"
#include "platform/sys/rt_error.h"
#include "platform/ui/controls.h"
#include "platform/ui/qt_text.h"

namespace {

constexpr int kErrAlreadyShown = 1424;
constexpr long kMarkerShowItem = -4;
constexpr long kMarkerNothing = -1;
constexpr std::size_t kTruncatedLength = 30000;
// Beyond this a text box stops being usable; the text is cut instead.
constexpr std::size_t kTextBoxCapacity = 16 * 1024 * 1024;

// What the click handler of the dialog being shown reads: the caller's texts and the
// entry of the text box. The flag keeps a second dialog from taking them over.
struct ShownItems {
    bool shown = false;
    core::StrArray texts;
    long first = 0;
    long textBoxEntry = 0;
};
ShownItems gShown;

class ShownScope {
public:
    ShownScope() {
        if (gShown.shown) sys::raise(kErrAlreadyShown, "MBX_ShowListItem");
        gShown.shown = true;
    }
    ~ShownScope() { gShown.shown = false; }
    ShownScope(const ShownScope&) = delete;
    ShownScope& operator=(const ShownScope&) = delete;
};

QWidget* entryWidget(Msgbxform* form, long k) {
    if (k < 1 || k > form->entryMap.ubound()) return nullptr;
    const std::string map = form->entryMap[k];
    ui::ControlArray* array = form->arrayOfKind(static_cast<int>(CHUNKS_GetNum(1, map)));
    const int member = static_cast<int>(CHUNKS_GetNum(2, map));
    return array && array->exists(member) ? (*array)[member] : nullptr;
}

}  // namespace

std::string MBX_ShownItemText(const std::string& text, std::size_t capacity, bool& truncated) {
    truncated = text.size() > capacity;
    if (!truncated) return text;
    return text.substr(0, kTruncatedLength) + gCR + gLF + gCR + gLF + ".... TRUNCATED due to error.";
}

long MBX_ShowListItem(const std::string& kindWord, std::string& message, const core::StrArray& items,
                      const core::StrArray& texts, long first, const std::string& extraButtons, long& chosen,
                      long selected, const std::string& extraOptions) {
    ShownScope scope;
    std::string buttons = "&OK";
    if (!extraButtons.empty()) buttons += "|" + extraButtons;
    if (message.empty()) message = "Select a " + kindWord + " to display it." + gCR + "Press OK to exit." + gCR;
    if (selected == -1) selected = first;

    gShown.texts = texts;
    gShown.first = first;
    MB_CtlEntry ctl;
    MB_AddListCtl(items, "", selected, "ListBox", MB_SpecToTagForm("12000|2000|||||True||||||||||||-4"), ctl, true,
                  first, items.ubound());
    MB_AddControl("JustAddHeight", MB_SpecToTagForm("240"), "", ctl, false);
    const std::string text = texts.inBounds(selected) ? texts[selected] : std::string();
    gShown.textBoxEntry = MB_AddControl("TextBox", MB_SpecToTagForm("12000|3000||||||||True"), text, ctl, false);

    std::string state;
    Msgbxform* form = nullptr;
    const int pressed =
        MB_Show(message, buttons, dlg::joinOptions(MB_OptEsc(1), extraOptions), "Show " + kindWord, ctl, state, form);
    chosen = first + core::wholeOf<long>(TXT_Val(ARR_Item2D(ctl.rows, 1, 0)));
    return pressed - 1;
}

void MBX_ShowItemClick(Msgbxform* form, QWidget* list) {
    // Only a number given in the list's spec acts; a list without one ignores clicks.
    const std::string marker = CHUNKS_Get(9, ui::tag(list));
    if (marker.empty()) return;
    const long action = core::wholeOf<long>(TXT_Val(marker));
    if (action == kMarkerNothing) return;
    if (action != kMarkerShowItem) {
        MB_FormSetResult(form, static_cast<int>(action));
        return;
    }
    auto* l = qobject_cast<QListWidget*>(list);
    auto* box = qobject_cast<QPlainTextEdit*>(entryWidget(form, gShown.textBoxEntry));
    if (!l || !box) return;
    const long index = gShown.first + l->currentRow();
    const std::string text = gShown.texts.inBounds(index) ? gShown.texts[index] : std::string();
    bool truncated = false;
    const std::string shown = MBX_ShownItemText(text, kTextBoxCapacity, truncated);
    if (truncated)
        MB_Info("Error 7 - Out of memory when try to show that item. Press OK to attempt to show only the first "
                "30,000 bytes");
    box->setPlainText(ui::toDisplayText(shown));
}

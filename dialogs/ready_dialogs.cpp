#include "dialogs/ready_dialogs.h"

#include <iterator>
#include <utility>

#include "core/delimited_lists.h"
#include "core/ini_store.h"
#include "core/numbers.h"
#include "core/stored_text.h"
#include "core/text.h"
#include "core/vb_format.h"
#include "dialogs/control_spec.h"
#include "dialogs/extra_controls.h"
#include "dialogs/msgbox.h"
#include "dialogs/msgbox_form.h"
#include "dialogs/option_strings.h"
#include "dialogs/remembered_controls.h"
#include "platform/ui/forms.h"
#include "window/control_values.h"

namespace {

const std::string kSep(dlg::kFieldSep);

void swapItems(core::StrArray& items, long a, long b) {
    const std::string held = items[a];
    items.set(a, items[b]);
    items.set(b, held);
}

int show(const std::string& message, const std::string& buttons, const std::string& options,
         const std::string& caption, MB_CtlEntry& ctl, std::string& state) {
    Msgbxform* form = nullptr;
    return MB_Show(message, buttons, options, caption, ctl, state, form);
}

}  // namespace

std::string MB_Input(const std::string& prompt, const std::string& caption, const std::string& dflt,
                     std::string* state, long* button) {
    MB_CtlEntry ctl;
    const long k = MB_AddControl("TextBox", MB_SpecToTagForm("10000||||||True"), dflt, ctl, true);
    std::string own;
    const int r = show(prompt, "1", "", caption, ctl, state ? *state : own);
    if (button) *button = r;
    return r != gMBCancelNo && r == 1 ? ctl.values[k] : std::string();
}

std::string MB_InputEx(const std::string& prompt, const std::string& caption, const std::string& dflt,
                       const MB_InputExArgs& args, long& button, std::string* firstValue) {
    std::string own;
    if (args.minWidthPct != -1) own += MB_OptMinWidthPct(args.minWidthPct);
    if (args.messageBold) own += MB_OptTextBold();

    const std::string fields[] = {
        args.boxWidth > 0 ? core::vbStr(args.boxWidth) : "10000",
        args.boxHeight == -1 ? "" : core::vbStr(args.boxHeight),
        args.boxBold ? "True" : "", "", "", "", "True", "", "",
        args.multiLine ? "True" : "", "", "",
        args.enabledField ? "True" : "",
    };
    std::string spec = fields[0];
    for (std::size_t i = 1; i < std::size(fields); ++i) spec += kSep + fields[i];

    MB_CtlEntry ctl;
    const long k = MB_AddControl("TextBox", spec, dflt, ctl, true);

    gMBCancelNo = -1;
    std::string list;
    bool reset = true;
    if (!args.firstCaption.empty()) MB_AddToList(args.firstCaption, list, reset);
    if (!args.cancelCaption.empty()) gMBCancelNo = MB_AddToList(args.cancelCaption, list, reset);
    const long n = list.empty() ? 0 : CHUNKS_Count(list);
    if (!args.extraCaptions.empty()) list += "|" + args.extraCaptions;

    const std::string options = dlg::joinOptions(
        dlg::joinOptions(args.options, own), MB_OptDfltButton(1) + MB_OptEsc(gMBCancelNo));
    std::string state;
    const int r = show(prompt, list, options, caption, ctl, state);
    if (firstValue) *firstValue = ctl.values[0];
    button = r - n;
    return r == gMBCancelNo ? std::string() : ctl.values[k];
}

int MB_ShowTextBox(const std::string& message, const std::string& buttons, const std::string& options,
                   const std::string& caption, const std::string& entry, std::string& text) {
    MB_CtlEntry ctl;
    ctl.entries.redim(0, 1);
    ctl.values.redim(0, 1);
    ctl.rows.redim(0, 0, 0, 0);
    ctl.entries.set(1, entry.empty() ? "TextBox" + kSep + MB_SpecToTagForm("12000|8000|||||True|True||True")
                                     : entry);
    ctl.values.set(1, text);
    std::string state;
    const int r = show(message, buttons.empty() ? "0" : buttons, options, caption, ctl, state);
    text = ctl.values[1];
    return r;
}

long MB_ShowEx(const std::string& message, const std::string& buttons, const std::string& options,
               const std::string& caption, const MB_ShowExArgs& args, std::string* state, long* extraButtons) {
    MB_RememberedCtls remembered = args.controls;
    MB_CtlEntry ctl;
    core::IntArray numbers;
    long ignored = 0;
    dlg::loadRemembered(remembered, ctl, numbers, true, ignored);

    const long x = MB_CountButtons(ctl.entries, ctl.values);
    if (extraButtons) *extraButtons = x;
    const long offset = args.shift ? x : 0;
    std::string own;
    if (args.dfltButton != -1) own += MB_OptDfltButton(args.dfltButton + offset);
    if (args.escButton != -1) own += MB_OptEsc(args.escButton + offset);
    gMBCancelNo = -1;

    std::string ownState;
    std::string& st = state ? *state : ownState;
    std::string problem = args.validation;
    long failing = -1;
    bool cancelled = false;
    int r = 0;
    do {
        if (failing > 0) MB_MarkEntry(failing, ctl.entries);
        const std::string passed = dlg::joinOptions(dlg::joinOptions(own, options), MB_OptNoHide(problem, 0, 0));
        r = show(message, buttons.empty() ? "1" : buttons, passed, caption, ctl, st);
        MB_UnloadStray("");
        if (r == gMBCancelNo) {
            cancelled = true;
            break;
        }
        if (args.validatingButton == -1 || args.validatingButton == r)
            XCTL_ValidateEntry(remembered.section, remembered.iniFile, ctl.values, numbers, problem, failing);
    } while (!problem.empty());
    if (!cancelled) dlg::saveRemembered(remembered, ctl, numbers);
    return r - offset;
}

int MB_DontShowAgain(const std::string& message, bool& suppressed, const std::string& buttons,
                     const std::string& options, const std::string& caption, const std::string& suffix,
                     bool plain, bool addCheckBox, MB_RememberedCtls remembered) {
    if (plain) return MB_MsgBox(message, buttons, options, caption);
    if (suppressed) {
        gMBCancelNo = -4;
        return -1;
    }
    MB_CtlEntry ctl;
    MB_AddControl("Label", "", "", ctl, true);
    long c = 0;
    if (addCheckBox)
        c = MB_AddControl("CheckBox", MB_SpecToTagForm("Do &not Show this Message again" + suffix + "||||||True"),
                          "False", ctl, false);
    core::IntArray numbers;
    const bool withRemembered = !remembered.section.empty();
    long ignored = 0;
    if (withRemembered) dlg::loadRemembered(remembered, ctl, numbers, false, ignored);

    std::string state;
    const int r = show(message, buttons, options, caption, ctl, state);
    if (withRemembered) dlg::saveRemembered(remembered, ctl, numbers);
    if (addCheckBox) suppressed = TXT_IsTrue(ctl.values[c]);
    return r;
}

int MB_Once(long mode, const std::string& message, const std::string& section, const std::string& entry,
            const std::string& iniFile, int notFoundMode, const std::string& buttons,
            const std::string& options, const std::string& caption, const std::string& suffix,
            bool addCheckBox, MB_RememberedCtls remembered) {
    bool suppressed = INI_GetFlag(section, entry, iniFile, notFoundMode, "False");
    const bool okOnly = mode == 2;
    const int r = MB_DontShowAgain(message, suppressed, okOnly ? "0" : buttons, okOnly ? MB_OptEsc(1) : options,
                                   caption, suffix, false, addCheckBox, std::move(remembered));
    if (suppressed) INI_Put(section, entry, true, iniFile);
    return r;
}

long MB_Sequence(const std::string& message, const std::string& caption, core::StrArray& items,
                 long first, long& selected, const MB_SequenceArgs& args) {
    if (selected == -1) selected = first;
    std::string spec = args.spec.empty() ? "6000|4000" : args.spec;
    if (spec.find('|') == std::string::npos) spec += "|";
    const std::string shownCaption = !caption.empty() && caption[0] == '|' ? caption.substr(1)
                                                                          : "- Sequence for " + caption;
    std::string position;
    const long last = items.ubound();
    auto display = [&](long i) { return args.numbered ? std::to_string(i) + ". " + items[i] : items[i]; };

    long r = 0;
    for (;;) {
        MB_CtlEntry ctl;
        const long list = MB_AddControl("ListBox", MB_SpecToTagForm(spec + "|||||-1"), display(first), ctl, true);
        for (long i = first + 1; i <= last; ++i) MB_ResultsAddCol(display(i), -1, ctl.rows);
        ctl.rows.set(list, 0, selected - first);

        std::string buttons, hint, dflt;
        bool reset = true;
        long up = -1, down = -1, closing = 0;
        if (!args.noMove) {
            up = MB_AddToList("&Up", buttons, reset);
            down = MB_AddToList("Do&wn", buttons, reset);
            hint = "Select Item and Press Up/Down to change sequence." + gCR;
        }
        if (!args.closingCaption.empty()) {
            closing = MB_AddToList(args.closingCaption, buttons, reset);
            dflt = MB_OptDfltButton(closing);
        }
        // Without Up, Down or a closing button the extra buttons are numbered from 1; the
        // list count would still hold an earlier box's.
        const long count = reset ? 0 : gMBListCount;
        const long esc = args.escOffset >= 1 ? count + args.escOffset : closing;
        std::string options = dlg::joinOptions(MB_OptNoHide("", 0, -1), args.options);
        options = dlg::joinOptions(options, MB_OptEsc(esc) + dflt + position);

        std::string state;
        Msgbxform* form = nullptr;
        std::string allButtons = buttons;
        if (!args.extraButtons.empty()) allButtons += (allButtons.empty() ? "" : "|") + args.extraButtons;
        r = MB_Show(hint + message, allButtons, options, shownCaption, ctl, state, form);

        if (gMBForm) {
            MB_UnloadStray(ui::tag(gMBForm));
            position = MB_OptTopLeft(core::vbStr(gMBForm->Top()) + "|" + core::vbStr(gMBForm->Left()));
        } else {
            MB_UnloadStray("");
        }
        selected = core::wholeOf<long>(TXT_Val(ARR_Item2D(ctl.rows, list, 0))) + first;

        if (r > count) break;
        if (r == up && up != -1) {
            if (first < selected && selected <= last) {
                swapItems(items, selected - 1, selected);
                --selected;
            }
        } else if (r == down && down != -1) {
            if (first <= selected && selected < last) {
                swapItems(items, selected, selected + 1);
                ++selected;
            }
        } else if (r == closing) {
            break;
        }
    }
    MB_UnloadStray("");
    return r;
}

std::string MB_SpecToTagForm(const std::string& spec) {
    if (spec.find('{') == std::string::npos) return TXT_Replace(spec, "|", kSep, true);
    core::StrArray fields;
    CHUNKS_SplitEx(spec, "|", "{}", fields, 1);
    return CHUNKS_JoinEx(fields, kSep, kChunksNoExclusion, 1, false);
}

void MB_ResultRecParse(const std::string& record, bool& anyKey, float& width, float& height, int& keyCode,
                       int& shift, std::string& third, std::string& fourth) {
    core::StrArray items, key;
    CHUNKS_Split(record, items, 1);
    anyKey = SYS32_StrIsTrue(LLIST_StrArrItem(items, 1, ""));
    width = static_cast<float>(TXT_Val(LLIST_StrArrItem(items, 2, "")));
    height = static_cast<float>(TXT_Val(LLIST_StrArrItem(items, 3, "")));
    CHUNKS_Split(LLIST_StrArrItem(items, 4, ""), key, 1);
    keyCode = core::wholeOf<int>(TXT_Val(LLIST_StrArrItem(key, 1, "")));
    shift = core::wholeOf<int>(TXT_Val(LLIST_StrArrItem(key, 2, "")));
    third = LLIST_StrArrItem(key, 3, "");
    fourth = LLIST_StrArrItem(key, 4, "");
}

void MB_ListStateSet(long row, core::Table2D& rows, long chosen, const std::array<std::string, 7>& texts,
                     bool numbers, long number1, long number2) {
    std::string list = std::to_string(chosen);
    auto setIf = [&](long item, const std::string& text) {
        if (!text.empty()) CHUNKS_Set(item, list, text);
    };
    setIf(2, texts[0]);
    setIf(4, texts[2]);
    setIf(6, texts[4]);
    setIf(7, texts[5]);
    setIf(8, texts[6]);
    if (numbers) {
        CHUNKS_Set(3, list, std::to_string(number1));
        CHUNKS_Set(5, list, std::to_string(number2));
    } else {
        setIf(3, texts[1]);
        setIf(5, texts[3]);
    }
    bool stored = false;
    ARR_AddRowUnique(rows, row, 0, list, 0, 0, 0, stored);
}

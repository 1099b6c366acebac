#include "analysis/forms/date_range_dialog.h"

#include <algorithm>
#include <array>
#include <vector>

#include "analysis/date_ranges.h"
#include "core/delimited_lists.h"
#include "core/text.h"
#include "core/vb_format.h"
#include "dialogs/msgbox.h"
#include "dialogs/option_strings.h"
#include "dialogs/ready_dialogs.h"

namespace {

// Quick buttons are small, one row, aligned left.
const std::string kQuickButtonSpec = "90|240|||7|||True";
constexpr double kMinWidth = 11000;

// Boxes the dialog left loaded go on every way out, errors included.
struct StrayBoxes {
    ~StrayBoxes() { MB_UnloadStray(""); }
};

struct QuickButton {
    long number;
    analysis::QuickRange range;
};

// The dates, the available days and the quick buttons; returns the quick buttons with
// their numbers.
std::vector<QuickButton> addDateControls(const std::string& range, MB_CtlEntry& ctl, const DateRangeEnterArgs& args,
                                         long& firstBox, long& secondBox) {
    const long firstDay = static_cast<long>(args.firstAvailable), lastDay = static_cast<long>(args.lastAvailable);
    firstBox = MB_AddControl("TextBox", MB_SpecToTagForm(std::string("2000||||||") + (args.focusFirst ? "True" : "False")),
                             CHUNKS_Get(1, range), ctl, args.reset);
    secondBox = MB_AddControl("TextBox_", MB_SpecToTagForm("2000"), CHUNKS_Get(2, range), ctl, false);
    MB_AddControl("Label_", "",
                  "[Data available: " + analysis::shortDate(firstDay) + " to " + analysis::shortDate(lastDay) + "]", ctl,
                  false);
    MB_AddControl("JustAddHeight", MB_SpecToTagForm("|200"), "", ctl, false);

    std::vector<QuickButton> buttons;
    gMBListCount = static_cast<int>(MB_CountButtons(ctl.entries, ctl.values));
    for (const analysis::QuickRange& quick : analysis::quickRanges(firstDay, lastDay)) {
        std::array<long, 6> numbers{};
        MB_AddButtonCtl(false, MB_SpecToTagForm(kQuickButtonSpec), quick.caption, ctl, false, !buttons.empty(), numbers);
        buttons.push_back({numbers[0], quick});
    }
    return buttons;
}

}  // namespace

int STTA_DateRangeEnter(std::string& range, const std::string& message, MB_CtlEntry& ctl,
                        const DateRangeEnterArgs& args) {
    long firstBox = 0, secondBox = 0;
    const std::vector<QuickButton> quick = addDateControls(range, ctl, args, firstBox, secondBox);
    const long quickCount = static_cast<long>(quick.size());
    const long beforeQuick = quick.empty() ? 0 : quick.front().number - 1;

    MB_RememberedCtls options = args.options;
    const bool withOptions = !options.section.empty();
    core::IntArray numbers;
    long optionButtons = 0;
    if (withOptions) dlg::loadRemembered(options, ctl, numbers, false, optionButtons);

    const long okButton = MB_CountButtons(ctl.entries, ctl.values) + 1;
    const long cancelButton = okButton + 1;
    const std::string fixedOptions =
        MB_OptEsc(cancelButton) + MB_OptMinWidth(kMinWidth) + MB_OptDfltButton(okButton);
    const StrayBoxes unloadOnExit;
    std::string problems;
    int pressed = 0;
    for (;;) {
        std::string state;
        Msgbxform* form = nullptr;
        pressed = MB_Show("Enter date range " + message + gCR, args.okCaption + "|&Cancel",
                          fixedOptions + MB_OptNoHide(problems, -1, -1), "", ctl, state, form);
        const auto hit = std::find_if(quick.begin(), quick.end(),
                                      [&](const QuickButton& b) { return b.number == pressed; });
        if (hit != quick.end()) {
            ctl.values.set(firstBox, analysis::shortDate(hit->range.first));
            ctl.values.set(secondBox, analysis::shortDate(hit->range.last));
            problems.clear();
            continue;
        }
        if (pressed == cancelButton || pressed < 1 || pressed > cancelButton) break;
        problems = analysis::dateRangeProblems(ctl.values[firstBox], ctl.values[secondBox]);
        if (!problems.empty()) continue;
        if (withOptions) dlg::saveRemembered(options, ctl, numbers);
        range = analysis::shortDate(*analysis::typedDay(ctl.values[firstBox])) + "|" +
                analysis::shortDate(*analysis::typedDay(ctl.values[secondBox]));
        break;
    }
    return pressed > beforeQuick + quickCount ? static_cast<int>(pressed - quickCount) : pressed;
}

#include "dialogs/dialog_options.h"

#include "core/delimited_lists.h"
#include "core/numbers.h"
#include "core/stored_text.h"

namespace dlg {

namespace {

void applyStyle(DialogOptions& o, double number) {
    long value = core::vbCLng(number);
    // The icon order decides for combined bits: 80 shows the information icon.
    if ((value & 64) == 64) o.icon = Icon::Information;
    else if ((value & 48) == 48) o.icon = Icon::Exclamation;
    else if ((value & 32) == 32) o.icon = Icon::Question;
    else if ((value & 16) == 16) o.icon = Icon::Stop;
    if (value & 256) o.dfltButton = 2;
    else if (value & 512) o.dfltButton = 3;
}

// Item n of a multi-part value such as "gap|line gap|top gap"; missing parts are "".
double numberPart(const std::string& value, long n) { return TXT_Val(CHUNKS_Get(n, value)); }

std::string buttonList(const std::string& value) { return "|" + value + "|"; }

void applyNamed(DialogOptions& o, const std::string& name, const std::string& value) {
    if (name == "DfltButton") o.dfltButton = core::wholeOf<long>(TXT_Val(value));
    else if (name == "Esc") o.escButton = core::wholeOf<long>(TXT_Val(value));
    else if (name == "FocBut") o.focBut = core::wholeOf<long>(TXT_Val(value));
    else if (name == "MBButtspec.MaxBpl") o.maxBpl = core::wholeOf<long>(TXT_Val(value));
    else if (name == "BoldButts") o.boldButts = buttonList(value);
    else if (name == "ItiButts") o.itiButts = buttonList(value);
    else if (name == "UndrButts") o.undrButts = buttonList(value);
    else if (name == "Buttons gap/gap betw lines") {
        o.buttGap = numberPart(value, 1);
        o.lineGap = numberPart(value, 2);
        o.topGap = numberPart(value, 3);
    } else if (name == "Buttons At Bottom") o.buttonsAtBottom = true;
    else if (name == "BNextToIcon" || name == "BUnderTextOnly") o.buttonsNextToIcon = true;
    else if (name == "Controls under msg") o.controlsUnderMsg = true;
    else if (name == "TextBold") o.textBold = true;
    else if (name == "TextSize") o.textSize = TXT_Val(value);
    else if (name == "TextFont") o.textFont = value;
    else if (name == "Fixed Width") o.fixedWidth = TXT_Val(value);
    else if (name == "Default and Min Width") o.defaultMinWidth = TXT_Val(value);
    else if (name == "Fixed Height") {
        o.fixedHeight = numberPart(value, 1);
        o.fixedHeightExact = SYS32_StrIsTrue(CHUNKS_Get(2, value));
    } else if (name == "MinHt") o.minHt = TXT_Val(value);
    else if (name == "Top, left of form") {
        o.top = numberPart(value, 1);
        o.left = numberPart(value, 2);
    } else if (name == "BackColor") o.backColor = core::vbCLng(value);
    else if (name == "ForeColor") o.foreColor = core::vbCLng(value);
    else if (name == "NoKeys") o.formOptions += "|NoKeys";
    else if (name == "FndLastVal") o.formOptions += "|FndLastVal|" + value;
    else if (name == "Any Key Hides") o.optionsInTag += "|Any Key Hides";
    else if (name == "KeyHides") o.optionsInTag += "|KeyHides|" + value;
    else if (name == "NoHide") {
        o.optionsInTag += "|NoHide";
        o.noHide = true;
        o.noHideText = CHUNKS_Get(1, value);
        o.noHideUnloadOthers = SYS32_StrIsTrue(CHUNKS_Get(2, value));
        o.noHideBackdrop = SYS32_StrIsTrue(CHUNKS_Get(3, value));
    } else if (name == "No show") o.noShow = true;
}

}  // namespace

DialogOptions parseOptions(std::string_view options) {
    DialogOptions o;
    core::StrArray items;
    CHUNKS_SplitEx(options, "|", "{}", items, 1);
    for (const std::string& item : items.items()) {
        if (item.empty()) continue;
        double number = 0;
        if (core::parseNumber(item, number)) {
            applyStyle(o, number);
            continue;
        }
        std::size_t eq = item.find('=');
        applyNamed(o, item.substr(0, eq),
                   eq == std::string::npos ? std::string() : item.substr(eq + 1));
    }
    return o;
}

DialogOptions parseOptions(long styleNumber) {
    return parseOptions(std::to_string(styleNumber) + " ");
}

void applyOptions(const DialogOptions& o, MBButtspec& spec) {
    if (o.dfltButton) spec.DfltButton = *o.dfltButton;
    if (o.escButton) spec.EscButton = *o.escButton;
    if (o.maxBpl) spec.MaxBpl = *o.maxBpl;
    if (o.boldButts) spec.BoldButts = *o.boldButts;
    if (o.itiButts) spec.ItiButts = *o.itiButts;
    if (o.undrButts) spec.UndrButts = *o.undrButts;
    if (o.buttGap) spec.ButtGap = *o.buttGap;
    if (o.lineGap) spec.LineGap = *o.lineGap;
    if (o.topGap) spec.TopGap = *o.topGap;
    if (o.buttonsAtBottom) spec.AtBottom = true;
    if (o.fixedWidth && !spec.WidthForced) spec.FixedWidth = *o.fixedWidth;
}

long initialFocusButton(long focBut, long dfltButton, long lastButton) {
    if (focBut >= 1 && focBut <= lastButton) return focBut;
    if (dfltButton >= 1 && dfltButton <= lastButton) return dfltButton;
    return 0;
}

}  // namespace dlg

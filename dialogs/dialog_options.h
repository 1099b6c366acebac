#pragma once
// The options argument of a box: style numbers (icon and default button bits) and
// named items, read once, in order, so a later item overrides an earlier one. Names
// are compared with case; unknown names and empty items are ignored. The parser only
// reads: the box builder applies the record, and appends the two protocol texts to
// the form's stores.
#include <optional>
#include <string>
#include <string_view>

#include "dialogs/layout_records.h"

namespace dlg {

enum class Icon { None, Information, Exclamation, Question, Stop };

struct DialogOptions {
    Icon icon = Icon::None;
    // Button roles and rows; unset values leave the builder's own.
    std::optional<long> dfltButton;
    std::optional<long> escButton;  // also becomes gMBCancelNo
    long focBut = 0;
    std::optional<long> maxBpl;
    std::optional<std::string> boldButts, itiButts, undrButts;  // "|1|3|"
    std::optional<double> buttGap, lineGap, topGap;
    bool buttonsAtBottom = false;
    bool buttonsNextToIcon = false;  // "BNextToIcon" or "BUnderTextOnly"
    bool controlsUnderMsg = false;
    // Message font.
    bool textBold = false;
    std::optional<double> textSize;
    std::optional<std::string> textFont;
    // Size and place.
    std::optional<double> fixedWidth;
    std::optional<double> defaultMinWidth;
    std::optional<double> fixedHeight;
    bool fixedHeightExact = false;
    double minHt = 0;
    std::optional<double> top, left;
    std::optional<long> backColor, foreColor;
    // Showing.
    bool noShow = false;
    bool noHide = false;
    std::string noHideText;  // a non-empty text opens the validation panel
    bool noHideUnloadOthers = false;
    bool noHideBackdrop = false;
    // Appended to the form's dOptions ("|NoKeys", "|FndLastVal|text") and to the Tag
    // of fOptions_IN ("|Any Key Hides", "|KeyHides|2|67", "|NoHide").
    std::string formOptions;
    std::string optionsInTag;
};

DialogOptions parseOptions(std::string_view options);
// A plain number is one style-number item.
DialogOptions parseOptions(long styleNumber);

// Writes the button-row options into the record; "Fixed Width" is ignored once the
// builder has forced the work-area width.
void applyOptions(const DialogOptions& options, MBButtspec& spec);

// The button that takes the focus when the box opens: "FocBut" when it names a
// button, else the default button when that exists, else 0 (none).
long initialFocusButton(long focBut, long dfltButton, long lastButton);

}  // namespace dlg

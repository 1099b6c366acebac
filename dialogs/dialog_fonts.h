#pragma once
// Fonts and text fitting of the box: a control's font from the base font and its
// spec, widening a control to its caption, the message label, and rows of controls
// placed side by side.
#include <QRectF>
#include <string>

#include "core/typed_array.h"
#include "dialogs/layout_records.h"

class Msgbxform;
class QLabel;
class QWidget;

struct MB_FontRec {
    std::string FontName;
    double FontSize = 8;
    bool FontBold = false;
    bool FontItalic = false;
};

// The font of a widget as a record, and back.
MB_FontRec MB_FontOf(const QWidget* w);

// Base font, then spec fields 3 (bold), 4 (italic), 6 (name) and 5 (size); a size of
// its own grows with a base font above 9.6 points (x base / 8).
void MB_CtlFontApply(QWidget* control, const core::StrArray& fields, const MB_FontRec& base);
// Widens the control (never narrows it) to extra + its widest caption line + 2 x margin,
// measured on the form in the control's font.
void MB_FitWidthToText(Msgbxform* form, QWidget* control, double extra, double margin);
// Puts the message into the word-wrapping label fMsg at this width.
void MB_MsgTextSet(Msgbxform* form, const std::string& text, double width);

// What MB_RowPlaceCtl carries from one control to the next.
struct MB_RowState {
    long counter = 0;     // controls of the measured row still to come, plus one
    QRectF prevRect;      // the previous control's rectangle
    QWidget* prev = nullptr;
    double widthLimit = 0;
};

// Places a control whose type word carries the same-row mark beside the previous one;
// the row is measured at its first such control. The running top is the layout's
// NextTop. Other controls are left alone.
void MB_RowPlaceCtl(Msgbxform* form, MBLayoutRec& layout, const std::string& typeWord, MB_RowState& row,
                    QWidget* control, long entry, const core::StrArray& entries,
                    const core::StrArray& values, double& rowWidth, const MB_FontRec& base);

namespace dlg {

// The caption a control shows (label, button, check box, option button), as set.
std::string captionOf(const QWidget* w);
void setCaption(QWidget* w, const std::string& caption);
// Labels marked AutoSize take the size of their text: with WordWrap the height for
// their width, else the width and height of the lines.
void setAutoSize(QLabel* label, bool autoSize, bool wordWrap);
bool isAutoSize(const QWidget* w);
// Sets the width; an autosizing word-wrapped label then takes its new height.
void setWidthFitting(QWidget* w, double width);
void fitLabel(QLabel* label);

}  // namespace dlg

#pragma once
// Button rows: the common width of a set of captions, and the placement of the
// buttons in centred lines that wrap after a number of buttons per line. Widgets stay
// behind two small interfaces, so the arithmetic runs without a window.
#include <string>
#include <string_view>
#include "core/typed_array.h"
#include "dialogs/layout_records.h"

namespace dlg {

struct TextStyle {
    bool bold = false;
    bool italic = false;
    bool underline = false;
};

// Width in twips of a one-line caption as an autosizing label in the dialog font
// shows it (the label's own padding included).
class TextMeasurer {
public:
    virtual ~TextMeasurer() = default;
    virtual double textWidth(std::string_view text, const TextStyle& style) const = 0;
};

struct PlacedButton {
    long number = 0;  // the member of the button array, the pressed-button result
    std::string caption;
    double left = 0, top = 0, width = 0, height = 0;
    bool cancel = false;
    bool isDefault = false;
    TextStyle style;
};

// The form side of the placement: the hidden pattern button gives the size of every
// button, and each placed button becomes the member with its number.
class ButtonHost {
public:
    virtual ~ButtonHost() = default;
    virtual double patternWidth() const = 0;
    virtual double patternHeight() const = 0;
    virtual double scaleHeight() const = 0;  // the form's inner height
    // Width - ScaleWidth: the rows are centred in the inner width.
    virtual double frameWidth() const { return 0; }
    virtual void placeButton(const PlacedButton& button) = 0;
    virtual void hidePattern() = 0;
};

// The button that Esc and the window's close box press when the caller named none: the
// first caption that reads as a way out, searched in the order Cancel, Exit, Close,
// Done, No, OK ("&Cancel (skip rest)" reads as Cancel); a lone button is its own way
// out. 1-based; 0 when no caption reads so (Abort|Retry|Ignore), so that no guess
// presses a button that acts.
long wayOutButton(const core::StrArray& captions);

}  // namespace dlg

// Splits the "|" list of captions into an array from 1 (one empty caption still makes
// one button) and
// returns the widest caption's width, at least MinCaptW; WidthPad is the caller's.
// Measured in bold, italic or underlined when a button of this set is marked so (any
// mark at all with styleByList).
void MB_MeasureCaptions(const dlg::TextMeasurer& measurer, const MBButtspec& spec,
                        std::string_view captions, bool styleByList,
                        core::StrArray& captionArray, double& width);

// Places the buttons LastButton + 1 .. LastButton + n; updates LeftX, LastButton and
// the layout's NextTop.
void MB_PlaceButtons(dlg::ButtonHost& host, MBLayoutRec& layout, MBButtspec& spec,
                     const core::StrArray& captions);

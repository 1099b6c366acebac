#pragma once
// Builders of the items of a dialog's options argument. Each returns one item ending
// in "|", so that callers may concatenate several; numbers are written without the
// locale and never with an exponent.
#include <functional>
#include <string>
#include <string_view>

namespace dlg {

// The desktop work area's width in twips, for the percentage builders. The window
// toolkit installs the real source at start-up; without one the width is 0, which
// makes a percentage item mean "no width".
double workAreaWidthTwips();
void setWorkAreaWidthSource(std::function<double()> source);

// The caller's options followed by more items, with a "|" between them when the first
// part does not already end with one, so no item is swallowed by its neighbour.
std::string joinOptions(std::string_view first, std::string_view second);

// A number as the option parser reads it back: up to `digits` significant digits,
// "." as the decimal point, no exponent ("14400", "0.5").
std::string plainNumber(double value, int digits = 15);

}  // namespace dlg

// A spec in its Tag form with only field n set; "" when n is below 1.
std::string MB_ValueAtField(long n, std::string_view value);

std::string MB_OptNoKeys();
std::string MB_OptEsc(long n);
std::string MB_OptDfltButton(long n);
// Shift -1 (True) gives the item for every Shift state 0 to 7.
std::string MB_OptKeyHides(int keyCode, int shift);
std::string MB_OptMaxButtonsPerLine(long n);
std::string MB_OptNoHide(std::string_view text, int unloadOthers, int backdrop);
std::string MB_OptBackColor(long colour);
std::string MB_OptForeColor(long colour);
std::string MB_OptTextBold();
std::string MB_OptTextFont(std::string_view fontName);
std::string MB_OptTopLeft(std::string_view topLeft);
std::string MB_OptMinWidthPct(long percent);
std::string MB_OptMinWidth(float twips);
std::string MB_OptFixedWidthPct(long percent);
std::string MB_OptFixedWidth(float twips);

#pragma once
// Colours as the program stores them: a Long in BGR order (red in the low byte), or a
// system colour, which is its index with the top bit set (0x8000000F the button face).
// Controls keep the Long they were given, so reading BackColor or ForeColor gives back
// exactly what was set; the palette is only the display of it.
#include <QColor>
#include <QPalette>

class QWidget;

namespace ui {

constexpr long kSysColourFlag = 0x80000000L;
constexpr long sysColour(int index) { return kSysColourFlag | index; }
constexpr long kSysWindowBackground = sysColour(5);
constexpr long kSysWindowText = sysColour(8);
constexpr long kSysButtonFace = sysColour(15);
constexpr long kSysButtonText = sysColour(18);

constexpr long rgb(int red, int green, int blue) {
    return static_cast<long>(red) | static_cast<long>(green) << 8 | static_cast<long>(blue) << 16;
}
bool isSysColour(long colour);
// The palette role that stands for a system colour.
QPalette::ColorRole sysColourRole(long colour);
// A Long to a QColor; system colours are read from `palette`.
QColor toQColor(long colour, const QPalette& palette);
long fromQColor(const QColor& colour);

// Whether a control of this VB type has the property at all (a command button has
// no ForeColor, a line no BackColor).
bool hasBackColor(const QWidget* w);
bool hasForeColor(const QWidget* w);
// The colour last set, or the type's design default.
long backColor(const QWidget* w);
long foreColor(const QWidget* w);
// Keep the Long and paint with it. Return false for a control without the property.
bool setBackColor(QWidget* w, long colour);
bool setForeColor(QWidget* w, long colour);

}  // namespace ui

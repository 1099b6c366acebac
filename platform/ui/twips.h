#pragma once
// Positions and sizes stay in twips (1/1440 inch) everywhere above this layer, because
// stored layouts and the forms' designs are in twips; pixels appear only at the widget
// edge. The factors come from the primary screen's logical DPI (15 twips per pixel at
// 96 DPI).

class QWidget;

namespace ui {

struct TwipsRect {
    long left = 0, top = 0, width = 0, height = 0;
    bool operator==(const TwipsRect&) const = default;
};

double twipsPerPixelX();
double twipsPerPixelY();

int toPixelsX(double twips);
int toPixelsY(double twips);
long toTwipsX(int pixels);
long toTwipsY(int pixels);

// A window's rectangle is its outer frame; a child control's is its geometry in its
// parent.
TwipsRect twipsGeometry(const QWidget* w);
void setTwipsGeometry(QWidget* w, const TwipsRect& r);

}  // namespace ui

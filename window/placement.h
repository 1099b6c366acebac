#pragma once
// Where forms appear and how a window is brought to the front. Sizes and positions
// are twips; the work area comes in pixels from platform/ui and is converted here.
class QWidget;

constexpr int kUnitsTwips = 1;

// The work area's size, in twips when units is 1, else in pixels.
void ACTIVAT_GetWorkArea(double& width, double& height, int units);
double ACTIVAT_WorkAreaWidth(int units);

// Window-position codes callers pass.
constexpr long kHwndTop = 0;
constexpr long kHwndTopmost = -1;
constexpr long kHwndNotopmost = -2;
constexpr long kSwpNoSize = 0x1;
constexpr long kSwpNoMove = 0x2;
constexpr long kSwpNoZOrder = 0x4;
constexpr long kSwpShowWindow = 0x40;
constexpr long kSwpHideWindow = 0x80;
// Position (pixels), size, stacking and topmost state of a window; non-zero on success.
long ACTIVAT_SetWindowPos(QWidget* window, long insertAfter, long x, long y, long cx, long cy,
                          long flags);
// True when the window is now the active window.
bool ACTIVAT_ForceForeground(QWidget* window);

// Centres the form in the work area; a form larger than the area sits at its edge.
void POS_FormPlace(QWidget* form);
// Moves the form to the next corner of the work area, clockwise.
void POS_FormCycleCorner(QWidget* form);
// Makes a loaded form (or the MDI sub-window that holds it) fill its parent's
// client area.
void POS_FormFillParent(QWidget* form, QWidget* parent);

#pragma once
// The program's own icon: a few rising bars of a chart with a magnifying glass, drawn
// at each size a window manager asks for, so that no image file has to be found.
#include <QIcon>

namespace ui {

QIcon programIcon();

}  // namespace ui

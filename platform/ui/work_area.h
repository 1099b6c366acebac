#pragma once
// The desktop work area (the screen less panels and task bars), in pixels. Tests
// install a provider to place forms in a work area with an origin.
#include <QRect>
#include <functional>

namespace ui {

QRect workArea();
// An empty function restores the primary screen's available geometry.
void setWorkAreaProvider(std::function<QRect()> provider);

}  // namespace ui

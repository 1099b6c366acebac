#pragma once
// The screen's mouse pointer by its VB code (0 default, 11 hourglass, ...), kept as
// one application-wide override cursor: one value, not a stack.

namespace ui {

constexpr int kPointerDefault = 0;
constexpr int kPointerHourglass = 11;

int screenPointer();
void setScreenPointer(int code);

}  // namespace ui

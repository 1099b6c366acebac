#pragma once
// The mouse pointer, yielding to the event loop, modal shows and the pattern every
// event handler follows. One thread runs everything; a long operation keeps the
// windows alive by yielding through MSE_DoEvents, and the in-DoEvents flag keeps
// handlers from starting new work meanwhile.
#include <functional>

#include "core/user_interface.h"

class QDialog;
class QMenu;
class QWidget;

// The pointer code last asked for, also when the screen pointer was left alone.
inline int gMousePointer = 0;
// Set only around MSE_ShowModal's final restore: change the pointer even while a
// mouse button is down.
inline bool gMsePointerForce = false;
inline bool& gInDoEvents = core::gInDoEvents;
inline bool gInModalShow = false;
// Whether the latest modal show began inside another one.
inline bool gModalWasNested = false;

// Leaves the screen pointer alone while a mouse button is down (unless forced).
void MSE_PointerSet(int pointer);
void MSE_PointerDefault();
void MSE_Hourglass();
// Only the program's own windows are seen.
bool MSE_MouseButtonDown();
// Sets the pointer, yields once without gInDoEvents (so handlers run in full), then
// hands back the pointer left by whatever ran and shows the hourglass.
void MSE_PointerYield(int& pointer);
// Yields once with gInDoEvents set; the number of loaded forms.
int MSE_DoEvents();
// Shows the form modally with the default pointer, then restores the pointer.
void MSE_ShowModal(QDialog* form);
void MSE_PopupMenu(QWidget* form, QMenu* menu);

namespace window {

enum class Guard {
    SkipWhileYielding,  // handlers of the main, results and progress windows
    RunWhileYielding,   // the Stop button and the dialog builder's boxes
};

// Runs `work` as an event handler: returns at once while a long operation yields
// (unless told to run), shows the hourglass, restores the pointer, and hands any
// error to ErrorHandler with the handler's name. Nothing escapes: the program's end
// leaves the event loops instead.
// True when the work ran to its end.
bool guarded(QWidget* form, const char* procName, Guard guard, const std::function<void()>& work);

}  // namespace window

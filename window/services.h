#pragma once
// The window toolkit's side of the seams core calls through: the Qt user interface
// (yielding, pointer, active window, clipboard) and the progress windows. Start-up
// calls this once, after the QApplication exists and before any long operation.
namespace window {

void installServices();

}  // namespace window

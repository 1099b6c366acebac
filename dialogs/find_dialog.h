#pragma once
// The find command of a list box or multi-line text box: asks for the text when there
// is none yet or when asked to, then finds and selects the next occurrence.
#include <string>

class QWidget;

// True when an occurrence was found and selected; `message` says where, or why not.
// Cancelling the prompt, or confirming it empty, searches nothing and keeps the
// previous find text.
bool CTL_FindInControl(QWidget* control, std::string& findText, bool ask, const std::string& extraPrompt,
                       std::string& message);

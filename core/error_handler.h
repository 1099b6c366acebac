#pragma once
// The end of every error trap: tells the user what failed and where, appends one
// record to the error log, and then abandons the action (OK) or ends the program
// (Cancel, by sys::EndProgram). The window whose handler failed is unloaded, or
// minimized and disabled when it cannot be unloaded from inside its own handler.
// core::UnexpectedDialog and sys::EndProgram pass through untouched; nothing else
// leaves the handler.
#include <string>

#include "core/user_interface.h"

// The error log: errors.log in the current site's folder; "" until a site is set.
inline std::string gPAFN_Errorlog;
// Set at start-up when another copy of the program was already running.
inline bool gAppPrevInstance = false;

namespace core {

// A caller that deals with an error's consequences itself appends this to the
// procedure name; the handler then leaves the windows alone.
inline constexpr char kSkipStepMarker[] = " - This module will skip the current step and continue.";

}  // namespace core

// `form` is the window whose handler failed, null for module routines. `procName` may get a note appended.
void ErrorHandler(int errNo, core::UiHandle form, std::string& procName,
                  std::string& extraText);
void ERRO_ActiveFormCaption(std::string& caption);
void ERRO_ActiveControlName(std::string& valueText, std::string& typeName);

// One record of the error log, CR LF included: Write#-style fields, text in double
// quotes (embedded quotes doubled), the date as #yyyy-mm-dd#, the Boolean as #TRUE#.
struct ErrorLogRecord {
    std::string Date, Time;
    long No = 0;
    std::string Event, InstallDir, Exe, Caption;
    bool More = false;
    std::string ActiveScreen, Control, Data, FullMessage;

    std::string text() const;
};

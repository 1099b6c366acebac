#include "core/error_handler.h"

#include <unistd.h>

#include <climits>
#include <filesystem>

#include "core/dates.h"
#include "core/dialog_responder.h"
#include "core/file_names.h"
#include "core/text.h"
#include "core/user_interface.h"
#include "core/vb_format.h"
#include "platform/sys/file.h"
#include "platform/sys/program_folder.h"
#include "platform/sys/rt_error.h"

namespace {

const char kTitle[] = "Dravolin";

std::string quoted(const std::string& text) { return "\"" + TXT_Replace(text, "\"", "\"\"", true) + "\""; }

struct Now {
    std::string date, time;
};

Now now() {
    core::DateTime t{core::vbNow()};
    return {core::vbFormat(t, "yyyy-mm-dd"), core::vbFormat(t, "hh:nn:ss")};
}

std::string executableName() {
    char buf[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0) return kTitle;
    return FILENAM_NameNoExt(std::string(buf, size_t(n)));
}

// Appends to the log, making the folder of the fallback log when it is missing.
bool appendTo(const std::string& path, const std::string& bytes) {
    try {
        if (path == sys::fallbackErrorLogPath()) {
            std::error_code ec;
            std::filesystem::create_directories(FILENAM_Dir(path), ec);
        }
        sys::File log;
        log.open(path, sys::File::Access::Append);
        log.write(bytes);
        return true;
    } catch (const sys::RtError&) {
        return false;
    }
}

void cannotUnload(core::UiHandle form) {
    if (core::ui().isMainWindow(form)) throw sys::EndProgram(1);
    if (!core::ui().mainWindowEnabled()) {
        core::ui().systemOk("This system cannot continue. (This form cannot be unloaded "
                            "automatically.)" + gCRCR +
                                "This system will now be terminated. All unsaved data will be lost.",
                            "");
        throw sys::EndProgram(1);
    }
    core::ui().systemOk("This form cannot be unloaded automatically. It will be minimized and can "
                        "be ignored.",
                        "");
    core::ui().minimizeAndDisable(form);
}

void recover(core::UiHandle form, const std::string& proc) {
    if (proc.find(core::kSkipStepMarker) == std::string::npos && form && core::ui().formIsLoaded(form)) {
        bool noUnload = proc == "Form_Load" || proc == "Form_Paint" ||
                        core::lowerAscii(proc).find("combo") != std::string::npos;
        if (noUnload) cannotUnload(form);
        else if (!core::ui().isMainWindow(form)) core::ui().unloadForm(form);
    }
    try {
        core::ui().unloadStrayBoxes();
    } catch (const core::UnexpectedDialog&) {
        throw;
    } catch (...) {
    }
}

// The handler's own failure: say so in the fallback log and end the program.
[[noreturn]] void ownFailure(const std::string& what) {
    std::string text = "Error " + what + " in ErrorHandler" + gLF +
                       "Error Handler did not process an error correctly. Possibly check "
                       " the Errorlog path is not set to an incorrect folder in the INI file. "
                       "Program will now be stopped.";
    appendTo(sys::fallbackErrorLogPath(), text + "\r\n");
    try {
        core::ui().systemOk(text, "");
    } catch (const core::UnexpectedDialog&) {
        throw;
    } catch (...) {
    }
    throw sys::EndProgram(1);
}

}  // namespace

std::string ErrorLogRecord::text() const {
    return "#" + Date + "#," + quoted(Time) + "," + std::to_string(No) + "," + quoted(Event) + "," +
           quoted(InstallDir) + "," + quoted(Exe) + "," + quoted(Caption) + "," +
           (More ? "#TRUE#" : "#FALSE#") + "," + quoted(ActiveScreen) + "," + quoted(Control) +
           "," + quoted(Data) + "," + quoted(FullMessage) + "\r\n";
}

void ERRO_ActiveFormCaption(std::string& caption) {
    caption = core::ui().activeWindowCaption();
    if (caption.empty()) caption = "Form Not defined";
}

void ERRO_ActiveControlName(std::string& valueText, std::string& typeName) {
    typeName = core::ui().activeControlName();
    valueText = typeName.empty() ? "" : core::ui().activeControlValue();
    if (typeName.empty()) typeName = "Not defined";
}

void ErrorHandler(int errNo, core::UiHandle form, std::string& procName,
                  std::string& extraText) {
    try {
        core::ui().setMousePointer(0);
        if (gPAFN_Errorlog.empty()) {
            gPAFN_Errorlog = sys::fallbackErrorLogPath();
            procName += " Also: gPAFN_Errorlog not set, error log written to " + gPAFN_Errorlog + ".";
        }
        std::string value, type, caption;
        ERRO_ActiveControlName(value, type);
        ERRO_ActiveFormCaption(caption);
        std::string detail = !extraText.empty() ? extraText
                             : errNo > 32767    ? std::string("System Error")
                                                : sys::vbErrorDescription(errNo);
        Now at = now();
        std::string message =
            "<<<Logged event (auto processing; warning or error)>>>" + gCRCR + "Description:" + gCR +
            "<<" + (errNo >= 0 ? " " : "") + std::to_string(errNo) + " - " + detail + ">>." +
            gCRCR + "INTERNAL. Proc: " + procName + gCR + "Form: " + caption + gCR +
            "Control: " + type + " / " + value + gCRCR + "Event Logged at >> " + at.date + " " +
            at.time + " <<" + " to file >>" + gPAFN_Errorlog + "<<" +
            " Press OK to terminate this Action and continue. Press Cancel to End this system.";
        bool ok = core::ui().systemOkCancel(message + "\r\n", "");

        ErrorLogRecord rec{.Date = at.date, .Time = at.time, .No = errNo, .Event = procName,
                           .InstallDir = sys::programFolder(), .Exe = executableName(),
                           .Caption = kTitle, .More = gAppPrevInstance, .ActiveScreen = caption,
                           .Control = type, .Data = value, .FullMessage = message};
        // An unusable log path neither loses the record (it goes to the fallback log) nor
        // overrides the user's answer.
        if (!appendTo(gPAFN_Errorlog, rec.text())) appendTo(sys::fallbackErrorLogPath(), rec.text());
        if (!ok) throw sys::EndProgram();
        recover(form, procName);
    } catch (const core::UnexpectedDialog&) {
        throw;
    } catch (const sys::EndProgram&) {
        throw;
    } catch (const sys::RtError& e) {
        ownFailure(std::to_string(e.number()));
    } catch (const std::exception& e) {
        ownFailure(e.what());
    }
}

#include "core/system_info.h"

#include <cerrno>
#include <vector>

#include "core/ini_store.h"
#include "core/shell_actions.h"
#include "core/delimited_lists.h"
#include "core/numbers.h"
#include "core/text.h"
#include "platform/sys/clock.h"
#include "platform/sys/spawn.h"

namespace {

constexpr double kDay = 86400;

// The failure code of the old shell call for a spawn error or an exit status.
int spawnFailureCode(int err) {
    switch (err) {
    case ENOENT: return 31;  // no program to open it with
    case EACCES:
    case EPERM: return 5;
    case ENOMEM: return 8;
    default: return 0;
    }
}

int exitFailureCode(int status) {
    switch (status) {
    case 2: return 2;   // the file does not exist
    case 3: return 31;  // no program for this kind of file
    case 4: return 27;  // the program found failed
    default: return status < 0 ? 0 : status;
    }
}

}  // namespace

std::string SYS_WinIniGet(const std::string& section, const std::string& key) {
    std::string value;
    if (core::lowerAscii(section) == "windows" && core::lowerAscii(key) == "device")
        value = sys::defaultPrinter();
    if (value.empty()) return gIniMissingMode != 0 ? kIniNotFound : std::string();
    gIniMissingMode = gIniMissingModeDflt;
    return value;
}

bool SYS32_ShellExec(std::string& file, std::string& actionSpec, bool& skipAll) {
    std::string verb = core::lowerAscii(CHUNKS_Get(1, actionSpec));
    if (verb != "open" && verb != "print" && verb != "explore") verb = "open";
    std::string params = CHUNKS_Get(2, actionSpec), showItem = CHUNKS_Get(3, actionSpec);
    long show = showItem.empty() ? 1 : long(TXT_Val(showItem));
    if (show < 0 || show > 10) show = 1;
    actionSpec = verb + "|" + params + "|" + std::to_string(show);

    // A name that starts with "-" must not read as an option.
    std::string target = file.rfind('-', 0) == 0 ? "./" + file : file;
    std::vector<std::string> argv{verb == "print" ? "lp" : "xdg-open", target};
    int status = -1;
    int err = sys::spawner().run(argv, status);
    int code = err != 0 ? spawnFailureCode(err) : status == 0 ? 33 : exitFailureCode(status);
    if (code > 32) return true;
    std::string text = verb + " " + file;
    std::string extra = SYS32_ShellExecErrText(code);
    int number = 0;
    SHELDDE_ActionErrMsg(text, number, extra, skipAll);
    return false;
}

std::string SYS32_ShellExecErrText(int code) {
    switch (code) {
    case 2: return "File not found";
    case 3: return "Path not found";
    case 5: return "Access denied";
    case 8: return "Out of memory";
    case 11: return "Invalid EXE file or error in EXE image";
    case 26: return "A sharing violation occurred";
    case 27: return "Incomplete or invalid file association";
    case 28: return "DDE Time out";
    case 29: return "DDE transaction failed";
    case 30: return "DDE busy";
    case 31: return "No association for file extension";
    default: return code > 32 ? "" : "Unknown error " + std::to_string(code);
    }
}

std::string SYS32_ShortPath(const std::string& path) { return path; }

double WINVER_Get() { return 5; }

void TIMEOUT_Start(double seconds, TimeoutRec& rec) {
    rec.Start = sys::clock().secondsSinceMidnight();
    rec.Finish = rec.Start + seconds;
    rec.Expired = false;
}

bool TIMEOUT_Expired(TimeoutRec& rec, bool& firstTime) {
    double now = sys::clock().secondsSinceMidnight();
    if (now < rec.Start) {  // midnight has passed
        rec.Start -= kDay;
        rec.Finish -= kDay;
    }
    if (now <= rec.Finish) return false;
    firstTime = !rec.Expired;
    rec.Expired = true;
    return true;
}

bool TIMEOUT_ExpiredRestart(TimeoutRec& rec, bool& firstTime) {
    if (!TIMEOUT_Expired(rec, firstTime)) return false;
    double length = rec.Finish - rec.Start;
    rec.Start = sys::clock().secondsSinceMidnight();
    rec.Finish = rec.Start + length;
    return true;
}

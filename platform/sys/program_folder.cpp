#include "platform/sys/program_folder.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "platform/sys/rt_error.h"

namespace fs = std::filesystem;

namespace sys {
namespace {

// $HOME, else the home the password database gives the user; "" when neither names
// one. Never a shared folder such as /tmp, where others could plant or read files.
std::string userHome() {
    if (const char* v = std::getenv("HOME"); v && *v) return v;
    const passwd* entry = getpwuid(getuid());
    return entry && entry->pw_dir && *entry->pw_dir ? std::string(entry->pw_dir) : std::string();
}

std::string home() {
    std::string folder = userHome();
    if (folder.empty())
        throw RtError(kErrPathNotFound,
                      "Dravolin cannot tell where your home folder is: HOME is not set and the user has no home "
                      "folder in the password database. Set HOME, or set DRAVOLIN_HOME to the folder where "
                      "Dravolin should keep its sites and settings.",
                      "programFolder");
    return folder;
}

std::string withoutTrailingSlash(std::string p) {
    while (p.size() > 1 && p.back() == '/') p.pop_back();
    return p;
}

}  // namespace

std::string programFolder() {
    if (const char* v = std::getenv("DRAVOLIN_HOME"); v && *v) return withoutTrailingSlash(v);
    if (const char* v = std::getenv("XDG_DATA_HOME"); v && *v) return withoutTrailingSlash(v) + "/dravolin";
    return withoutTrailingSlash(home()) + "/.local/share/dravolin";
}

std::string fallbackErrorLogPath() {
    if (const char* v = std::getenv("XDG_STATE_HOME"); v && *v) return withoutTrailingSlash(v) + "/dravolin/errors.log";
    // Without a home the program folder (named by DRAVOLIN_HOME then) keeps the log.
    const std::string folder = userHome();
    return folder.empty() ? programFolder() + "/errors.log"
                          : withoutTrailingSlash(folder) + "/.local/state/dravolin/errors.log";
}

std::string resourcesFolder(const std::string& executableDir) {
    std::error_code ec;
    fs::path dir = fs::path(executableDir);
    // Installed: prefix/bin beside prefix/share. Built: the build folder holds a
    // share/dravolin link, one or two levels above the program or a bench program.
    for (int up = 0; up < 3 && !dir.empty(); ++up) {
        dir = dir.parent_path();
        const fs::path candidate = dir / "share" / "dravolin";
        if (fs::is_directory(candidate, ec)) return fs::weakly_canonical(candidate, ec).string();
    }
    return (fs::path(executableDir).parent_path() / "share" / "dravolin").string();
}

void ensureProgramFolder(const std::string& folder, const std::string& resources) {
    std::error_code ec;
    if (fs::is_directory(folder, ec) && !fs::is_empty(folder, ec)) return;
    fs::create_directories(folder, ec);
    if (ec) raiseErrno(ec.value(), "cannot create the program folder " + folder, "ensureProgramFolder");
    if (!fs::is_directory(resources, ec))
        throw RtError(kErrPathNotFound, "The program's resources are missing: " + resources,
                      "ensureProgramFolder");
    fs::copy(resources, folder, fs::copy_options::recursive | fs::copy_options::skip_existing, ec);
    if (ec) raiseErrno(ec.value(), "cannot copy " + resources + " to " + folder, "ensureProgramFolder");
}

}  // namespace sys

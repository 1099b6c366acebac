#include "platform/sys/program_folder.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "platform/sys/rt_error.h"

namespace fs = std::filesystem;

namespace sys {
namespace {

std::string envOr(const char* name, const std::string& fallback) {
    const char* v = std::getenv(name);
    return (v && *v) ? std::string(v) : fallback;
}

std::string home() { return envOr("HOME", "/tmp"); }

std::string withoutTrailingSlash(std::string p) {
    while (p.size() > 1 && p.back() == '/') p.pop_back();
    return p;
}

}  // namespace

std::string programFolder() {
    if (const char* v = std::getenv("DRAVOLIN_HOME"); v && *v) return withoutTrailingSlash(v);
    return withoutTrailingSlash(envOr("XDG_DATA_HOME", home() + "/.local/share")) + "/dravolin";
}

std::string fallbackErrorLogPath() {
    return withoutTrailingSlash(envOr("XDG_STATE_HOME", home() + "/.local/state")) +
           "/dravolin/errors.log";
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

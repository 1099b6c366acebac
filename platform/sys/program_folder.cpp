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
    fs::path installed = fs::path(executableDir) / ".." / "share" / "dravolin";
    if (fs::is_directory(installed, ec)) return fs::weakly_canonical(installed, ec).string();
    if (const char* src = std::getenv("DRAVOLIN_SOURCE_DIR"); src && *src)
        return std::string(src) + "/resources";
    return DRAVOLIN_SOURCE_RESOURCES;
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

#include "platform/profile/shipped_files.h"

#include <filesystem>
#include <set>
#include <system_error>

#include "platform/profile/ini_document.h"
#include "platform/sys/rt_error.h"

namespace fs = std::filesystem;

namespace profile {
namespace {

// The key of an entry line, trimmed and folded; "" for a line without "=".
std::string keyOf(const std::string& line) {
    const std::string::size_type eq = line.find('=');
    if (eq == std::string::npos) return {};
    std::string key = line.substr(0, eq);
    key.erase(0, key.find_first_not_of(" \t"));
    key.erase(key.find_last_not_of(" \t") + 1);
    return foldCase(key);
}

std::vector<std::string> names(const std::string& list) {
    std::vector<std::string> out;
    for (std::string::size_type start = 0; start < list.size();) {
        const std::string::size_type end = list.find('\0', start);
        if (end == start || end == std::string::npos) break;
        out.push_back(list.substr(start, end - start));
        start = end + 1;
    }
    return out;
}

}  // namespace

WriteResult addMissingEntries(const std::string& file, const std::string& shipped) {
    std::error_code ec;
    if (!fs::is_regular_file(file, ec) || !fs::is_regular_file(shipped, ec)) return {};
    std::string sections;
    getSectionNames(sections, 1 << 20, shipped);
    for (const std::string& section : names(sections)) {
        const std::vector<std::string> wanted = sectionLines(section, shipped).value_or(std::vector<std::string>{});
        std::vector<std::string> own = sectionLines(section, file).value_or(std::vector<std::string>{});
        std::set<std::string> present;
        for (const std::string& line : own) present.insert(keyOf(line));
        const std::size_t before = own.size();
        for (const std::string& line : wanted)
            if (const std::string key = keyOf(line); !key.empty() && !present.count(key)) own.push_back(line);
        const bool sectionMissing = !sectionLines(section, file).has_value();
        if (own.size() == before && !sectionMissing) continue;
        if (const WriteResult r = writeSection(section, own, file); !r.ok()) return r;
    }
    return {};
}

void addMissingShippedFiles(const std::string& folder, const std::string& resources) {
    std::error_code ec;
    const fs::path help = fs::path(resources) / "help";
    if (fs::is_directory(help, ec)) {
        fs::create_directories(fs::path(folder) / "help", ec);
        fs::copy(help, fs::path(folder) / "help", fs::copy_options::recursive | fs::copy_options::skip_existing, ec);
        if (ec) sys::raiseErrno(ec.value(), "cannot copy the help pages to " + folder, "addMissingShippedFiles");
    }
    const std::string screens = (fs::path(folder) / "param" / "screens.ini").string();
    const WriteResult r = addMissingEntries(screens, (fs::path(resources) / "param" / "screens.ini").string());
    if (!r.ok()) sys::raiseErrno(r.error, "cannot add the new dialog definitions to " + screens, "addMissingShippedFiles");
}

}  // namespace profile

#include "logimport/referrer_store.h"

#include <filesystem>
#include <map>
#include <unordered_map>
#include <vector>

#include "core/ini_encoding.h"
#include "core/ini_entry_io.h"
#include "core/ini_store.h"
#include "core/numbers.h"
#include "core/path_checks.h"
#include "core/program_paths.h"
#include "core/text.h"
#include "platform/profile/profile.h"
#include "platform/sys/rt_error.h"

namespace {

bool gDomainLoaded = false;
// Entries waiting to be written: store file -> entry -> stored value.
std::map<std::string, std::map<long, std::string>> gPending;
// Store files already read by fetches, entry by entry. Visit building asks in IP
// order, which jumps between files; reading each file once keeps that linear.
std::unordered_map<std::string, std::vector<std::string>> gFetched;

constexpr const char* kSection = "Main";

void writeFile(const std::string& file, const std::map<long, std::string>& entries) {
    std::map<long, std::string> lines;
    if (auto old = profile::sectionLines(kSection, file)) {
        for (const std::string& line : *old) {
            size_t eq = line.find('=');
            if (eq == std::string::npos) continue;
            lines[static_cast<long>(TXT_Val(line.substr(0, eq)))] = line;
        }
    }
    for (const auto& [entry, value] : entries)
        lines[entry] = std::to_string(entry) + "=" + core::ini::storedValue(value);
    std::vector<std::string> body;
    body.reserve(lines.size());
    for (auto& [entry, line] : lines) body.push_back(std::move(line));
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(file).parent_path(), ec);
    profile::WriteResult r = profile::writeSection(kSection, body, file);
    if (!r.ok()) sys::raiseErrno(r.error, "Referrer store " + file, "STTA_RefrStoreFlush");
}

// The 100 entries of one store file as they read back ("" where none is stored).
const std::vector<std::string>& fetchedFile(const std::string& file) {
    auto [it, added] = gFetched.try_emplace(file);
    if (!added) return it->second;
    it->second.resize(100);
    if (auto lines = profile::sectionLines(kSection, file)) {
        for (const std::string& line : *lines) {
            size_t eq = line.find('=');
            if (eq == std::string::npos) continue;
            long n = static_cast<long>(TXT_Val(line.substr(0, eq)));
            if (n < 0 || n >= 100) continue;
            std::string value = TXT_Normalize(line.substr(eq + 1), {}, true, false, false, {}, {});
            if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
                value = value.substr(1, value.size() - 2);
            INI_UnescapeCtlChars(value);
            INI_DecodeCodes(value);
            it->second[size_t(n)] = std::move(value);
        }
    }
    return it->second;
}

}  // namespace

std::string STTA_RefrStoreFolder() {
    if (gMainDataDir.empty()) return {};
    std::string folder = gMainDataDir;
    if (folder.back() != '/') folder += '/';
    return folder + "temp/";
}

void STTA_SiteDomainLoad() {
    if (gDomainLoaded) return;
    gSiteDomain = INI_Get("Main", "domain", gIniDbDef, 3);
    gDomainLoaded = true;
}

void STTA_SiteDomainReset() {
    gSiteDomain.clear();
    gDomainLoaded = false;
}

std::string STTA_RefrStoreFile(long logLnID, std::string& entry) {
    entry = std::to_string(logLnID % 100);
    return STTA_RefrStoreFolder() + std::to_string(logLnID / 100) + ".ini";
}

void STTA_RefrStore(long logLnID, const std::string& referrer) {
    if (referrer.empty() || referrer == "-") return;
    STTA_SiteDomainLoad();
    bool own = !gSiteDomain.empty() && TXT_StartsWith(referrer, gSiteDomain, false);
    std::string entry;
    std::string file = STTA_RefrStoreFile(logLnID, entry);
    // A new file begins: the ones before it are complete.
    if (!gPending.empty() && gPending.find(file) == gPending.end()) STTA_RefrStoreFlush();
    gPending[file][logLnID % 100] = own ? std::string("::::") : referrer;
}

std::string STTA_RefrFetch(long logLnID) {
    std::string entry;
    std::string file = STTA_RefrStoreFile(logLnID, entry);
    if (auto it = gPending.find(file); it != gPending.end()) {
        if (auto e = it->second.find(logLnID % 100); e != it->second.end())
            return TXT_StartsWith(e->second, "::", true) ? std::string() : e->second;
    }
    if (logLnID < 0) return {};
    const std::string& value = fetchedFile(file)[size_t(logLnID % 100)];
    return TXT_StartsWith(value, "::", true) ? std::string() : value;
}

void STTA_RefrStoreFlush() {
    // Taken out first, so that a failed write is not retried on every later exit.
    auto pending = std::move(gPending);
    gPending.clear();
    for (const auto& [file, entries] : pending) {
        gFetched.erase(file);
        writeFile(file, entries);
    }
}

void STTA_RefrStoreClear() {
    gPending.clear();
    gFetched.clear();
    std::string folder = STTA_RefrStoreFolder();
    if (folder.empty()) return;  // never a folder relative to wherever we run
    std::error_code ec;
    for (const auto& item : std::filesystem::directory_iterator(folder, ec))
        if (item.is_regular_file(ec)) std::filesystem::remove(item.path(), ec);
}

RefrStoreFlushGuard::~RefrStoreFlushGuard() {
    try {
        STTA_RefrStoreFlush();
    } catch (...) {
        // An exception is already on its way or the caller flushed; nothing to add.
    }
}

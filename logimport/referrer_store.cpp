#include "logimport/referrer_store.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <functional>
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
constexpr long kPerFile = 100;
// Entries waiting to be written, all of one store file: numbers go up one by one,
// so a new file means the one before is complete.
long gPendingFile = -1;
std::map<long, std::string> gPending;
// Store files already read by fetches, by file number, entry by entry.
std::unordered_map<long, std::vector<std::string>> gFetched;

constexpr const char* kSection = "Main";

std::string storeFile(long fileNo) { return STTA_RefrStoreFolder() + std::to_string(fileNo) + ".ini"; }

// The entries of a store file as stored ("n=value" lines of [Main]).
std::map<long, std::string> storedLines(const std::string& file) {
    std::map<long, std::string> lines;
    if (auto old = profile::sectionLines(kSection, file)) {
        for (const std::string& line : *old) {
            size_t eq = line.find('=');
            if (eq == std::string::npos) continue;
            lines[static_cast<long>(TXT_Val(line.substr(0, eq)))] = line;
        }
    }
    // Store files are read or written once each: the INI cache need not keep them.
    profile::flush(file);
    return lines;
}

// Writes the bytes beside the file and renames them over it, so a file is never
// seen half written.
void replaceWhole(const std::string& file, const std::string& bytes) {
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(file).parent_path(), ec);
    const std::string temp = file + ".part";
    int err = 0;
    if (std::FILE* f = std::fopen(temp.c_str(), "wb")) {
        if (std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size()) err = errno ? errno : EIO;
        if (std::fclose(f) != 0 && !err) err = errno ? errno : EIO;
        if (!err && std::rename(temp.c_str(), file.c_str()) != 0) err = errno;
        if (err) std::remove(temp.c_str());
    } else {
        err = errno ? errno : EIO;
    }
    if (err) sys::raiseErrno(err, "Referrer store " + file, "STTA_RefrStoreFlush");
    profile::flush(file);
}

void writeFile(const std::string& file, const std::map<long, std::string>& entries) {
    // A file begun by an earlier, stopped run keeps its entries.
    std::map<long, std::string> lines;
    if (std::filesystem::exists(file)) lines = storedLines(file);
    for (const auto& [entry, value] : entries)
        lines[entry] = std::to_string(entry) + "=" + core::ini::storedValue(value);
    // The layout the INI store writes: the section line, then one line per entry.
    std::string bytes = std::string("[") + kSection + "]\n";
    for (const auto& [entry, line] : lines) {
        bytes += line;
        bytes += '\n';
    }
    replaceWhole(file, bytes);
}

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f'; }

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
    return s;
}

// The "n=value" lines of the file's first [Main] section, read straight from the
// file: store files are read once each, so neither the INI cache nor its index of
// keys would ever be used again.
std::vector<std::string_view> mainSectionLines(std::string_view bytes) {
    std::vector<std::string_view> lines;
    bool inMain = false, seenMain = false;
    for (size_t start = 0; start < bytes.size();) {
        size_t end = bytes.find_first_of("\r\n", start);
        if (end == std::string_view::npos) end = bytes.size();
        std::string_view line = bytes.substr(start, end - start);
        start = end + (bytes.compare(end, 2, "\r\n") == 0 ? 2 : 1);
        std::string_view t = trimmed(line);
        if (!t.empty() && t.front() == '[') {
            if (seenMain) break;
            size_t close = t.rfind(']');
            std::string_view name = trimmed(close == std::string_view::npos ? t.substr(1) : t.substr(1, close - 1));
            inMain = name.size() == 4 && TXT_StartsWith(name, kSection, false);
            seenMain = inMain;
            continue;
        }
        if (inMain) lines.push_back(line);
    }
    return lines;
}

// The entries of one store file as they read back ("" where none is stored).
std::vector<std::string> readFile(const std::string& file) {
    std::vector<std::string> entries(kPerFile);
    std::string bytes;
    if (std::FILE* f = std::fopen(file.c_str(), "rb")) {
        char buf[65536];
        for (size_t n; (n = std::fread(buf, 1, sizeof buf, f)) > 0;) bytes.append(buf, n);
        std::fclose(f);
    }
    for (std::string_view line : mainSectionLines(bytes)) {
        size_t eq = line.find('=');
        if (eq == std::string_view::npos) continue;
        long n = static_cast<long>(TXT_Val(line.substr(0, eq)));
        if (n < 0 || n >= kPerFile) continue;
        std::string value = TXT_Normalize(line.substr(eq + 1), {}, true, false, false, {}, {});
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
        INI_UnescapeCtlChars(value);
        INI_DecodeCodes(value);
        entries[size_t(n)] = std::move(value);
    }
    return entries;
}

// A stored value as a fetch gives it: the site's own referrers read as "".
std::string fetched(const std::string& value) { return TXT_StartsWith(value, "::", true) ? std::string() : value; }

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
    entry = std::to_string(logLnID % kPerFile);
    return storeFile(logLnID / kPerFile);
}

void STTA_RefrStore(long logLnID, const std::string& referrer) {
    if (referrer.empty() || referrer == "-") return;
    STTA_SiteDomainLoad();
    bool own = !gSiteDomain.empty() && TXT_StartsWith(referrer, gSiteDomain, false);
    long fileNo = logLnID / kPerFile;
    if (fileNo != gPendingFile && !gPending.empty()) STTA_RefrStoreFlush();
    gPendingFile = fileNo;
    gPending[logLnID % kPerFile] = own ? std::string("::::") : referrer;
}

std::string STTA_RefrFetch(long logLnID) {
    if (logLnID < 0) return {};
    long fileNo = logLnID / kPerFile;
    if (fileNo == gPendingFile) {
        if (auto e = gPending.find(logLnID % kPerFile); e != gPending.end()) return fetched(e->second);
    }
    auto it = gFetched.find(fileNo);
    if (it == gFetched.end()) it = gFetched.emplace(fileNo, readFile(storeFile(fileNo))).first;
    return fetched(it->second[size_t(logLnID % kPerFile)]);
}

void STTA_RefrStoreEach(const std::function<void(long logLnID, const std::string& referrer)>& each) {
    STTA_RefrStoreFlush();
    std::string folder = STTA_RefrStoreFolder();
    if (folder.empty()) return;
    std::error_code ec;
    for (const auto& item : std::filesystem::directory_iterator(folder, ec)) {
        const std::string name = item.path().filename().string();
        if (name.size() < 5 || name.compare(name.size() - 4, 4, ".ini") != 0 ||
            name.find_first_not_of("0123456789") != name.size() - 4)
            continue;
        long fileNo = std::stol(name.substr(0, name.size() - 4));
        std::vector<std::string> entries = readFile(item.path().string());
        for (long n = 0; n < kPerFile; ++n)
            if (!entries[size_t(n)].empty()) each(fileNo * kPerFile + n, fetched(entries[size_t(n)]));
    }
}

void STTA_RefrStoreFlush() {
    // Taken out first, so that a failed write is not retried on every later exit.
    auto pending = std::move(gPending);
    gPending.clear();
    long fileNo = gPendingFile;
    gPendingFile = -1;
    if (pending.empty()) return;
    gFetched.erase(fileNo);
    writeFile(storeFile(fileNo), pending);
}

void STTA_RefrStoreClear() {
    gPending.clear();
    gPendingFile = -1;
    gFetched.clear();
    std::string folder = STTA_RefrStoreFolder();
    if (folder.empty()) return;  // never a folder relative to wherever we run
    std::error_code ec;
    for (const auto& item : std::filesystem::directory_iterator(folder, ec))
        if (item.is_regular_file(ec)) {
            profile::flush(item.path().string());
            std::filesystem::remove(item.path(), ec);
        }
}

RefrStoreFlushGuard::~RefrStoreFlushGuard() {
    try {
        STTA_RefrStoreFlush();
    } catch (...) {
        // An exception is already on its way or the caller flushed; nothing to add.
    }
}

#include "logimport/referrer_store.h"

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <limits>
#include <map>
#include <unordered_map>
#include <utility>
#include <vector>

#include "core/ini_encoding.h"
#include "core/ini_entry_io.h"
#include "core/ini_store.h"
#include "core/numbers.h"
#include "core/path_checks.h"
#include "core/program_paths.h"
#include "core/text.h"
#include "platform/sys/rt_error.h"

namespace {

constexpr long kPerFile = 100;

constexpr const char* kSection = "Main";

std::string storeFile(long fileNo) { return STTA_RefrStoreFolder() + std::to_string(fileNo) + ".ini"; }

bool isBlank(char c);
std::string_view trimmed(std::string_view s);
std::vector<std::string_view> mainSectionLines(std::string_view bytes);

std::string fileBytes(const std::string& file) {
    std::string bytes;
    if (std::FILE* f = std::fopen(file.c_str(), "rb")) {
        char buf[65536];
        for (size_t n; (n = std::fread(buf, 1, sizeof buf, f)) > 0;) bytes.append(buf, n);
        std::fclose(f);
    }
    return bytes;
}

// The entry number of an "n=value" line; -1 when it has none.
long entryNumber(std::string_view line) {
    std::string_view key = trimmed(line.substr(0, line.find('=')));
    long n = -1;
    auto [end, ec] = std::from_chars(key.data(), key.data() + key.size(), n);
    return ec == std::errc() && end == key.data() + key.size() ? n : -1;
}

// Writes the bytes beside the file and renames them over it, so a file is never
// seen half written. 0 or the errno of the failure.
int replaceWhole(const std::string& file, const std::string& bytes) {
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
    return err;
}

// One store file's new "n=value" lines by entry number. A file begun by an earlier,
// stopped run keeps its other entries. 0 or the errno of the failure.
int writeFile(const std::string& file, std::map<long, std::string> lines) {
    std::string old = fileBytes(file);
    for (std::string_view line : mainSectionLines(old))
        if (long n = entryNumber(line); n >= 0) lines.try_emplace(n, line);
    // The layout the INI store writes: the section line, then one line per entry.
    std::string bytes = std::string("[") + kSection + "]\n";
    for (const auto& [entry, line] : lines) {
        bytes += line;
        bytes += '\n';
    }
    return replaceWhole(file, bytes);
}

// Writes one finished store file; raised on the reading thread at the next wait.
void writeJob(const std::string& file, std::map<long, std::string>& lines) {
    if (int err = writeFile(file, std::move(lines))) sys::raiseErrno(err, "Referrer store " + file, "STTA_RefrStoreFlush");
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

// A value as it reads back from the text after "=" of its line.
std::string valueRead(std::string_view text) {
    std::string value(core::trimBlanks(text));
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
    INI_UnescapeCtlChars(value);
    INI_DecodeCodes(value);
    return value;
}

// The entries of one store file as they read back ("" where none is stored).
std::vector<std::string> readFile(const std::string& file) {
    std::vector<std::string> entries(kPerFile);
    const std::string bytes = fileBytes(file);
    for (std::string_view line : mainSectionLines(bytes)) {
        size_t eq = line.find('=');
        if (eq == std::string_view::npos) continue;
        long n = core::wholeOf<long>(TXT_Val(line.substr(0, eq)));
        if (n < 0 || n >= kPerFile) continue;
        entries[size_t(n)] = valueRead(line.substr(eq + 1));
    }
    return entries;
}

// A stored value as a fetch gives it: the site's own referrers read as "".
std::string fetched(const std::string& value) { return TXT_StartsWith(value, "::", true) ? std::string() : value; }

}  // namespace

namespace logimport {

ReferrerStore::~ReferrerStore() {
    try {
        postPending();
    } catch (...) {
        // Never raises: an exception is on its way, or the run flushed already.
    }
    writer_.drainQuietly();
}

void ReferrerStore::postPending() {
    // Taken out first, so that a failed write is not retried on every later exit.
    auto pending = std::exchange(pending_, {});
    const long fileNo = std::exchange(pendingFile_, -1);
    if (pending.empty()) return;
    fetched_.erase(fileNo);
    std::map<long, std::string> lines;
    for (const auto& [entry, value] : pending)
        lines.emplace(entry, std::to_string(entry) + "=" + core::ini::storedValue(value));
    std::string file = storeFile(fileNo);
    writer_.post([file = std::move(file), lines = std::move(lines)]() mutable { writeJob(file, lines); });
}

}  // namespace logimport

std::string STTA_RefrStoreFolder() {
    if (gMainDataDir.empty()) return {};
    std::string folder = gMainDataDir;
    if (folder.back() != '/') folder += '/';
    return folder + "temp/";
}

const std::string& STTA_SiteDomainLoad(logimport::ReferrerStore& store) {
    if (!store.domainLoaded_) {
        store.domain_ = INI_Get("Main", "domain", gIniDbDef, kIniMissingEmpty);
        store.domainLoaded_ = true;
    }
    return store.domain_;
}

std::string STTA_RefrStoreFile(long logLnID, std::string& entry) {
    entry = std::to_string(logLnID % kPerFile);
    return storeFile(logLnID / kPerFile);
}

void STTA_RefrStore(logimport::ReferrerStore& store, long logLnID, const std::string& referrer) {
    if (referrer.empty() || referrer == "-") return;
    const std::string& domain = STTA_SiteDomainLoad(store);
    bool own = !domain.empty() && TXT_StartsWith(referrer, domain, false);
    long fileNo = logLnID / kPerFile;
    if (fileNo != store.pendingFile_ && !store.pending_.empty()) store.postPending();
    store.pendingFile_ = fileNo;
    store.pending_[logLnID % kPerFile] = own ? std::string("::::") : referrer;
}

std::string STTA_RefrAsFetched(logimport::ReferrerStore& store, const std::string& referrer) {
    if (referrer.empty() || referrer == "-") return {};
    const std::string& domain = STTA_SiteDomainLoad(store);
    if (!domain.empty() && TXT_StartsWith(referrer, domain, false)) return {};
    return fetched(valueRead(core::ini::storedValue(referrer)));
}

std::string STTA_RefrFetch(logimport::ReferrerStore& store, long logLnID) {
    if (logLnID < 0) return {};
    long fileNo = logLnID / kPerFile;
    if (fileNo == store.pendingFile_) {
        if (auto e = store.pending_.find(logLnID % kPerFile); e != store.pending_.end()) return fetched(e->second);
    }
    auto it = store.fetched_.find(fileNo);
    if (it == store.fetched_.end()) {
        store.writer_.drain();
        it = store.fetched_.emplace(fileNo, readFile(storeFile(fileNo))).first;
    }
    return fetched(it->second[size_t(logLnID % kPerFile)]);
}

void STTA_RefrStoreEach(logimport::ReferrerStore& store,
                        const std::function<void(long logLnID, const std::string& referrer)>& each) {
    STTA_RefrStoreFlush(store);
    std::string folder = STTA_RefrStoreFolder();
    if (folder.empty()) return;
    std::error_code ec;
    for (const auto& item : std::filesystem::directory_iterator(folder, ec)) {
        const std::string name = item.path().filename().string();
        if (name.size() < 5 || name.compare(name.size() - 4, 4, ".ini") != 0 ||
            name.find_first_not_of("0123456789") != name.size() - 4)
            continue;
        const long fileNo = core::wholeOf<long>(TXT_Val(name.substr(0, name.size() - 4)));
        if (fileNo > std::numeric_limits<long>::max() / kPerFile - 1) continue;  // no file of ours
        std::vector<std::string> entries = readFile(item.path().string());
        for (long n = 0; n < kPerFile; ++n)
            if (!entries[size_t(n)].empty()) each(fileNo * kPerFile + n, fetched(entries[size_t(n)]));
    }
}

void STTA_RefrStoreFlush(logimport::ReferrerStore& store) {
    store.postPending();
    store.writer_.drain();
}

void STTA_RefrStoreClear(logimport::ReferrerStore& store) {
    store.writer_.drainQuietly();  // the files are about to go
    store.pending_.clear();
    store.pendingFile_ = -1;
    store.fetched_.clear();
    std::string folder = STTA_RefrStoreFolder();
    if (folder.empty()) return;  // never a folder relative to wherever we run
    std::error_code ec;
    for (const auto& item : std::filesystem::directory_iterator(folder, ec))
        if (item.is_regular_file(ec)) std::filesystem::remove(item.path(), ec);
}

void STTA_RefrStoreDropAbove(logimport::ReferrerStore& store, long lastLogLnID) {
    store.postPending();
    store.writer_.drainQuietly();
    store.fetched_.clear();
    const std::string folder = STTA_RefrStoreFolder();
    if (folder.empty()) return;
    const long lastFile = lastLogLnID / kPerFile;
    std::error_code ec;
    for (const auto& item : std::filesystem::directory_iterator(folder, ec)) {
        const std::string path = item.path().string(), name = item.path().filename().string();
        if (TXT_EndsWith(name, ".part", true)) {  // a write that never finished
            std::filesystem::remove(item.path(), ec);
            continue;
        }
        if (name.size() < 5 || !TXT_EndsWith(name, ".ini", true) ||
            name.find_first_not_of("0123456789") != name.size() - 4)
            continue;
        const long fileNo = core::wholeOf<long>(TXT_Val(name.substr(0, name.size() - 4)));
        if (fileNo < lastFile) continue;
        if (fileNo > lastFile) {
            std::filesystem::remove(item.path(), ec);
            continue;
        }
        const std::string old = fileBytes(path);
        std::map<long, std::string> kept;
        for (std::string_view line : mainSectionLines(old))
            if (long n = entryNumber(line); n >= 0 && n <= lastLogLnID % kPerFile) kept.emplace(n, line);
        std::string bytes = std::string("[") + kSection + "]\n";
        for (const auto& [n, line] : kept) bytes += line + "\n";
        if (int err = replaceWhole(path, bytes)) sys::raiseErrno(err, "Referrer store " + path, "STTA_RefrStoreDropAbove");
    }
}

#include "logimport/referrer_store.h"

#include <cerrno>
#include <charconv>
#include <condition_variable>
#include <cstdio>
#include <deque>
#include <filesystem>
#include <functional>
#include <map>
#include <mutex>
#include <thread>
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

// Writes finished store files on a thread of its own, so that creating some ten
// thousand small files per million lines does not hold up the read. Only plain
// file work happens there; a failure is raised on the reading thread at the next
// wait (a flush or a fetch).
class StoreWriter {
public:
    ~StoreWriter() {
        {
            std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        wake_.notify_one();
        if (thread_.joinable()) thread_.join();
    }
    // Never raises: a failure found by the thread waits for the next wait, so that it
    // is reported at one place and never costs the entries handed over after it.
    void post(std::string file, std::map<long, std::string> lines) {
        {
            std::lock_guard lock(mutex_);
            if (!thread_.joinable()) thread_ = std::thread([this] { run(); });
            jobs_.emplace_back(std::move(file), std::move(lines));
        }
        wake_.notify_one();
    }
    // Returns once every posted file is written; raises the first failure.
    void wait() {
        {
            std::unique_lock lock(mutex_);
            idle_.wait(lock, [this] { return jobs_.empty() && !busy_; });
        }
        raiseFailure();
    }
    // Waits, then forgets a failure: the files are about to go.
    void discardFailure() {
        std::unique_lock lock(mutex_);
        idle_.wait(lock, [this] { return jobs_.empty() && !busy_; });
        failure_ = 0;
    }

private:
    void run() {
        std::unique_lock lock(mutex_);
        for (;;) {
            wake_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
            if (jobs_.empty()) return;
            auto job = std::move(jobs_.front());
            jobs_.pop_front();
            busy_ = true;
            lock.unlock();
            int err = writeFile(job.first, std::move(job.second));
            lock.lock();
            busy_ = false;
            if (err && !failure_) {
                failure_ = err;
                failedFile_ = job.first;
            }
            if (jobs_.empty()) idle_.notify_all();
        }
    }
    void raiseFailure() {
        std::unique_lock lock(mutex_);
        if (!failure_) return;
        const int err = failure_;
        const std::string file = failedFile_;
        failure_ = 0;
        lock.unlock();
        sys::raiseErrno(err, "Referrer store " + file, "STTA_RefrStoreFlush");
    }

    std::mutex mutex_;
    std::condition_variable wake_, idle_;
    std::deque<std::pair<std::string, std::map<long, std::string>>> jobs_;
    bool busy_ = false, stopping_ = false;
    int failure_ = 0;
    std::string failedFile_;
    std::thread thread_;
};

StoreWriter gWriter;

// Hands the entries held in memory to the writer.
void postPending() {
    // Taken out first, so that a failed write is not retried on every later exit.
    auto pending = std::move(gPending);
    gPending.clear();
    long fileNo = gPendingFile;
    gPendingFile = -1;
    if (pending.empty()) return;
    gFetched.erase(fileNo);
    std::map<long, std::string> lines;
    for (const auto& [entry, value] : pending)
        lines.emplace(entry, std::to_string(entry) + "=" + core::ini::storedValue(value));
    const std::string file = storeFile(fileNo);
    profile::flush(file);  // the INI cache must not answer for this file from memory
    gWriter.post(file, std::move(lines));
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
        long n = static_cast<long>(TXT_Val(line.substr(0, eq)));
        if (n < 0 || n >= kPerFile) continue;
        entries[size_t(n)] = valueRead(line.substr(eq + 1));
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
    gSiteDomain = INI_Get("Main", "domain", gIniDbDef, kIniMissingEmpty);
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
    if (fileNo != gPendingFile && !gPending.empty()) postPending();
    gPendingFile = fileNo;
    gPending[logLnID % kPerFile] = own ? std::string("::::") : referrer;
}

std::string STTA_RefrAsFetched(const std::string& referrer) {
    if (referrer.empty() || referrer == "-") return {};
    STTA_SiteDomainLoad();
    if (!gSiteDomain.empty() && TXT_StartsWith(referrer, gSiteDomain, false)) return {};
    return fetched(valueRead(core::ini::storedValue(referrer)));
}

std::string STTA_RefrFetch(long logLnID) {
    if (logLnID < 0) return {};
    long fileNo = logLnID / kPerFile;
    if (fileNo == gPendingFile) {
        if (auto e = gPending.find(logLnID % kPerFile); e != gPending.end()) return fetched(e->second);
    }
    auto it = gFetched.find(fileNo);
    if (it == gFetched.end()) {
        gWriter.wait();
        it = gFetched.emplace(fileNo, readFile(storeFile(fileNo))).first;
    }
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
    postPending();
    gWriter.wait();
}

void STTA_RefrStoreClear() {
    gWriter.discardFailure();
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

void STTA_RefrStoreDropAbove(long lastLogLnID) {
    postPending();
    gWriter.discardFailure();
    gFetched.clear();
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
        const long fileNo = std::stol(name.substr(0, name.size() - 4));
        if (fileNo < lastFile) continue;
        profile::flush(path);
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

RefrStoreFlushGuard::~RefrStoreFlushGuard() {
    try {
        STTA_RefrStoreFlush();
    } catch (...) {
        // An exception is already on its way or the caller flushed; nothing to add.
    }
}

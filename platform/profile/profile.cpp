#include "platform/profile/profile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <unordered_map>
#include <unordered_set>

#include "platform/profile/ini_document.h"

namespace profile {
namespace {

long long nanos(const timespec& t) { return t.tv_sec * 1'000'000'000LL + t.tv_nsec; }

// What tells one version of a file from the next without reading it.
struct Stamp {
    dev_t dev = 0;
    ino_t ino = 0;
    off_t size = 0;
    long long mtime = 0;
    long long ctime = 0;
    bool operator==(const Stamp&) const = default;
};

Stamp stampOf(const struct stat& st) {
    return {st.st_dev, st.st_ino, st.st_size, nanos(st.st_mtim), nanos(st.st_ctim)};
}

struct CachedFile {
    bool exists = false;
    Stamp stamp;
    // File times come from a coarse clock: a change made within the same tick as the
    // one we read can leave the stamp as it was. Such a file is compared by content.
    bool racy = false;
    std::string bytes;
    IniDocument doc;
};

std::unordered_map<std::string, CachedFile>& cache() {
    static std::unordered_map<std::string, CachedFile> files;
    return files;
}

struct ScopeState {
    int depth = 0;
    std::unordered_set<std::string> checked;  // paths already checked in this scope
};

ScopeState& scope() {
    static ScopeState state;
    return state;
}

// Stores that write many small files (one per hundred log lines) would otherwise keep
// every one of them in memory for the life of the program.
constexpr std::size_t kMaxCachedFiles = 256;

// The cache entry of a path, making room first when the path is new and the cache full.
CachedFile& entryFor(const std::string& path) {
    auto& files = cache();
    if (files.size() >= kMaxCachedFiles && files.find(path) == files.end()) {
        files.clear();
        scope().checked.clear();
    }
    return files[path];
}

long long nowNanos() {
    timespec t{};
    clock_gettime(CLOCK_REALTIME, &t);
    return nanos(t);
}

// Twice the granularity of file times, at least 1 ms.
long long stampMargin() {
    static const long long margin = [] {
        timespec r{};
        clock_getres(CLOCK_REALTIME_COARSE, &r);
        return std::max(2 * nanos(r), 1'000'000LL);
    }();
    return margin;
}

bool isRacy(const Stamp& s, long long readTime) {
    return std::max(s.mtime, s.ctime) > readTime - stampMargin();
}

int readAll(const std::string& path, std::string& out) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return errno;
    out.clear();
    char buf[65536];
    for (;;) {
        ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            int err = errno;
            ::close(fd);
            return err;
        }
        if (n == 0) break;
        out.append(buf, static_cast<size_t>(n));
    }
    ::close(fd);
    return 0;
}

int loadChecked(const std::string& path, const CachedFile*& result);

// The file as it is now, from the cache unless it changed. A missing file is an
// empty document; any other failure to read it is returned as an errno.
int load(const std::string& path, const CachedFile*& result) {
    ScopeState& sc = scope();
    if (sc.depth > 0) {
        auto it = cache().find(path);
        if (it != cache().end() && sc.checked.count(path)) {
            result = &it->second;
            return 0;
        }
    }
    int err = loadChecked(path, result);
    if (err == 0 && sc.depth > 0) sc.checked.insert(path);
    return err;
}

int loadChecked(const std::string& path, const CachedFile*& result) {
    struct stat st{};
    if (::stat(path.c_str(), &st) != 0) {
        int err = errno;
        if (err != ENOENT && err != ENOTDIR) {
            cache().erase(path);
            return err;
        }
        CachedFile& entry = entryFor(path);
        entry = CachedFile{};
        result = &entry;
        return 0;
    }
    if (S_ISDIR(st.st_mode)) return EISDIR;
    CachedFile& entry = entryFor(path);
    Stamp stamp = stampOf(st);
    if (entry.exists && entry.stamp == stamp && !entry.racy) {
        result = &entry;
        return 0;
    }
    long long readTime = nowNanos();
    std::string bytes;
    if (int err = readAll(path, bytes)) {
        cache().erase(path);
        return err;
    }
    if (!entry.exists || bytes != entry.bytes) {
        entry.doc = IniDocument(bytes);
        entry.bytes = std::move(bytes);
    }
    entry.exists = true;
    entry.stamp = stamp;
    entry.racy = isRacy(stamp, readTime);
    result = &entry;
    return 0;
}

int writeAll(int fd, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return errno;
        done += static_cast<size_t>(n);
    }
    return 0;
}

// The file a write must replace: a symbolic link is followed, so the link stays.
std::string replaceTarget(const std::string& path) {
    struct stat st{};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
    char* real = ::realpath(path.c_str(), nullptr);
    if (!real) return path;
    std::string target = real;
    std::free(real);
    return target;
}

// Writes the bytes beside the file and renames them over it, so the old file stays
// whole when anything fails. A file whose owner write bit is off is read-only.
int replaceFile(const std::string& path, const std::string& bytes) {
    std::string target = replaceTarget(path);
    struct stat st{};
    bool existed = ::stat(target.c_str(), &st) == 0;
    if (existed && !(st.st_mode & S_IWUSR)) return EACCES;
    if (existed && ::access(target.c_str(), W_OK) != 0) return errno;

    static unsigned counter = 0;
    std::string temp;
    int fd = -1;
    for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
        temp = target + "." + std::to_string(::getpid()) + "." + std::to_string(++counter) + ".tmp";
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) return errno;
    }
    if (fd < 0) return EEXIST;

    int err = writeAll(fd, bytes);
    if (!err && existed && ::fchmod(fd, st.st_mode & 07777) != 0) err = errno;
    if (::close(fd) != 0 && !err) err = errno;
    if (!err && ::rename(temp.c_str(), target.c_str()) != 0) err = errno;
    if (err) ::unlink(temp.c_str());
    return err;
}

bool hasLineBreak(std::string_view s) { return s.find_first_of("\r\n") != std::string_view::npos; }

std::size_t copyBounded(std::string_view src, std::string& out, std::size_t size) {
    if (size == 0) {
        out.clear();
        return 0;
    }
    out.assign(src.substr(0, std::min(src.size(), size - 1)));
    return out.size();
}

std::size_t copyNameList(const std::vector<std::string>& names, std::string& out, std::size_t size) {
    std::string joined;
    for (const auto& n : names) {
        joined += n;
        joined += '\0';
    }
    if (joined.size() + 1 <= size) {
        out = joined + '\0';
        return joined.size();
    }
    if (size < 2) {
        out.assign(size, '\0');
        return 0;
    }
    out = joined.substr(0, size - 2) + std::string(2, '\0');
    return size - 2;
}

const IniDocument* documentOrNull(const std::string& file) {
    const CachedFile* f = nullptr;
    if (file.empty() || load(file, f) != 0) return nullptr;
    return &f->doc;
}

bool hasLineBreak(const std::vector<std::string>& lines) {
    for (const auto& l : lines)
        if (hasLineBreak(l)) return true;
    return false;
}

// Loads the file, lets `edit` change a copy of it and replaces the file when the copy
// changed.
template <class Edit>
WriteResult rewrite(const std::string& file, std::size_t sizeLimit, Edit edit) {
    if (file.empty()) return {ENOENT};
    const CachedFile* current = nullptr;
    // Always against the disk, so that a write never undoes a change made by others.
    if (int err = loadChecked(file, current)) return {err};

    IniDocument doc = current->doc;
    if (!edit(doc)) return {};
    std::string bytes = doc.bytes();
    size_t oldSize = current->exists ? current->bytes.size() : 0;
    if (sizeLimit && oldSize > 0 && bytes.size() > sizeLimit && bytes.size() > oldSize)
        return {EFBIG};
    if (int err = replaceFile(file, bytes)) return {err};

    struct stat st{};
    if (::stat(file.c_str(), &st) != 0) {
        cache().erase(file);
        return {};
    }
    CachedFile& entry = entryFor(file);
    entry.exists = true;
    entry.stamp = stampOf(st);
    entry.racy = isRacy(entry.stamp, nowNanos());
    entry.bytes = std::move(bytes);
    entry.doc = std::move(doc);
    return {};
}

}  // namespace

std::string WriteResult::message() const { return error ? std::strerror(error) : std::string(); }

std::size_t getString(std::string_view section, std::string_view key, std::string_view dflt,
                      std::string& out, std::size_t size, const std::string& file) {
    const IniDocument* doc = documentOrNull(file);
    const std::string* value = doc ? doc->find(section, key) : nullptr;
    return copyBounded(value ? std::string_view(*value) : dflt, out, size);
}

std::size_t getSectionNames(std::string& out, std::size_t size, const std::string& file) {
    const IniDocument* doc = documentOrNull(file);
    return copyNameList(doc ? doc->sectionNames() : std::vector<std::string>{}, out, size);
}

std::size_t getKeyNames(std::string_view section, std::string& out, std::size_t size,
                        const std::string& file) {
    const IniDocument* doc = documentOrNull(file);
    return copyNameList(doc ? doc->keyNames(section) : std::vector<std::string>{}, out, size);
}

std::optional<std::vector<std::string>> sectionLines(std::string_view section,
                                                     const std::string& file) {
    const IniDocument* doc = documentOrNull(file);
    return doc ? doc->lines(section) : std::nullopt;
}

WriteResult writeString(std::string_view section, std::optional<std::string_view> key,
                        std::optional<std::string_view> value, const std::string& file,
                        std::size_t sizeLimit) {
    if (hasLineBreak(section) || (key && hasLineBreak(*key)) || (value && hasLineBreak(*value)))
        return {file.empty() ? ENOENT : EINVAL};
    return rewrite(file, sizeLimit, [&](IniDocument& doc) {
        return !key ? doc.eraseSection(section)
               : !value ? doc.eraseKey(section, *key)
                        : doc.set(section, *key, *value);
    });
}

WriteResult writeSection(std::string_view section, const std::vector<std::string>& lines,
                         const std::string& file) {
    if (hasLineBreak(section) || hasLineBreak(lines)) return {file.empty() ? ENOENT : EINVAL};
    return rewrite(file, 0, [&](IniDocument& doc) { return doc.replaceSection(section, lines); });
}

WriteResult flush(const std::string& file) {
    if (file.empty()) return {ENOENT};
    cache().erase(file);
    scope().checked.erase(file);
    return {};
}

ReadScope::ReadScope() { ++scope().depth; }
ReadScope::~ReadScope() {
    if (--scope().depth == 0) scope().checked.clear();
}

}  // namespace profile

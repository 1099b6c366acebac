#include "platform/sys/file_system.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>

namespace sys {
namespace {

std::string withoutTrailingSlash(std::string p) {
    while (p.size() > 1 && p.back() == '/') p.pop_back();
    return p;
}

std::string baseName(const std::string& path) {
    std::string p = withoutTrailingSlash(path);
    size_t slash = p.rfind('/');
    return slash == std::string::npos ? p : p.substr(slash + 1);
}

}  // namespace

bool listFolder(const std::string& folder, std::vector<DirEntry>& entries) {
    DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
    if (!dir) return false;
    std::string prefix = folder;
    if (!prefix.empty() && prefix.back() != '/') prefix += '/';
    while (dirent* e = readdir(dir)) {
        std::string name = e->d_name;
        if (name == "." || name == "..") continue;
        bool isDir = e->d_type == DT_DIR;
        if (e->d_type == DT_UNKNOWN) {
            struct stat st {};
            isDir = lstat((prefix + name).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
        }
        entries.push_back({std::move(name), isDir});
    }
    closedir(dir);
    return true;
}

int lookUp(const std::string& path, PathKind& kind) {
    kind = PathKind::Missing;
    struct stat st {};
    if (stat(withoutTrailingSlash(path).c_str(), &st) == 0) {
        kind = S_ISDIR(st.st_mode) ? PathKind::Directory : PathKind::File;
        return 0;
    }
    if (errno == ENOENT && !parentMissing(path)) return 0;
    return errno == ENOENT ? ENOTDIR : errno;
}

bool parentMissing(const std::string& path) {
    std::string p = withoutTrailingSlash(path);
    size_t slash = p.rfind('/');
    if (slash == std::string::npos || slash == 0) return false;
    struct stat st {};
    return stat(p.substr(0, slash).c_str(), &st) != 0 || !S_ISDIR(st.st_mode);
}

int attributes(const std::string& path) {
    struct stat st {};
    if (stat(withoutTrailingSlash(path).c_str(), &st) != 0) return -1;
    int attr = 0;
    if (!(st.st_mode & S_IWUSR)) attr |= 1;
    if (baseName(path).rfind('.', 0) == 0 && baseName(path) != "." && baseName(path) != "..") attr |= 2;
    if (S_ISDIR(st.st_mode)) attr |= 16;
    return attr;
}

int setReadOnly(const std::string& path, bool readOnly) {
    std::string p = withoutTrailingSlash(path);
    struct stat st {};
    if (stat(p.c_str(), &st) != 0) return errno;
    mode_t mode = st.st_mode & 07777;
    mode = readOnly ? (mode & ~S_IWUSR) : (mode | S_IWUSR);
    return chmod(p.c_str(), mode) == 0 ? 0 : errno;
}

std::string currentFolder() {
    char buf[PATH_MAX];
    return getcwd(buf, sizeof buf) ? std::string(buf) : std::string();
}

}  // namespace sys

#include "platform/dao/file_lock.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <map>
#include <mutex>
#include <utility>

#include "platform/dao/errors.h"
#include "platform/sys/rt_error.h"

namespace dao::detail {

namespace {

// Far from the bytes SQLite locks itself (from 0x40000000 on), so the two never meet.
constexpr off_t kLockByte = 0x50000000;

using Key = std::pair<unsigned long long, unsigned long long>;

struct Registry {
    std::mutex mutex;
    std::map<Key, std::weak_ptr<FileLock>> locks;
};

// Never destroyed: a database held open in a global (the site's) lets go of its lock
// after this file's statics would be gone.
Registry& registry() {
    static Registry* r = new Registry;
    return *r;
}

// An open-file-description lock: unlike a process lock it is not dropped when some
// other descriptor of the same file is closed, and it never touches SQLite's own.
bool tryLock(int fd, bool write) {
    struct flock fl {};
    fl.l_type = write ? F_WRLCK : F_RDLCK;
    fl.l_whence = SEEK_SET;
    fl.l_start = kLockByte;
    fl.l_len = 1;
    return fcntl(fd, F_OFD_SETLK, &fl) == 0;
}

[[noreturn]] void inUse(const std::string& path) {
    raise(kErrInUseByAnotherCopy,
          "The database " + path + " is in use by another running copy of the program");
}

}  // namespace

std::shared_ptr<FileLock> FileLock::acquire(const std::string& path, bool write) {
    struct stat st {};
    if (stat(path.c_str(), &st) != 0) sys::raiseErrno(errno, path, "dao");
    Key key{st.st_dev, st.st_ino};

    auto& reg = registry();
    std::lock_guard<std::mutex> guard(reg.mutex);
    auto existing = reg.locks[key].lock();
    // A forked child inherits the parent's entry but is another copy of the program.
    if (existing && existing->pid_ == getpid()) {
        if (write && !existing->write_) {
            if (!existing->writable_) raise(kErrReadOnly, "The database " + path + " is read-only");
            if (!tryLock(existing->fd_, true)) inUse(path);
            existing->write_ = true;
        }
        return existing;
    }
    // Opened for writing whenever allowed, so that a later writer can take over the lock.
    bool writable = access(path.c_str(), W_OK) == 0;
    if (write && !writable) raise(kErrReadOnly, "The database " + path + " is read-only");
    int fd = open(path.c_str(), (writable ? O_RDWR : O_RDONLY) | O_CLOEXEC);
    if (fd < 0) sys::raiseErrno(errno, path, "dao");
    if (!tryLock(fd, write)) {
        int err = errno;
        close(fd);
        if (err == EAGAIN || err == EACCES) inUse(path);
        sys::raiseErrno(err, path, "dao");
    }
    std::shared_ptr<FileLock> lock(new FileLock(fd, st.st_dev, st.st_ino, write, writable));
    reg.locks[key] = lock;
    return lock;
}

FileLock::FileLock(int fd, unsigned long long dev, unsigned long long ino, bool write, bool writable)
    : fd_(fd), dev_(dev), ino_(ino), write_(write), writable_(writable), pid_(getpid()) {}

FileLock::~FileLock() {
    auto& reg = registry();
    std::lock_guard<std::mutex> guard(reg.mutex);
    auto it = reg.locks.find(Key{dev_, ino_});
    if (it != reg.locks.end() && it->second.expired() && pid_ == getpid()) reg.locks.erase(it);
    close(fd_);
}

long FileLock::users() const {
    auto& reg = registry();
    std::lock_guard<std::mutex> guard(reg.mutex);
    auto it = reg.locks.find(Key{dev_, ino_});
    return it == reg.locks.end() ? 0 : it->second.use_count();
}

}  // namespace dao::detail


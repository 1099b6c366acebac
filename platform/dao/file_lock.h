#pragma once
// A lock on a database file that tells a second running copy of the program from a
// second connection of this one: all connections of this process share one lock per
// file, and another process asking for a conflicting lock is refused.
#include <memory>
#include <string>
#include <vector>

namespace dao::detail {

struct Connection;

class FileLock {
public:
    // Raises 3197 when another process holds a conflicting lock. Writers take an
    // exclusive lock, read-only users a shared one.
    static std::shared_ptr<FileLock> acquire(const std::string& path, bool write);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    // How many connections of this process hold the lock.
    long users() const;

    // The open connections of this process on the file, so that one about to write
    // can end the others' open reads first.
    std::vector<Connection*> connections;

private:
    FileLock(int fd, unsigned long long dev, unsigned long long ino, bool write, bool writable);
    int fd_;
    unsigned long long dev_, ino_;
    bool write_;
    bool writable_;
    int pid_;
};

}  // namespace dao::detail

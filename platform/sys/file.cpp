#include "platform/sys/file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

#include "platform/sys/rt_error.h"

namespace sys {

File::File(File&& o) noexcept
    : fd_(std::exchange(o.fd_, -1)), path_(std::move(o.path_)), pending_(std::move(o.pending_)),
      eof_(o.eof_) {}

File& File::operator=(File&& o) noexcept {
    if (this != &o) {
        close();
        fd_ = std::exchange(o.fd_, -1);
        path_ = std::move(o.path_);
        pending_ = std::move(o.pending_);
        eof_ = o.eof_;
    }
    return *this;
}

void File::open(const std::string& path, Access access) {
    close();
    int flags = O_CLOEXEC;
    switch (access) {
    case Access::Input: flags |= O_RDONLY; break;
    case Access::Output: flags |= O_WRONLY | O_CREAT | O_TRUNC; break;
    case Access::Append: flags |= O_WRONLY | O_CREAT | O_APPEND; break;
    case Access::Binary: flags |= O_RDWR | O_CREAT; break;
    }
    int fd = ::open(path.c_str(), flags, 0666);
    if (fd < 0 && access == Access::Binary && (errno == EACCES || errno == EROFS))
        fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) raiseErrno(errno, path, "Open");
    struct stat st {};
    if (fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        ::close(fd);
        raiseErrno(EISDIR, path, "Open");
    }
    fd_ = fd;
    path_ = path;
    pending_.clear();
    eof_ = false;
}

void File::close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

long File::length() const {
    struct stat st {};
    if (fstat(fd_, &st) != 0) raiseErrno(errno, path_, "LOF");
    return static_cast<long>(st.st_size);
}

std::string File::readAt(long position, long count) {
    std::string out;
    readAt(position, count, out);
    return out;
}

void File::readAt(long position, long count, std::string& out) {
    out.clear();
    if (count <= 0) return;
    out.resize(static_cast<size_t>(count));
    size_t got = 0;
    while (got < out.size()) {
        ssize_t n = pread(fd_, out.data() + got, out.size() - got, position - 1 + long(got));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) raiseErrno(errno, path_, "Get");
        if (n == 0) break;
        got += size_t(n);
    }
    out.resize(got);
    lseek(fd_, position - 1 + long(got), SEEK_SET);
}

void File::write(std::string_view bytes) {
    while (!bytes.empty()) {
        ssize_t n = ::write(fd_, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) raiseErrno(errno, path_, "Put");
        bytes.remove_prefix(size_t(n));
    }
}

void File::seekEnd() { lseek(fd_, 0, SEEK_END); }

bool File::readLine(std::string& line) {
    line.clear();
    for (;;) {
        size_t brk = pending_.find_first_of("\r\n");
        // A CR at the end of what was read may be the first half of CR LF.
        if (brk != std::string::npos && !(pending_[brk] == '\r' && brk + 1 == pending_.size() && !eof_)) {
            line = pending_.substr(0, brk);
            size_t skip = (pending_[brk] == '\r' && brk + 1 < pending_.size() && pending_[brk + 1] == '\n') ? 2 : 1;
            pending_.erase(0, brk + skip);
            return true;
        }
        if (eof_) {
            if (pending_.empty()) return false;
            line = std::move(pending_);
            pending_.clear();
            return true;
        }
        char buf[65536];
        ssize_t n = ::read(fd_, buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) raiseErrno(errno, path_, "Line Input");
        if (n == 0) eof_ = true;
        pending_.append(buf, size_t(n));
    }
}

}  // namespace sys

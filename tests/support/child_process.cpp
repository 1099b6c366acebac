#include "tests/support/child_process.h"

#include <filesystem>
#include <iostream>

#include <grp.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

namespace testsupport {

pid_t startChild(const std::function<int()>& body, bool asOrdinaryUser) {
    std::cout.flush();
    std::cerr.flush();
    const pid_t pid = ::fork();
    if (pid != 0) return pid;
    int code = 99;
    try {
        if (asOrdinaryUser && !becomeOrdinaryUser()) ::_exit(98);
        code = body();
    } catch (const std::exception& e) {
        std::cerr << "child: " << e.what() << "\n";
    }
    std::cerr.flush();
    ::_exit(code);
}

int waitChild(pid_t pid) {
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) return -1;
    }
    if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
    return WEXITSTATUS(status);
}

int runInChild(const std::function<int()>& body, bool asOrdinaryUser) {
    return waitChild(startChild(body, asOrdinaryUser));
}

bool becomeOrdinaryUser() {
    constexpr uid_t kNobody = 65534;
    if (::geteuid() != 0) return true;
    return ::setgroups(0, nullptr) == 0 && ::setgid(kNobody) == 0 && ::setuid(kNobody) == 0;
}

bool mountSmallDisk(const std::string& folder, long bytes) {
    if (::unshare(CLONE_NEWNS) != 0) return false;
    if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) return false;
    const std::string options = "size=" + std::to_string(bytes);
    return ::mount("tmpfs", folder.c_str(), "tmpfs", 0, options.c_str()) == 0;
}

void openToEveryone(const std::string& path) {
    namespace fs = std::filesystem;
    const auto all = fs::perms::all;
    fs::permissions(path, all, fs::perm_options::add);
    if (!fs::is_directory(path)) return;
    for (const auto& e : fs::recursive_directory_iterator(path))
        fs::permissions(e.path(), all, fs::perm_options::add);
}

}  // namespace testsupport

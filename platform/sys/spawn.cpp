#include "platform/sys/spawn.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <thread>

extern char** environ;

namespace sys {
namespace {

std::vector<char*> cArgs(const std::vector<std::string>& argv) {
    std::vector<char*> out;
    for (const auto& a : argv) out.push_back(const_cast<char*>(a.c_str()));
    out.push_back(nullptr);
    return out;
}

class SystemSpawner : public Spawner {
public:
    int start(const std::vector<std::string>& argv) override {
        if (argv.empty()) return ENOENT;
        pid_t pid = 0;
        auto args = cArgs(argv);
        int err = posix_spawnp(&pid, args[0], nullptr, nullptr, args.data(), environ);
        if (err != 0) return err;
        // Reaped in the background so that started programs leave no zombies.
        std::thread([pid] { waitpid(pid, nullptr, 0); }).detach();
        return 0;
    }

    int run(const std::vector<std::string>& argv, int& exitStatus, std::string* output) override {
        exitStatus = -1;
        if (argv.empty()) return ENOENT;
        int fds[2] = {-1, -1};
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        if (output) {
            if (pipe(fds) != 0) return errno;
            posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
            posix_spawn_file_actions_addclose(&actions, fds[0]);
        }
        pid_t pid = 0;
        auto args = cArgs(argv);
        int err = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        if (output) {
            close(fds[1]);
            if (err == 0) {
                char buf[4096];
                for (ssize_t n; (n = read(fds[0], buf, sizeof buf)) != 0;) {
                    if (n < 0 && errno == EINTR) continue;
                    if (n < 0) break;
                    output->append(buf, size_t(n));
                }
            }
            close(fds[0]);
        }
        if (err != 0) return err;
        int status = 0;
        while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {}
        if (WIFEXITED(status)) exitStatus = WEXITSTATUS(status);
        return 0;
    }
};

SystemSpawner systemSpawner;
Spawner* current = &systemSpawner;

}  // namespace

Spawner& spawner() { return *current; }
void setSpawner(Spawner* s) { current = s ? s : &systemSpawner; }

std::vector<std::string> splitArguments(std::string_view line) {
    std::vector<std::string> out;
    std::string arg;
    bool inQuotes = false, inArg = false;
    for (char c : line) {
        if (c == '"') {
            inQuotes = !inQuotes;
            inArg = true;
        } else if ((c == ' ' || c == '\t') && !inQuotes) {
            if (inArg) out.push_back(std::move(arg));
            arg.clear();
            inArg = false;
        } else {
            arg += c;
            inArg = true;
        }
    }
    if (inArg) out.push_back(std::move(arg));
    return out;
}

std::string defaultPrinter() {
    if (const char* p = std::getenv("PRINTER"); p && *p) return p;
    std::string out;
    int status = -1;
    if (spawner().run({"lpstat", "-d"}, status, &out) != 0 || status != 0) return {};
    // "system default destination: NAME"; other texts mean there is none.
    const std::string marker = "system default destination: ";
    size_t at = out.find(marker);
    if (at == std::string::npos) return {};
    std::string name = out.substr(at + marker.size());
    while (!name.empty() && (name.back() == '\n' || name.back() == '\r' || name.back() == ' '))
        name.pop_back();
    return name;
}

}  // namespace sys

#include "platform/ProcessLauncher.h"

#include <csignal>
#include <cerrno>
#include <thread>

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace pallix {

namespace {

bool IsLaunchable(const std::string& path) {
    struct stat st {};
    if (path.empty() || stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
    return faccessat(AT_FDCWD, path.c_str(), R_OK | X_OK, AT_EACCESS) == 0;
}

// The child outlives nothing of ours, but its exit status must be collected.
void ReapWhenItEnds(pid_t pid) {
    std::thread([pid] {
        while (waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
        }
    }).detach();
}

class SpawnSetup {
public:
    SpawnSetup() {
        posix_spawn_file_actions_init(&files_);
        posix_spawnattr_init(&attr_);
        // Whatever a library left open without close-on-exec stays with us.
        posix_spawn_file_actions_addclosefrom_np(&files_, 3);
        sigset_t none, all;
        sigemptyset(&none);
        sigfillset(&all);
        posix_spawnattr_setsigmask(&attr_, &none);
        posix_spawnattr_setsigdefault(&attr_, &all);
        posix_spawnattr_setflags(&attr_, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF |
                                             POSIX_SPAWN_SETSID);
    }
    ~SpawnSetup() {
        posix_spawnattr_destroy(&attr_);
        posix_spawn_file_actions_destroy(&files_);
    }
    SpawnSetup(const SpawnSetup&) = delete;
    SpawnSetup& operator=(const SpawnSetup&) = delete;

    const posix_spawn_file_actions_t* files() const { return &files_; }
    const posix_spawnattr_t* attr() const { return &attr_; }

private:
    posix_spawn_file_actions_t files_;
    posix_spawnattr_t attr_;
};

}  // namespace

pid_t SpawnProgram(const std::string& path) {
    if (!IsLaunchable(path)) return -1;
    SpawnSetup setup;
    std::string arg0 = path;
    char* argv[] = {arg0.data(), nullptr};
    pid_t pid = -1;
    if (posix_spawn(&pid, path.c_str(), setup.files(), setup.attr(), argv, environ) != 0)
        return -1;
    ReapWhenItEnds(pid);
    return pid;
}

int LaunchProgram(const std::string& path) { return SpawnProgram(path) > 0 ? 1 : 0; }

}  // namespace pallix

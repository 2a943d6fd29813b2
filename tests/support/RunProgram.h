#pragma once
// Runs a program of this build to its end and hands back what it printed.
#include <cerrno>
#include <string>
#include <vector>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace pallix::test {

inline std::string BuiltProgram(const std::string& relative) { return std::string(PALLIX_BUILD_DIR) + "/" + relative; }

// Returns the exit code (-1 when it could not run or did not exit) and fills out with
// its standard output; its errors go to the test's own.
inline int RunProgram(const std::vector<std::string>& argv, std::string* out = nullptr) {
    int pipeFds[2];
    if (pipe(pipeFds) != 0) return -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 1);
    posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
    posix_spawn_file_actions_addclose(&actions, pipeFds[1]);
    std::vector<char*> args;
    for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    pid_t pid = -1;
    const int rc = posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[1]);
    std::string text;
    char buffer[512];
    for (ssize_t n; (n = read(pipeFds[0], buffer, sizeof buffer)) != 0;) {
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) break;
        text.append(buffer, static_cast<std::size_t>(n));
    }
    close(pipeFds[0]);
    int status = 0;
    const bool ran = rc == 0 && waitpid(pid, &status, 0) == pid;
    if (out) *out = text;
    return ran && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// `pallixctl args...` of this build.
inline int RunPallixctl(std::vector<std::string> args, std::string* out = nullptr) {
    args.insert(args.begin(), BuiltProgram("cli/pallixctl"));
    return RunProgram(args, out);
}

}  // namespace pallix::test

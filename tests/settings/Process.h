#pragma once
// Starts test programs as real processes; their output goes to files.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;

namespace pallix::test {

inline pid_t StartProcess(const std::vector<std::string>& args, const std::string& out, const std::string& err) {
    std::vector<char*> argv;
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    pid_t pid = -1;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

// Exit code, or -1 when the process did not end normally.
inline int WaitProcess(pid_t pid) {
    int status = 0;
    if (pid <= 0 || waitpid(pid, &status, 0) != pid) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

inline std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

struct ProcessResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

inline ProcessResult RunProcess(const std::vector<std::string>& args, const std::string& scratchDir) {
    const std::string out = scratchDir + "/process.out", err = scratchDir + "/process.err";
    ProcessResult r;
    r.exitCode = WaitProcess(StartProcess(args, out, err));
    r.out = ReadWholeFile(out);
    r.err = ReadWholeFile(err);
    return r;
}

}  // namespace pallix::test

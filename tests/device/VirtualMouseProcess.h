#pragma once
// A pallix-vmouse process for a test, with its trace and memory file in the test's
// own folder (inside a TempEnv). Stopped with SIGTERM when the object goes.
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include "tests/support/TempEnv.h"

extern char** environ;

namespace pallix::test {

struct TraceLine {
    std::string direction;  // set, get, input
    std::vector<std::uint8_t> bytes;
    bool failed = false;
};

inline std::string BuiltProgram(const std::string& relative) { return std::string(PALLIX_BUILD_DIR) + "/" + relative; }

// Runs a program to its end; returns its exit code (-1 when it could not run).
inline int RunProgram(const std::vector<std::string>& argv, std::string* out = nullptr) {
    std::filesystem::path outFile = std::filesystem::temp_directory_path() /
                                    ("pallix-run-" + std::to_string(getpid()) + "-" + std::to_string(rand()));
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    std::vector<char*> args;
    for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    pid_t pid = -1;
    const int rc = posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    const bool ran = rc == 0 && waitpid(pid, &status, 0) == pid;
    if (out) {
        std::ifstream in(outFile);
        std::stringstream ss;
        ss << in.rdbuf();
        *out = ss.str();
    }
    std::filesystem::remove(outFile);
    return ran && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class VirtualMouseProcess {
public:
    VirtualMouseProcess(const TempEnv& env, std::string name, std::vector<std::string> extra = {})
        : name_(std::move(name)), trace_(env.Root() / (name_ + ".trace")), memory_(env.Root() / (name_ + ".mem")),
          socket_(env.RuntimeDir() / "vhid" / name_) {
        std::vector<std::string> argv{BuiltProgram("tools/vmouse/pallix-vmouse"), "--name", name_, "--trace",
                                      trace_.string(), "--memory", memory_.string(), "--reset-memory"};
        argv.insert(argv.end(), extra.begin(), extra.end());
        std::vector<char*> args;
        for (auto& a : argv) args.push_back(a.data());
        args.push_back(nullptr);
        if (posix_spawn(&pid_, args[0], nullptr, nullptr, args.data(), environ) != 0) pid_ = -1;
        for (int i = 0; i < 500 && pid_ > 0 && !std::filesystem::exists(socket_); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ~VirtualMouseProcess() {
        if (pid_ <= 0) return;
        kill(pid_, SIGTERM);
        int status = 0;
        waitpid(pid_, &status, 0);
    }
    VirtualMouseProcess(const VirtualMouseProcess&) = delete;
    VirtualMouseProcess& operator=(const VirtualMouseProcess&) = delete;

    bool Ready() const { return pid_ > 0 && std::filesystem::exists(socket_); }
    std::string Path() const { return "vhid:" + name_; }

    // `pallix-vmouse --name NAME send WORDS...`; true when the mouse said ok.
    bool Send(const std::vector<std::string>& words) const {
        std::vector<std::string> argv{BuiltProgram("tools/vmouse/pallix-vmouse"), "--name", name_, "send"};
        argv.insert(argv.end(), words.begin(), words.end());
        return RunProgram(argv) == 0;
    }

    std::vector<TraceLine> Trace() const {
        std::vector<TraceLine> lines;
        std::ifstream in(trace_);
        std::string line;
        while (std::getline(in, line)) {
            std::istringstream words(line);
            std::string time, word;
            TraceLine t;
            words >> time >> t.direction;
            while (words >> word) {
                if (word == "fail") t.failed = true;
                else t.bytes.push_back(static_cast<std::uint8_t>(std::stoul(word, nullptr, 16)));
            }
            lines.push_back(std::move(t));
        }
        return lines;
    }
    void ClearTrace() const { std::ofstream(trace_, std::ios::trunc); }

    std::vector<std::uint8_t> Memory() const {
        std::ifstream in(memory_, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

private:
    std::string name_;
    std::filesystem::path trace_, memory_, socket_;
    pid_t pid_ = -1;
};

}  // namespace pallix::test

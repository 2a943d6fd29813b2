#pragma once
// Runs pallix-vmouse as a real process for a test (inside a TempEnv).
#include <array>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace pallix::test {

inline std::string VmouseBinary() { return std::string(PALLIX_BUILD_DIR) + "/tools/vmouse/pallix-vmouse"; }

inline std::filesystem::path VhidFolder() {
    return std::filesystem::path(std::getenv("XDG_RUNTIME_DIR")) / "pallix-ostrel" / "vhid";
}

// Runs a program to its end; returns its exit code and fills output with stdout.
inline int RunProgram(const std::vector<std::string>& argv, std::string* output = nullptr) {
    std::string command;
    for (const auto& a : argv) {
        std::string quoted = "'";
        for (char c : a) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
        command += quoted + "' ";
    }
    command += "2>/dev/null";
    std::FILE* p = popen(command.c_str(), "r");
    if (!p) return -1;
    std::array<char, 512> buf{};
    std::string out;
    while (std::fgets(buf.data(), buf.size(), p)) out += buf.data();
    const int status = pclose(p);
    if (output) *output = out;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class VmouseProcess {
public:
    // Starts `pallix-vmouse --name name extra...` and waits until its device socket
    // is there (unless it starts unplugged).
    explicit VmouseProcess(std::string name, std::vector<std::string> extra = {}) : name_(std::move(name)) {
        std::vector<std::string> args{VmouseBinary(), "--name", name_};
        args.insert(args.end(), extra.begin(), extra.end());
        std::vector<char*> argv;
        for (auto& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        if (posix_spawn(&pid_, argv[0], nullptr, nullptr, argv.data(), environ) != 0) pid_ = -1;
        const bool unplugged = std::find(extra.begin(), extra.end(), "--unplugged") != extra.end();
        if (!unplugged) WaitFor([this] { return std::filesystem::exists(VhidFolder() / name_); });
        else WaitFor([this] { return std::filesystem::exists(ControlSocket()); });
    }
    ~VmouseProcess() { Stop(); }
    VmouseProcess(const VmouseProcess&) = delete;
    VmouseProcess& operator=(const VmouseProcess&) = delete;

    bool Running() const { return pid_ > 0; }
    const std::string& Name() const { return name_; }
    std::string Path() const { return "vhid:" + name_; }
    std::filesystem::path ControlSocket() const {
        return std::filesystem::path(std::getenv("XDG_RUNTIME_DIR")) / "pallix-ostrel" / "vmouse" / (name_ + ".ctl");
    }

    // `pallix-vmouse --name NAME send words...`; returns its stdout ("" on failure).
    std::string Send(const std::vector<std::string>& words) const {
        std::vector<std::string> argv{VmouseBinary(), "--name", name_, "send"};
        argv.insert(argv.end(), words.begin(), words.end());
        std::string out;
        return RunProgram(argv, &out) == 0 ? out : std::string();
    }

    // SIGTERM (or another signal) and wait; returns the exit status.
    int Stop(int signal = SIGTERM) {
        if (pid_ <= 0) return -1;
        kill(pid_, signal);
        int status = 0;
        waitpid(pid_, &status, 0);
        pid_ = -1;
        return status;
    }

    template <typename F>
    static bool WaitFor(F done, std::chrono::milliseconds limit = std::chrono::milliseconds(5000)) {
        const auto end = std::chrono::steady_clock::now() + limit;
        while (!done()) {
            if (std::chrono::steady_clock::now() > end) return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return true;
    }

private:
    std::string name_;
    pid_t pid_ = -1;
};

}  // namespace pallix::test

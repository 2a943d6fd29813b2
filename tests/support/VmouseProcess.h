#pragma once
// Runs pallix-vmouse as a real process for a test (inside a TempEnv); stopped with
// SIGTERM when the object goes.
#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include <spawn.h>
#include <sys/wait.h>

#include "tests/support/RunProgram.h"
#include "tests/support/TempEnv.h"
#include "tests/support/WaitFor.h"

namespace pallix::test {

inline std::string VmouseBinary() { return BuiltProgram("tools/vmouse/pallix-vmouse"); }

inline std::filesystem::path VhidFolder() {
    return std::filesystem::path(std::getenv("XDG_RUNTIME_DIR")) / "pallix-ostrel" / "vhid";
}

struct TraceLine {
    std::string direction;  // set, get, input
    std::vector<std::uint8_t> bytes;
    bool failed = false;
};

// What `send` printed; true when the mouse took the command.
class VmouseReply : public std::string {
public:
    VmouseReply(std::string text, bool ok) : std::string(std::move(text)), ok_(ok) {}
    explicit operator bool() const { return ok_; }

private:
    bool ok_;
};
inline void PrintTo(const VmouseReply& reply, std::ostream* os) { *os << '"' << static_cast<const std::string&>(reply) << '"'; }

class VmouseProcess {
public:
    // `pallix-vmouse --name name extra...`, waited for until its device socket is there
    // (or only its control socket when it starts unplugged).
    explicit VmouseProcess(std::string name, std::vector<std::string> extra = {}) : name_(std::move(name)) {
        Start(std::move(extra));
    }
    // The same with its trace and a fresh memory file in env's folder.
    VmouseProcess(const TempEnv& env, std::string name, std::vector<std::string> extra = {})
        : name_(std::move(name)), trace_(env.Root() / (name_ + ".trace")), memory_(env.Root() / (name_ + ".mem")) {
        extra.insert(extra.begin(), {"--trace", trace_.string(), "--memory", memory_.string(), "--reset-memory"});
        Start(std::move(extra));
    }
    ~VmouseProcess() { Stop(); }
    VmouseProcess(const VmouseProcess&) = delete;
    VmouseProcess& operator=(const VmouseProcess&) = delete;

    bool Running() const { return pid_ > 0; }
    bool Ready() const { return Running() && std::filesystem::exists(VhidFolder() / name_); }
    const std::string& Name() const { return name_; }
    std::string Path() const { return "vhid:" + name_; }
    std::filesystem::path ControlSocket() const {
        return std::filesystem::path(std::getenv("XDG_RUNTIME_DIR")) / "pallix-ostrel" / "vmouse" / (name_ + ".ctl");
    }

    // `pallix-vmouse --name NAME send words...`: its output, "" when it failed.
    VmouseReply Send(const std::vector<std::string>& words) const {
        std::vector<std::string> argv{VmouseBinary(), "--name", name_, "send"};
        argv.insert(argv.end(), words.begin(), words.end());
        std::string out;
        const bool ok = RunProgram(argv, &out) == 0;
        return {ok ? out : std::string(), ok};
    }

    // SIGTERM (or another signal) and wait; returns the wait status.
    int Stop(int signal = SIGTERM) {
        if (pid_ <= 0) return -1;
        kill(pid_, signal);
        int status = 0;
        waitpid(pid_, &status, 0);
        pid_ = -1;
        return status;
    }

    // Only for a mouse started with a TempEnv.
    std::vector<TraceLine> Trace() const {
        std::vector<TraceLine> lines;
        std::ifstream in(trace_);
        for (std::string line; std::getline(in, line);) {
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
    void Start(std::vector<std::string> extra) {
        const bool unplugged = std::find(extra.begin(), extra.end(), "--unplugged") != extra.end();
        std::vector<std::string> args{VmouseBinary(), "--name", name_};
        args.insert(args.end(), extra.begin(), extra.end());
        std::vector<char*> argv;
        for (auto& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        if (posix_spawn(&pid_, argv[0], nullptr, nullptr, argv.data(), environ) != 0) pid_ = -1;
        if (pid_ <= 0) return;
        constexpr std::chrono::seconds kStartLimit{5};
        if (unplugged) WaitFor([this] { return std::filesystem::exists(ControlSocket()); }, kStartLimit);
        else WaitFor([this] { return std::filesystem::exists(VhidFolder() / name_); }, kStartLimit);
    }

    std::string name_;
    std::filesystem::path trace_, memory_;
    pid_t pid_ = -1;
};

}  // namespace pallix::test

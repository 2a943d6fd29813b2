#pragma once
// For the tests inside the kernel-test VM: the virtual mouse as a USB gadget on
// dummy_hcd (pallix-vmouse --usb-gadget, plugged through its UDC), the hidraw nodes
// the kernel made of it, and the programs under test (this build's, or those of the
// build named by PALLIX_KERNEL_PROGRAMS).
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <csignal>
#include <fcntl.h>
#include <unistd.h>
#include <spawn.h>
#include <sys/wait.h>

#include "tests/support/RunProgram.h"
#include "tests/support/TempEnv.h"
#include "tests/support/VmouseProcess.h"
#include "tests/support/WaitFor.h"

namespace pallix::test {

inline std::string ProgramUnderTest(const std::string& relative) {
    const char* dir = std::getenv("PALLIX_KERNEL_PROGRAMS");
    return dir && *dir ? std::string(dir) + "/" + relative : BuiltProgram(relative);
}

// The /dev/hidrawN nodes of the mouse, in name order.
inline std::vector<std::string> MouseNodes() {
    std::vector<std::string> nodes;
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator("/sys/class/hidraw", ec)) {
        std::ifstream uevent(e.path() / "device" / "uevent");
        for (std::string line; std::getline(uevent, line);)
            if (line == "HID_ID=0003:00001209:00000001" && std::filesystem::exists("/dev/" + e.path().filename().string()))
                nodes.push_back("/dev/" + e.path().filename().string());
    }
    std::sort(nodes.begin(), nodes.end());
    return nodes;
}

// Lines of text that contain needle.
inline int CountLines(const std::string& text, const std::string& needle) {
    int n = 0;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) n += line.find(needle) != std::string::npos;
    return n;
}

// The mouse's evdev nodes, as a desktop's input stack holds them open. Opening a
// hidraw node of an interface nobody has open costs usbhid 50 ms (it lets stale
// reports drain); a desktop never pays that, and a test opening per report would.
inline std::vector<std::string> InputNodesOf(const std::vector<std::string>& hidrawNodes) {
    std::vector<std::string> out;
    std::error_code ec;
    for (const auto& node : hidrawNodes) {
        const auto inputs = std::filesystem::path("/sys/class/hidraw") / std::filesystem::path(node).filename() / "device" / "input";
        for (const auto& input : std::filesystem::directory_iterator(inputs, ec))
            for (const auto& e : std::filesystem::directory_iterator(input.path(), ec))
                if (e.path().filename().string().rfind("event", 0) == 0) out.push_back("/dev/input/" + e.path().filename().string());
    }
    return out;
}

class GadgetMouse {
public:
    explicit GadgetMouse(const TempEnv& env)
        : process_(env, "kmouse", {"--usb-gadget", FfsDir(), "--unplugged"}) {}
    ~GadgetMouse() {
        process_.Stop();  // a device program that ends pulls the plug
        WaitFor([] { return MouseNodes().empty(); }, std::chrono::seconds(10));
        ReleaseInput();
    }
    GadgetMouse(const GadgetMouse&) = delete;
    GadgetMouse& operator=(const GadgetMouse&) = delete;

    // Binds the UDC and waits until usbhid has made both nodes.
    bool Plug() {
        if (!process_.Send({"plug"}) || !WaitFor([] { return MouseNodes().size() == 2; }, std::chrono::seconds(30)))
            return false;
        const auto inputs = InputNodesOf(MouseNodes());
        WaitFor([&] { return std::all_of(inputs.begin(), inputs.end(), [](const auto& n) { return std::filesystem::exists(n); }); },
                std::chrono::seconds(5));
        for (const auto& node : inputs) {
            const int fd = open(node.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
            if (fd >= 0) inputFds_.push_back(fd);
        }
        return true;
    }
    bool Unplug() {
        const bool gone = process_.Send({"unplug"}) && WaitFor([] { return MouseNodes().empty(); }, std::chrono::seconds(10));
        ReleaseInput();
        return gone;
    }
    VmouseProcess& Process() { return process_; }
    VmouseReply Send(const std::vector<std::string>& words) { return process_.Send(words); }

    static std::string FfsDir() {
        const char* dir = std::getenv("PALLIX_KERNEL_FFS");
        return dir && *dir ? dir : "/dev/ffs-mouse";
    }

private:
    void ReleaseInput() {
        for (int fd : inputFds_) close(fd);
        inputFds_.clear();
    }

    VmouseProcess process_;
    std::vector<int> inputFds_;
};

// A program under test as a process with extra environment, ended with SIGTERM.
class ProgramProcess {
public:
    ProgramProcess(const std::vector<std::string>& argv, const std::vector<std::string>& env = {}) {
        std::vector<std::string> environment = env;
        for (char** e = environ; *e; ++e) environment.emplace_back(*e);
        std::vector<char*> rawArgs, rawEnv;
        for (const auto& a : argv) rawArgs.push_back(const_cast<char*>(a.c_str()));
        for (const auto& e : environment) rawEnv.push_back(const_cast<char*>(e.c_str()));
        rawArgs.push_back(nullptr);
        rawEnv.push_back(nullptr);
        if (posix_spawn(&pid_, rawArgs[0], nullptr, nullptr, rawArgs.data(), rawEnv.data()) != 0) pid_ = -1;
    }
    ~ProgramProcess() {
        if (pid_ <= 0) return;
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
    }
    ProgramProcess(const ProgramProcess&) = delete;
    ProgramProcess& operator=(const ProgramProcess&) = delete;

    pid_t Pid() const { return pid_; }
    bool Alive() const { return pid_ > 0 && waitpid(pid_, nullptr, WNOHANG) == 0; }
    // The nodes the process has open.
    std::vector<std::string> OpenNodes() const {
        std::vector<std::string> out;
        std::error_code ec;
        for (const auto& fd : std::filesystem::directory_iterator("/proc/" + std::to_string(pid_) + "/fd", ec)) {
            const auto target = std::filesystem::read_symlink(fd.path(), ec).string();
            if (target.rfind("/dev/hidraw", 0) == 0) out.push_back(target);
        }
        std::sort(out.begin(), out.end());
        out.erase(std::unique(out.begin(), out.end()), out.end());
        return out;
    }

private:
    pid_t pid_ = -1;
};

}  // namespace pallix::test

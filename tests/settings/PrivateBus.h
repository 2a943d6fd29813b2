#pragma once
// A private D-Bus session bus (the real dbus-daemon) for one test, and helpers to
// wait for what a process prints.
#include <csignal>
#include <string>
#include <thread>

#include <unistd.h>

#include "tests/settings/Process.h"

namespace pallix::test {

// Waits up to 2 s for the file to contain text; the file's contents.
inline std::string WaitForText(const std::string& file, const std::string& text) {
    std::string got;
    for (int i = 0; i < 200; ++i) {
        got = ReadWholeFile(file);
        if (got.find(text) != std::string::npos) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return got;
}

class PrivateBus {
public:
    // dir: where the daemon's output goes.
    explicit PrivateBus(const std::string& dir) {
        pid_ = StartProcess({"/usr/bin/dbus-daemon", "--session", "--nofork", "--print-address=1"}, dir + "/bus.out",
                            dir + "/bus.err");
        address_ = WaitForText(dir + "/bus.out", "\n");
        const auto nl = address_.find('\n');
        address_ = nl == std::string::npos ? std::string() : address_.substr(0, nl);
    }
    ~PrivateBus() {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            WaitProcess(pid_);
        }
    }
    PrivateBus(const PrivateBus&) = delete;
    PrivateBus& operator=(const PrivateBus&) = delete;

    static bool Available() { return access("/usr/bin/dbus-daemon", X_OK) == 0; }
    // Empty when the daemon did not start.
    const std::string& Address() const { return address_; }

private:
    pid_t pid_ = -1;
    std::string address_;
};

}  // namespace pallix::test

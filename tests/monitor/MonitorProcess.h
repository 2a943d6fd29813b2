#pragma once
// The monitor as a real process for a test (inside a TempEnv), and a test-owned
// mailbox that asks its display what it shows.
#include <chrono>
#include <csignal>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include "common/Posting.h"
#include "osd/OsdQuery.h"
#include "platform/Mailbox.h"
#include "platform/MailboxPoster.h"
#include "platform/SqliteSettingsStore.h"

extern char** environ;

namespace pallix::test {

inline std::string MonitorBinary() { return std::string(PALLIX_BUILD_DIR) + "/monitor/Qx7Monitor"; }
inline std::string FakePallixBinary() { return std::string(PALLIX_BUILD_DIR) + "/tests/monitor/fake-pallix"; }

template <typename F>
bool Eventually(F done, std::chrono::milliseconds limit = std::chrono::milliseconds(5000)) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

class MonitorProcess {
public:
    // errorsTo: a file that takes the monitor's standard error (default: the test's).
    // binary: another copy of the monitor (default: this build's).
    explicit MonitorProcess(std::vector<std::string> args = {"/Automation"}, const std::string& errorsTo = {},
                            const std::string& binary = MonitorBinary()) {
        std::vector<std::string> argv{binary};
        argv.insert(argv.end(), args.begin(), args.end());
        std::vector<char*> raw;
        for (auto& a : argv) raw.push_back(a.data());
        raw.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        if (!errorsTo.empty())
            posix_spawn_file_actions_addopen(&actions, 2, errorsTo.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (posix_spawn(&pid_, raw[0], &actions, nullptr, raw.data(), environ) != 0) pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
    }
    ~MonitorProcess() {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
        }
    }
    MonitorProcess(const MonitorProcess&) = delete;
    MonitorProcess& operator=(const MonitorProcess&) = delete;

    pid_t Pid() const { return pid_; }
    // User and system time used so far, in clock ticks; -1 when it cannot be read.
    long CpuTicks() const {
        std::ifstream in("/proc/" + std::to_string(pid_) + "/stat");
        std::string line;
        if (pid_ <= 0 || !std::getline(in, line)) return -1;
        std::istringstream fields(line.substr(line.rfind(')') + 2));
        std::string field;
        long utime = 0, stime = 0;
        for (int i = 3; i <= 15 && fields >> field; ++i) {
            if (i == 14) utime = std::stol(field);
            if (i == 15) stime = std::stol(field);
        }
        return utime + stime;
    }
    void Signal(int signal) const {
        if (pid_ > 0) kill(pid_, signal);
    }
    // The exit code once the process has ended within the limit; nullopt otherwise.
    std::optional<int> WaitExit(std::chrono::milliseconds limit = std::chrono::milliseconds(5000)) {
        std::optional<int> code;
        Eventually(
            [&] {
                int status = 0;
                if (pid_ <= 0 || waitpid(pid_, &status, WNOHANG) != pid_) return false;
                pid_ = -1;
                code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
                return true;
            },
            limit);
        return code;
    }

private:
    pid_t pid_ = -1;
};

// Asks the display published as "OSD Handle" for its state.
class OsdProbe {
public:
    std::optional<Qx7OsdState> Query(SettingsStore& store, std::chrono::milliseconds limit = std::chrono::milliseconds(3000)) {
        while (mailbox_.Receive()) {
        }
        if (PostToLiveWindow(store, poster_, kOsdHandle, {osd::kOsdQueryState, mailbox_.Handle(), 0}) !=
            PostResult::Posted)
            return std::nullopt;
        std::optional<Qx7OsdState> state;
        bool complete = false;
        Eventually(
            [&] {
                while (auto m = mailbox_.Receive()) {
                    if (m->message == osd::kOsdStateReply) state = osd::UnpackState(m->wParam, m->lParam);
                    if (m->message == osd::kOsdShownReply && state) {
                        state->shownAtMs = m->wParam;
                        state->shownCount = m->lParam;
                        complete = true;
                        return true;
                    }
                }
                return false;
            },
            limit);
        return complete ? state : std::nullopt;
    }

    // Waits until the display's state satisfies pred; the last state seen.
    template <typename P>
    std::optional<Qx7OsdState> WaitFor(SettingsStore& store, P pred,
                                      std::chrono::milliseconds limit = std::chrono::milliseconds(3000)) {
        std::optional<Qx7OsdState> last;
        Eventually(
            [&] {
                last = Query(store);
                return last && pred(*last);
            },
            limit);
        return last;
    }

private:
    Mailbox mailbox_;
    MailboxPoster poster_;
};

}  // namespace pallix::test

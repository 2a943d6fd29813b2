// The monitor against pallix-vmouse, in a private runtime and settings folder:
//  - latency from the event report leaving the virtual mouse to the display shown,
//  - resident memory of the monitor with the display library loaded,
//  - wake-ups of the idle monitor over 10 s (context switches of all its threads).
// Run under Xvfb for realistic figures: xvfb-run -a build/bench/monitor/bench_monitor
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <dirent.h>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "osd/OsdQuery.h"
#include "platform/SeqPacketSocket.h"
#include "platform/VirtualHidBackend.h"
#include "tests/monitor/MonitorProcess.h"
#include "tests/support/VmouseProcess.h"
#include "tests/support/TempEnv.h"

using namespace pallix;
using namespace std::chrono_literals;

namespace {

double MonotonicMsExact() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<double>(ts.tv_sec) * 1000.0 + static_cast<double>(ts.tv_nsec) / 1e6;
}

// Sends one control command to the virtual mouse; true when it answered ok.
bool Control(const std::string& name, const std::string& words) {
    int fd = ConnectSeqPacket(VirtualMouseStateDir() + "/" + name + ".ctl");
    if (fd < 0) return false;
    const bool sent = SendPacket(fd, {reinterpret_cast<const std::uint8_t*>(words.data()), words.size()});
    std::uint8_t reply[512];
    const RecvResult r = sent ? RecvPacket(fd, reply, sizeof reply, 5000) : RecvResult{};
    CloseFd(fd);
    return r.status == RecvStatus::kOk && r.size >= 2 && reply[0] == 'o' && reply[1] == 'k';
}

long StatusField(pid_t pid, const std::string& field) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(in, line))
        if (line.rfind(field + ":", 0) == 0) return std::stol(line.substr(field.size() + 1));
    return -1;
}

// Voluntary plus involuntary context switches of every thread of the process.
long ContextSwitches(pid_t pid, int* threads) {
    const std::string base = "/proc/" + std::to_string(pid) + "/task";
    DIR* dir = opendir(base.c_str());
    long total = 0;
    int count = 0;
    while (dir) {
        const dirent* e = readdir(dir);
        if (!e) break;
        if (e->d_name[0] == '.') continue;
        std::ifstream in(base + "/" + e->d_name + "/status");
        std::string line;
        while (std::getline(in, line))
            if (line.find("ctxt_switches:") != std::string::npos) total += std::stol(line.substr(line.find(':') + 1));
        ++count;
    }
    if (dir) closedir(dir);
    if (threads) *threads = count;
    return total;
}

}  // namespace

int main() {
    test::TempEnv env;
    setenv("PALLIX_HID_BACKENDS", "virtual", 1);
    SqliteSettingsStore store;
    test::VmouseProcess mouse("bench");
    test::MonitorProcess monitor;
    test::OsdProbe probe;
    if (!probe.WaitFor(store, [](const Qx7OsdState&) { return true; }, 10000ms)) {
        std::fprintf(stderr, "the monitor's display did not answer\n");
        return 1;
    }

    constexpr int kRounds = 60;
    std::vector<double> latencies;
    unsigned shown = probe.Query(store)->shownCount;
    for (int i = 0; i < kRounds; ++i) {
        const double t0 = MonotonicMsExact();
        const unsigned t0ms = static_cast<unsigned>(static_cast<unsigned long long>(t0));
        if (!Control("bench", i % 2 ? "lock off" : "lock on")) return 1;
        auto s = probe.WaitFor(store, [&](const Qx7OsdState& st) { return st.shownCount > shown; }, 2000ms);
        if (!s) {
            std::fprintf(stderr, "round %d: nothing shown\n", i);
            return 1;
        }
        shown = s->shownCount;
        // The display records when it was shown; its clock is ours (CLOCK_MONOTONIC).
        latencies.push_back(static_cast<double>(static_cast<int>(s->shownAtMs - t0ms)) + (t0ms - t0));
        std::this_thread::sleep_for(20ms);
    }
    std::sort(latencies.begin(), latencies.end());
    auto at = [&](double q) { return latencies[static_cast<std::size_t>(q * (latencies.size() - 1))]; };
    std::printf("event report -> display shown (%d rounds, lock on/off, ms resolution):\n", kRounds);
    std::printf("  min %.1f ms, median %.1f ms, p95 %.1f ms, max %.1f ms (goal: under 30 ms)\n", at(0), at(0.5),
                at(0.95), at(1));

    std::this_thread::sleep_for(3500ms);  // the last picture hides
    std::printf("resident memory of Qx7Monitor with libQx7Osd.so: %ld kB (peak %ld kB; goal: under 40 MB)\n",
                StatusField(monitor.Pid(), "VmRSS"), StatusField(monitor.Pid(), "VmHWM"));

    int threads = 0;
    const long before = ContextSwitches(monitor.Pid(), &threads);
    std::this_thread::sleep_for(10s);
    const long after = ContextSwitches(monitor.Pid(), nullptr);
    std::printf("idle for 10 s: %ld context switches over %d threads (goal: no periodic wake-ups)\n", after - before,
                threads);
    return 0;
}

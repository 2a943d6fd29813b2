// Times `pallixctl show` (the paced 267-byte load) against a virtual mouse without
// and with 1 ms latency per report, against the floor of 267 steps x 10 ms, and
// counts the reports per byte read and per byte written from the mouse's trace.
//   build/bench/device/device_show_bench [RUNS]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>

#include "device/TransferLists.h"
#include "tests/support/VmouseProcess.h"

namespace {

using namespace pallix::test;
using Clock = std::chrono::steady_clock;

constexpr double kFloorMs = pallix::kLoadListSize * 10.0;

int Ctl(const std::vector<std::string>& args) {
    std::string out;
    return RunPallixctl(args, &out);
}

int CountSets(const std::vector<TraceLine>& trace, std::uint8_t command) {
    int n = 0;
    for (const auto& t : trace) n += t.direction == "set" && t.bytes.size() > 1 && t.bytes[1] == command;
    return n;
}
int CountGets(const std::vector<TraceLine>& trace) {
    int n = 0;
    for (const auto& t : trace) n += t.direction == "get";
    return n;
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    TempEnv env;
    setenv("PALLIX_HID_BACKENDS", "virtual", 1);
    std::printf("pacing floor: %d steps x 10 ms = %.0f ms\n", pallix::kLoadListSize, kFloorMs);

    for (int latency : {0, 1}) {
        VmouseProcess vmouse(env, "bench" + std::to_string(latency), {"--latency-ms", std::to_string(latency)});
        if (!vmouse.Ready()) {
            std::fprintf(stderr, "pallix-vmouse did not start\n");
            return 1;
        }
        double best = 1e9, total = 0;
        for (int i = 0; i < runs; ++i) {
            vmouse.ClearTrace();
            const auto start = Clock::now();
            if (Ctl({"show", "--device", vmouse.Path()}) != 0) {
                std::fprintf(stderr, "pallixctl show failed\n");
                return 1;
            }
            const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
            best = std::min(best, ms);
            total += ms;
        }
        const auto trace = vmouse.Trace();
        const int reads = CountSets(trace, 0xDF);
        std::printf("show, %d ms per report: best %.0f ms, mean %.0f ms over %d runs (%+.1f%% / %+.1f%% vs floor); "
                    "load reports %zu, read reports per byte %.2f\n",
                    latency, best, total / runs, runs, 100 * (best / kFloorMs - 1), 100 * (total / runs / kFloorMs - 1),
                    trace.size(), reads ? double(reads + CountGets(trace)) / reads : 0.0);

        vmouse.ClearTrace();
        if (Ctl({"set-dpi", "1", "1", "1600", "--device", vmouse.Path(), "--quiet"}) != 0) return 1;
        const auto apply = vmouse.Trace();
        const int written = CountSets(apply, 0xDE);
        std::set<int> addresses;
        for (const auto& t : apply)
            if (t.direction == "set" && t.bytes.size() > 4 && t.bytes[1] == 0xDE) addresses.insert(t.bytes[2] | t.bytes[4] << 8);
        std::printf("set-dpi: %zu byte(s) written with %d write report(s): %.2f per byte\n", addresses.size(), written,
                    addresses.empty() ? 0.0 : double(written) / double(addresses.size()));
    }
    return 0;
}

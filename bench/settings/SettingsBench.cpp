// Time of single settings-store operations, and of the monitor's relay of one
// device event (three handle reads, two liveness probes, two posts to live
// mailboxes), on a store in a private folder.
// Run: build/bench/settings/settings_bench
#include <benchmark/benchmark.h>

#include <chrono>

#include "common/Posting.h"
#include "platform/Mailbox.h"
#include "platform/MailboxPoster.h"
#include "platform/SqliteSettingsStore.h"
#include "tests/support/TempEnv.h"

namespace {

using namespace pallix;

void BM_ReadDword(benchmark::State& state) {
    test::TempEnv env;
    SqliteSettingsStore store;
    store.WriteDword("OSD Handle", 0x12345678);
    for (auto _ : state) benchmark::DoNotOptimize(store.ReadDword("OSD Handle"));
}
BENCHMARK(BM_ReadDword)->Repetitions(5)->ReportAggregatesOnly(true)->Unit(benchmark::kMicrosecond);

// The same while another store object (as another process would) writes between
// reads, so every read meets a changed log.
void BM_ReadDwordAfterForeignWrite(benchmark::State& state) {
    test::TempEnv env;
    SqliteSettingsStore store, other;
    store.WriteDword("OSD Handle", 0x12345678);
    std::uint32_t v = 0;
    for (auto _ : state) {
        state.PauseTiming();
        other.WriteDword("Monitor Handle", ++v);
        state.ResumeTiming();
        benchmark::DoNotOptimize(store.ReadDword("OSD Handle"));
    }
}
BENCHMARK(BM_ReadDwordAfterForeignWrite)->Repetitions(5)->ReportAggregatesOnly(true)->Unit(benchmark::kMicrosecond);

void BM_ReadString(benchmark::State& state) {
    test::TempEnv env;
    SqliteSettingsStore store;
    store.WriteString("PF0T1 AP", "/usr/bin/some-application");
    std::string text;
    for (auto _ : state) benchmark::DoNotOptimize(store.ReadString("PF0T1 AP", text));
}
BENCHMARK(BM_ReadString)->Repetitions(5)->ReportAggregatesOnly(true)->Unit(benchmark::kMicrosecond);

void BM_WriteDword(benchmark::State& state) {
    test::TempEnv env;
    SqliteSettingsStore store;
    std::uint32_t v = 0;
    for (auto _ : state) benchmark::DoNotOptimize(store.WriteDword("OSD Handle", ++v));
}
BENCHMARK(BM_WriteDword)->Repetitions(5)->ReportAggregatesOnly(true)->Unit(benchmark::kMicrosecond);

// The monitor's relay with the macro editor and the display both open. Only the
// relay is timed; the receivers are drained after it so that no post meets a
// full queue.
void BM_RelayDeviceEvent(benchmark::State& state) {
    test::TempEnv env;
    SqliteSettingsStore store;
    Mailbox dialog, osd;
    MailboxPoster poster;
    store.WriteDword(kCurrentDialog, 2);
    PublishHandle(store, kMacroEditHandle, dialog.Handle());
    PublishHandle(store, kOsdHandle, osd.Handle());
    std::int64_t notPosted = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const RelayResult r = RelayDeviceEvent(store, poster, 0, 0x91);
        const auto end = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
        notPosted += (r.dialog != PostResult::Posted) + (r.osd != PostResult::Posted);
        while (dialog.Receive()) {
        }
        while (osd.Receive()) {
        }
    }
    state.counters["not_posted"] = static_cast<double>(notPosted);
}
BENCHMARK(BM_RelayDeviceEvent)->UseManualTime()->Repetitions(5)->ReportAggregatesOnly(true)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();

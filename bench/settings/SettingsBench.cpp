// Time of single settings-store operations, each opening and closing the database.
#include <benchmark/benchmark.h>

#include "platform/SqliteSettingsStore.h"
#include "tests/support/TempEnv.h"

namespace {

void BM_ReadDword(benchmark::State& state) {
    pallix::test::TempEnv env;
    pallix::SqliteSettingsStore store;
    store.WriteDword("OSD Handle", 0x12345678);
    for (auto _ : state) benchmark::DoNotOptimize(store.ReadDword("OSD Handle"));
}
BENCHMARK(BM_ReadDword)->Repetitions(5)->ReportAggregatesOnly(true)->Unit(benchmark::kMicrosecond);

void BM_ReadString(benchmark::State& state) {
    pallix::test::TempEnv env;
    pallix::SqliteSettingsStore store;
    store.WriteString("PF0T1 AP", "/usr/bin/some-application");
    std::string text;
    for (auto _ : state) benchmark::DoNotOptimize(store.ReadString("PF0T1 AP", text));
}
BENCHMARK(BM_ReadString)->Repetitions(5)->ReportAggregatesOnly(true)->Unit(benchmark::kMicrosecond);

void BM_WriteDword(benchmark::State& state) {
    pallix::test::TempEnv env;
    pallix::SqliteSettingsStore store;
    std::uint32_t v = 0;
    for (auto _ : state) benchmark::DoNotOptimize(store.WriteDword("OSD Handle", ++v));
}
BENCHMARK(BM_WriteDword)->Repetitions(5)->ReportAggregatesOnly(true)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();

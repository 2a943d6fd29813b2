// Decoding a full 256-byte script into lines and encoding it back: the work the
// editor does when a macro is selected and saved. Goal: under 50 us.
#include <benchmark/benchmark.h>

#include "macro/LineList.h"
#include "macro/ScriptUpload.h"
#include "tests/macro/SampleScripts.h"

namespace {

using namespace pallix::macro;

// Rows go nowhere; the list's own work is what is measured.
class NullView : public ILineListView {
public:
    bool InsertRow(int, const RowTexts&) override { return true; }
    void SetRow(int, const RowTexts&) override {}
    void DeleteRow(int) override {}
    void DeleteAllRows() override {}
    void SetRowSelected(int, bool) override {}
    void ScrollIntoView(int) override {}
};

void DecodeEncode(benchmark::State& state, const std::vector<std::uint8_t>& script) {
    NullView view;
    CSkinLVCmdList lines(&view);
    for (auto _ : state) {
        lines.Decode(script);
        auto bytes = lines.EncodeScript();
        benchmark::DoNotOptimize(bytes.data());
    }
}

void BM_DecodeEncodeEveryKind(benchmark::State& state) { DecodeEncode(state, pallix::macro::test::EveryKindScript(256)); }
BENCHMARK(BM_DecodeEncodeEveryKind);

// The longest list a slot allows: 256 one-byte lines.
void BM_DecodeEncode256Keys(benchmark::State& state) {
    std::vector<std::uint8_t> script(256);
    for (std::size_t i = 0; i < script.size(); ++i) script[i] = static_cast<std::uint8_t>(0x04 + i % 0x74);
    DecodeEncode(state, script);
}
BENCHMARK(BM_DecodeEncode256Keys);

// 64 Goto lines, each resolved against the whole list.
void BM_DecodeEncode64Jumps(benchmark::State& state) {
    std::vector<std::uint8_t> script;
    for (int i = 0; i < 64; ++i) {
        const int target = (i * 4 + 128) % 256;
        script.insert(script.end(), {0x83, 0x02, static_cast<std::uint8_t>(target), 0x00});
    }
    DecodeEncode(state, script);
}
BENCHMARK(BM_DecodeEncode64Jumps);

void BM_ExpandCommands(benchmark::State& state) {
    const auto script = pallix::macro::test::EveryKindScript(256);
    for (auto _ : state) {
        UploadBytes upload = UploadBytesOf(script);
        benchmark::DoNotOptimize(upload.bytes.data());
    }
}
BENCHMARK(BM_ExpandCommands);

}  // namespace

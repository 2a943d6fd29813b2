// libFuzzer target: any bytes as a script, then edits chosen by the same bytes.
// Aborts when the list breaks one of its rules.
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "macro/LineList.h"
#include "macro/ScriptUpload.h"

namespace {

using namespace pallix::macro;

#define FUZZ_CHECK(condition) \
    do {                      \
        if (!(condition)) std::abort(); \
    } while (0)

// Rows kept by count only: every call must name a row that exists.
class CountingView : public ILineListView {
public:
    bool InsertRow(int row, const RowTexts&) override {
        FUZZ_CHECK(row >= 0 && row <= rows);
        ++rows;
        return true;
    }
    void SetRow(int row, const RowTexts&) override { FUZZ_CHECK(row >= 0 && row < rows); }
    void DeleteRow(int row) override {
        FUZZ_CHECK(row >= 0 && row < rows);
        --rows;
    }
    void DeleteAllRows() override { rows = 0; }
    void SetRowSelected(int row, bool) override { FUZZ_CHECK(row >= 0 && row < rows); }
    void ScrollIntoView(int row) override { FUZZ_CHECK(row >= 0 && row < rows); }
    int rows = 0;
};

void CheckInvariants(const CSkinLVCmdList& lines, const CountingView& view) {
    FUZZ_CHECK(view.rows == lines.Count());
    int sum = 0;
    for (int i = 0; i < lines.Count(); ++i) sum += lines.Line(i).byteLength;
    FUZZ_CHECK(sum == lines.UsedBytes());
    FUZZ_CHECK(lines.UsedBytes() <= lines.Capacity());
    FUZZ_CHECK(static_cast<int>(lines.EncodeScript().size()) == lines.UsedBytes());
    FUZZ_CHECK(lines.Jumps().size() <= static_cast<std::size_t>(CSkinLVCmdList::kMaxJumps));
    for (const JumpReference& ref : lines.Jumps()) {
        FUZZ_CHECK(ref.sourceLine >= 0 && ref.sourceLine < lines.Count());
        FUZZ_CHECK(ref.targetLine >= -1 && ref.targetLine < lines.Count());
        FUZZ_CHECK(ref.targetOffset >= 0 && ref.targetOffset < kScriptCapacity);
        FUZZ_CHECK(ref.targetLine == lines.TargetLineOf(ref.targetOffset));
        FUZZ_CHECK(TargetOffsetOf(lines.Line(ref.sourceLine).instruction) == ref.targetOffset);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> input(data, size);
    CountingView view;
    CSkinLVCmdList lines(&view);
    lines.Decode(input);
    CheckInvariants(lines, view);

    // Encoding what was decoded is stable: a second pass changes nothing.
    const std::vector<std::uint8_t> once = lines.EncodeScript();
    CSkinLVCmdList again;
    again.Decode(once);
    FUZZ_CHECK(again.EncodeScript() == once);

    std::vector<std::uint8_t> upload = once;
    ExpandCommands(upload);
    FUZZ_CHECK(upload.size() == once.size());

    // The first bytes also drive a few edits.
    for (std::size_t i = 0; i + 1 < size && i < 64 && lines.Count() > 0; i += 2) {
        const int line = data[i + 1] % lines.Count();
        switch (data[i] % 8) {
        case 0: lines.SetSelection({line}); break;
        case 1: lines.SetSelection({line, (line + data[i]) % lines.Count()}); break;
        case 2: lines.InsertExtended(data[i + 1]); break;
        case 3: lines.SetDelay(data[i + 1] * 25); break;
        case 4: lines.DeleteSelected(); break;
        case 5: lines.MoveUp(); break;
        case 6: lines.MoveDown(); break;
        case 7: lines.AppendExtended(data[i + 1] % 7, data[i], data[i + 1]); break;
        }
        CheckInvariants(lines, view);
    }
    return 0;
}

#pragma once
// CSkinLVCmdList: the macro editor's list of lines (one instruction plus the delay
// after it each), with the byte bookkeeping that keeps jump targets on their lines
// through every edit. It drives its visible rows through ILineListView.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "macro/InstructionSet.h"
#include "macro/LineListView.h"
#include "macro/LineText.h"

namespace pallix::macro {

struct MacroLine {
    InstructionBytes instruction{};  // opcode then operands; zero past the length
    std::string text;                // INSTRUCTION column
    int delayCount = 1;              // 1 + delay units
    int byteLength = 0;              // instruction length + 2 per delay chunk
};

struct JumpReference {
    int sourceLine = 0;
    int targetLine = -1;  // -1 while no line starts at or after the target
    int targetOffset = 0;
    friend bool operator==(const JumpReference&, const JumpReference&) = default;
};

class CSkinLVCmdList {
public:
    static constexpr int kMaxLines = 2200;
    static constexpr int kMaxJumps = 128;
    static constexpr int kBufferFull = -3;
    static constexpr int kNotDone = -1;
    // For Append(OP_LOOP_END): find the matching LoopStart instead.
    static constexpr int kFindLoopStart = -1;

    explicit CSkinLVCmdList(ILineListView* view = nullptr);
    virtual ~CSkinLVCmdList();
    CSkinLVCmdList(const CSkinLVCmdList&) = delete;
    CSkinLVCmdList& operator=(const CSkinLVCmdList&) = delete;

    void SetView(ILineListView* view) { view_ = view; }

    // --- editing; results: line index, kBufferFull, or kNotDone ---
    void Clear();
    // Operands: Delay units; LoopStart count (1-256); ConsumerKey usage;
    // RelativeMove dx, dy; LoopEnd target offset (or kFindLoopStart).
    int Append(std::uint8_t opcode, int a = 0, int b = 0);
    // AbsoluteMove x, y; IfLockState flagsA | flagsB << 8, target; Goto/Call target;
    // IfVariable condition | value << 8, target; SetVariable operation, value.
    int AppendExtended(std::uint8_t sub, int a = 0, int b = 0);
    // Before the single selected line; kNotDone without exactly one selected.
    int InsertExtended(std::uint8_t sub, int a = 0, int b = 0);
    // 1 when exactly one line is selected (whether or not the delay fitted), else 0.
    int SetDelay(int ms);
    void DeleteSelected();
    int MoveUp();
    int MoveDown();
    void Decode(std::span<const std::uint8_t> script);

    // --- bytes ---
    // Writes line `index` (instruction, then its delay chunks); returns the count,
    // 0 for a bad index or when `out` is too small.
    int EncodeLine(int index, std::span<std::uint8_t> out) const;
    // All lines in order, stopping before a line that would pass `limit` bytes.
    std::vector<std::uint8_t> EncodeScript(int limit = kScriptCapacity) const;

    // --- selection ---
    int SelectedIndex() const;  // the single selected line, -1 for none or several
    std::vector<int> SelectedLines() const;
    void Select(int line);            // selected, focused, current, scrolled into view
    void Deselect(int line = -1);     // -1: the current line; current becomes 0
    void SetSelection(const std::vector<int>& lines);  // as the user picked them

    // --- state ---
    int Count() const { return static_cast<int>(lines_.size()); }
    const MacroLine& Line(int index) const { return lines_.at(index).line; }
    RowTexts RowOf(int index) const;
    int LineOffset(int index) const;
    int TargetLineOf(int offset) const;  // first line starting at or after offset, or -1
    int Capacity() const { return capacity_; }
    void SetCapacity(int bytes);         // 0 to 256
    int UsedBytes() const { return usedBytes_; }
    int DelayUnit() const { return delayUnit_; }
    void SetDelayUnit(int ms);           // ignored unless positive
    int CurrentLine() const { return currentLine_; }
    const std::vector<JumpReference>& Jumps() const { return jumps_; }

private:
    struct Entry {
        MacroLine line;
        bool selected = false;
    };

    int AddLine(int at, const InstructionBytes& instruction, int jumpTarget);
    int AppendDelay(int units);
    void RegisterJump(int source, int targetOffset);
    JumpReference* FindJump(int source);
    void MoveTarget(JumpReference& ref, int change);
    void SettleJumps();
    void ResolveWaitingJumps();
    void RebuildJump(JumpReference& ref);
    int FindLoopStartOffset(int loopEnd) const;
    int Swap(int a, int b);
    void RefreshRow(int index);
    void SetSelected(int index, bool selected);
    static int LengthOf(const MacroLine& line);
    static int DelayBytes(int delayCount);
    void FinishDecode(const std::vector<int>& rawStarts);

    ILineListView* view_;
    std::vector<Entry> lines_;
    std::vector<JumpReference> jumps_;
    int capacity_ = kScriptCapacity;
    int usedBytes_ = 0;
    int delayUnit_ = kDelayUnitMs;
    int currentLine_ = 0;
};

// Instruction bytes from an opcode (and sub-code) with the operand values the
// append operations take.
InstructionBytes MakeInstruction(std::uint8_t opcode, std::uint8_t sub, int a, int b);

}  // namespace pallix::macro

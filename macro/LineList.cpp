#include "macro/LineList.h"

#include <algorithm>

#include "macro/MacroTexts.h"

namespace pallix::macro {
namespace {

void PutWord(InstructionBytes& b, int at, int value) {
    b[at] = static_cast<std::uint8_t>(value & 0xFF);
    b[at + 1] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
}

int ReadWord(std::span<const std::uint8_t> s, std::size_t at) { return s[at] | (s[at + 1] << 8); }

constexpr int kChunkUnits = 255;

}  // namespace

InstructionBytes MakeInstruction(std::uint8_t op, std::uint8_t sub, int a, int b) {
    InstructionBytes bytes{};
    bytes[0] = op;
    switch (op) {
    case OP_DELAY: bytes[1] = static_cast<std::uint8_t>(a); break;
    case OP_LOOP_START: bytes[1] = static_cast<std::uint8_t>(a - 1); break;
    case OP_CONSUMER_KEY:
    case OP_LOOP_END: PutWord(bytes, 1, a); break;
    case OP_RELATIVE_MOVE:
        PutWord(bytes, 1, a);
        PutWord(bytes, 3, b);
        break;
    case OP_EXTENDED:
        bytes[1] = sub;
        switch (sub) {
        case SUB_ABSOLUTE_MOVE:
        case SUB_IF_LOCK_STATE:
        case SUB_IF_VARIABLE:
            PutWord(bytes, 2, a);
            PutWord(bytes, 4, b);
            break;
        case SUB_GOTO:
        case SUB_CALL: PutWord(bytes, 2, a); break;
        case SUB_SET_VARIABLE:
            bytes[2] = static_cast<std::uint8_t>(a);
            bytes[3] = static_cast<std::uint8_t>(b);
            break;
        default: break;
        }
        break;
    default: break;
    }
    return bytes;
}

CSkinLVCmdList::CSkinLVCmdList(ILineListView* view) : view_(view) {}
CSkinLVCmdList::~CSkinLVCmdList() = default;

int CSkinLVCmdList::LengthOf(const MacroLine& line) {
    return InstructionLength(line.instruction[0], line.instruction[1]);
}

int CSkinLVCmdList::DelayBytes(int delayCount) {
    const int units = std::max(0, delayCount - 1);
    return 2 * ((units + kChunkUnits - 1) / kChunkUnits);
}

void CSkinLVCmdList::SetCapacity(int bytes) { capacity_ = std::clamp(bytes, 0, kScriptCapacity); }

void CSkinLVCmdList::SetDelayUnit(int ms) {
    if (ms > 0) delayUnit_ = ms;
}

int CSkinLVCmdList::LineOffset(int index) const {
    int offset = 0;
    for (int i = 0; i < index && i < Count(); ++i) offset += lines_[i].line.byteLength;
    return offset;
}

int CSkinLVCmdList::TargetLineOf(int offset) const {
    int start = 0;
    for (int i = 0; i < Count(); ++i) {
        if (start >= offset) return i;
        start += lines_[i].line.byteLength;
    }
    return -1;
}

RowTexts CSkinLVCmdList::RowOf(int index) const {
    const MacroLine& line = lines_.at(index).line;
    return RowTexts{std::to_string(index + 1), line.text,
                    InstructionIcon(line.instruction[0], line.instruction[1]),
                    DelayText(line.delayCount - 1, delayUnit_)};
}

void CSkinLVCmdList::RefreshRow(int index) {
    if (view_) view_->SetRow(index, RowOf(index));
}

void CSkinLVCmdList::Clear() {
    lines_.clear();
    jumps_.clear();
    usedBytes_ = 0;
    currentLine_ = 0;
    if (view_) view_->DeleteAllRows();
}

// ---------------------------------------------------------------- appending

int CSkinLVCmdList::Append(std::uint8_t op, int a, int b) {
    if (op == OP_EXTENDED) return kNotDone;
    if (op == OP_DELAY) return AppendDelay(a);
    int target = -1;
    if (op == OP_LOOP_END) {
        target = a == kFindLoopStart ? FindLoopStartOffset(Count()) : (a & 0xFFFF);
        a = target;
    }
    const int index = AddLine(Count(), MakeInstruction(op, 0, a, b), target);
    if (index >= 0 && target >= 0) RegisterJump(index, target);
    if (index >= 0) ResolveWaitingJumps();
    return index;
}

int CSkinLVCmdList::AppendExtended(std::uint8_t sub, int a, int b) {
    const InstructionBytes bytes = MakeInstruction(OP_EXTENDED, sub, a, b);
    if (KindOf(OP_EXTENDED, sub) == Kind::Invalid) return kNotDone;
    const int target = TargetOffsetOf(bytes);
    const int index = AddLine(Count(), bytes, target);
    if (index >= 0 && target >= 0) RegisterJump(index, target);
    if (index >= 0) ResolveWaitingJumps();
    return index;
}

int CSkinLVCmdList::AppendDelay(int units) {
    if (units < 0) return kNotDone;
    if (lines_.empty()) return kNotDone;  // a delay belongs to the line before it
    MacroLine& last = lines_.back().line;
    const int newLength = LengthOf(last) + DelayBytes(last.delayCount + units);
    const int growth = newLength - last.byteLength;
    // A delay instruction takes two bytes even when it merges into an open chunk.
    if (usedBytes_ + std::max(2, growth) > capacity_) return kBufferFull;
    last.delayCount += units;
    last.byteLength = newLength;
    usedBytes_ += growth;
    RefreshRow(Count() - 1);
    return Count() - 1;
}

int CSkinLVCmdList::AddLine(int at, const InstructionBytes& instruction, int jumpTarget) {
    const int length = InstructionLength(instruction[0], instruction[1]);
    if (usedBytes_ + length > capacity_) return kBufferFull;
    if (Count() >= kMaxLines) return kNotDone;
    Entry entry;
    entry.line.instruction = instruction;
    entry.line.byteLength = length;
    lines_.insert(lines_.begin() + at, entry);
    MacroLine& line = lines_[at].line;
    const Kind kind = KindOf(instruction[0], instruction[1]);
    line.text = kind == Kind::LoopEnd ? KeyName(OP_LOOP_END)
                                      : InstructionText(instruction, jumpTarget >= 0 ? TargetLineOf(jumpTarget) : -1);
    if (view_ && !view_->InsertRow(at, RowOf(at))) {
        lines_.erase(lines_.begin() + at);
        return kNotDone;
    }
    usedBytes_ += length;
    return at;
}

int CSkinLVCmdList::FindLoopStartOffset(int loopEnd) const {
    int nesting = 0;
    for (int i = loopEnd - 1; i >= 0; --i) {
        const Kind kind = KindOf(lines_[i].line.instruction[0]);
        if (kind == Kind::LoopEnd) ++nesting;
        if (kind != Kind::LoopStart) continue;
        if (nesting == 0) return LineOffset(i);
        --nesting;
    }
    return LineOffset(loopEnd) + InstructionLength(OP_LOOP_END);
}

// ---------------------------------------------------------------- jumps

JumpReference* CSkinLVCmdList::FindJump(int source) {
    for (auto& ref : jumps_)
        if (ref.sourceLine == source) return &ref;
    return nullptr;
}

void CSkinLVCmdList::RegisterJump(int source, int targetOffset) {
    if (source >= kMaxLines || targetOffset < 0 || targetOffset >= kScriptCapacity) return;
    JumpReference* ref = FindJump(source);
    if (!ref) {
        if (static_cast<int>(jumps_.size()) >= kMaxJumps) return;
        ref = &jumps_.emplace_back();
        ref->sourceLine = source;
    }
    ref->targetOffset = targetOffset;
    ref->targetLine = TargetLineOf(targetOffset);
}

// A target may point into the middle of the bytes before its line; when a shift
// would carry it onto another line, it lands on the start of its own line instead.
void CSkinLVCmdList::MoveTarget(JumpReference& ref, int change) {
    ref.targetOffset += change;
    if (TargetLineOf(ref.targetOffset) != ref.targetLine) ref.targetOffset = LineOffset(ref.targetLine);
}

// Jumps waiting for a line past the end find it once a line starts there; a target
// that an edit carried off its line (possible only for targets pointing into the
// middle of the bytes before their line) is put back on the start of that line.
void CSkinLVCmdList::SettleJumps() {
    for (auto& ref : jumps_) {
        const int line = TargetLineOf(ref.targetOffset);
        if (line == ref.targetLine) continue;
        if (ref.targetLine >= 0) ref.targetOffset = LineOffset(ref.targetLine);
        RebuildJump(ref);
    }
}

void CSkinLVCmdList::ResolveWaitingJumps() {
    if (lines_.empty()) return;
    const int lastStart = usedBytes_ - lines_.back().line.byteLength;
    for (auto& ref : jumps_)
        if (ref.targetLine < 0 && ref.targetOffset <= lastStart) RebuildJump(ref);
}

void CSkinLVCmdList::RebuildJump(JumpReference& ref) {
    MacroLine& line = lines_[ref.sourceLine].line;
    const Kind kind = KindOf(line.instruction[0], line.instruction[1]);
    PutWord(line.instruction, TargetByteIndex(kind), ref.targetOffset);
    ref.targetLine = TargetLineOf(ref.targetOffset);
    line.text = kind == Kind::LoopEnd ? KeyName(OP_LOOP_END) : InstructionText(line.instruction, ref.targetLine);
    RefreshRow(ref.sourceLine);
}

// ---------------------------------------------------------------- editing

int CSkinLVCmdList::InsertExtended(std::uint8_t sub, int a, int b) {
    const int s = SelectedIndex();
    if (s < 0 || KindOf(OP_EXTENDED, sub) == Kind::Invalid) return kNotDone;
    const InstructionBytes bytes = MakeInstruction(OP_EXTENDED, sub, a, b);
    const int target = TargetOffsetOf(bytes);
    const int result = AddLine(s, bytes, target);
    if (result < 0) return result;
    const int length = lines_[s].line.byteLength;
    std::vector<JumpReference*> moved;
    for (auto& ref : jumps_) {
        if (ref.sourceLine >= s) ++ref.sourceLine;
        if (ref.targetLine >= s) {
            ++ref.targetLine;
            MoveTarget(ref, length);
            moved.push_back(&ref);
        }
    }
    for (JumpReference* ref : moved) RebuildJump(*ref);
    if (target >= 0) {
        RegisterJump(s, target);
        if (JumpReference* ref = FindJump(s)) RebuildJump(*ref);
    }
    SettleJumps();
    for (int i = s + 1; i < Count(); ++i) RefreshRow(i);
    if (currentLine_ >= s) ++currentLine_;  // it stays on its line, as the selection does
    return s;
}

int CSkinLVCmdList::SetDelay(int ms) {
    const int s = SelectedIndex();
    if (s < 0) return 0;
    currentLine_ = s;
    ms = std::clamp(ms, 0, kMaxDelayMs);
    const int count = (ms + 2 * delayUnit_ - 1) / delayUnit_;
    MacroLine& line = lines_[s].line;
    const int newLength = LengthOf(line) + DelayBytes(count);
    const int change = newLength - line.byteLength;
    if (usedBytes_ + change > capacity_) return 1;
    line.delayCount = count;
    line.byteLength = newLength;
    usedBytes_ += change;
    for (auto& ref : jumps_) {
        if (ref.targetLine > s) {
            MoveTarget(ref, change);
            RebuildJump(ref);
        }
    }
    SettleJumps();
    RefreshRow(s);
    return 1;
}

void CSkinLVCmdList::DeleteSelected() {
    const std::vector<int> selected = SelectedLines();
    if (selected.empty()) return;
    std::vector<int> newIndex(lines_.size());
    for (auto it = selected.rbegin(); it != selected.rend(); ++it) {
        usedBytes_ -= lines_[*it].line.byteLength;
        if (view_) view_->DeleteRow(*it);
    }
    int next = 0;
    for (std::size_t i = 0; i < lines_.size(); ++i) newIndex[i] = lines_[i].selected ? -1 : next++;
    std::erase_if(lines_, [](const Entry& e) { return e.selected; });

    std::erase_if(jumps_, [&](const JumpReference& ref) { return newIndex[ref.sourceLine] < 0; });
    for (auto& ref : jumps_) {
        ref.sourceLine = newIndex[ref.sourceLine];
        if (ref.targetLine >= 0) {
            ref.targetLine = std::max(0, newIndex[ref.targetLine]);  // deleted target: line 1
            ref.targetOffset = LineOffset(ref.targetLine);
        }
        RebuildJump(ref);
    }
    SettleJumps();
    const int first = selected.front();
    for (int i = first; i < Count(); ++i) RefreshRow(i);
    if (lines_.empty()) {
        currentLine_ = 0;
        return;
    }
    Select(std::min(first, Count() - 1));
}

int CSkinLVCmdList::MoveUp() {
    const int s = SelectedIndex();
    if (s <= 0) return 0;
    return Swap(s - 1, s);
}

int CSkinLVCmdList::MoveDown() {
    const int s = SelectedIndex();
    if (s < 0 || s >= Count() - 1) return 0;
    return Swap(s, s + 1);
}

int CSkinLVCmdList::Swap(int a, int b) {
    std::swap(lines_[a], lines_[b]);
    std::vector<JumpReference*> moved;
    for (auto& ref : jumps_) {
        if (ref.sourceLine == a) ref.sourceLine = b;
        else if (ref.sourceLine == b) ref.sourceLine = a;
        if (ref.targetLine == a || ref.targetLine == b) {
            ref.targetLine = ref.targetLine == a ? b : a;
            moved.push_back(&ref);
        }
    }
    for (JumpReference* ref : moved) {
        ref->targetOffset = LineOffset(ref->targetLine);
        RebuildJump(*ref);
    }
    SettleJumps();
    RefreshRow(a);
    RefreshRow(b);
    for (int row : {a, b}) {
        if (view_) view_->SetRowSelected(row, lines_[row].selected);
        if (lines_[row].selected) currentLine_ = row;
    }
    if (view_) view_->ScrollIntoView(currentLine_);
    return 1;
}

// ---------------------------------------------------------------- decoding

void CSkinLVCmdList::Decode(std::span<const std::uint8_t> s) {
    Clear();
    std::vector<int> rawStarts;  // where each line began in `s`
    std::size_t at = 0;
    while (at < s.size()) {
        const int length = InstructionLengthAt(s.subspan(at));
        if (length == 0) break;  // the last instruction is cut off
        const std::uint8_t op = s[at];
        int added = kNotDone;
        switch (op) {
        case OP_DELAY: added = Append(op, s[at + 1]); break;
        case OP_LOOP_START: added = Append(op, s[at + 1] + 1); break;
        case OP_CONSUMER_KEY:
        case OP_LOOP_END: added = Append(op, ReadWord(s, at + 1)); break;
        case OP_RELATIVE_MOVE: added = Append(op, ReadWord(s, at + 1), ReadWord(s, at + 3)); break;
        case OP_EXTENDED: {
            const std::uint8_t sub = s[at + 1];
            switch (sub) {
            case SUB_ABSOLUTE_MOVE:
            case SUB_IF_LOCK_STATE:
            case SUB_IF_VARIABLE: added = AppendExtended(sub, ReadWord(s, at + 2), ReadWord(s, at + 4)); break;
            case SUB_GOTO:
            case SUB_CALL: added = AppendExtended(sub, ReadWord(s, at + 2)); break;
            case SUB_SET_VARIABLE: added = AppendExtended(sub, s[at + 2], s[at + 3]); break;
            default: added = AppendExtended(sub); break;
            }
            break;
        }
        default: added = Append(op); break;
        }
        if (op != OP_DELAY && added >= 0) rawStarts.push_back(static_cast<int>(at));
        at += length;
    }
    FinishDecode(rawStarts);
}

// Forward jumps find their lines only now. When the lines do not sit where they sat
// in the bytes (delays merged or dropped, skipped bytes), targets are moved to the
// new start of the line they pointed at, so a re-encoded script jumps to the same
// instruction.
void CSkinLVCmdList::FinishDecode(const std::vector<int>& rawStarts) {
    bool moved = false;
    for (int i = 0, offset = 0; i < Count(); offset += lines_[i].line.byteLength, ++i)
        moved = moved || rawStarts[i] != offset;
    for (auto& ref : jumps_) {
        if (moved) {
            const auto it = std::lower_bound(rawStarts.begin(), rawStarts.end(), ref.targetOffset);
            if (it != rawStarts.end()) ref.targetOffset = LineOffset(static_cast<int>(it - rawStarts.begin()));
        } else if (ref.targetLine >= 0) {
            continue;
        }
        ref.targetLine = TargetLineOf(ref.targetOffset);
        const MacroLine& line = lines_[ref.sourceLine].line;
        if (ref.targetLine < 0 && KindOf(line.instruction[0]) == Kind::LoopEnd)
            ref.targetOffset = LineOffset(ref.sourceLine) + InstructionLength(OP_LOOP_END);
        RebuildJump(ref);
    }
}

// ---------------------------------------------------------------- encoding

int CSkinLVCmdList::EncodeLine(int index, std::span<std::uint8_t> out) const {
    if (index < 0 || index >= Count()) return 0;
    const MacroLine& line = lines_[index].line;
    if (out.size() < static_cast<std::size_t>(line.byteLength)) return 0;
    const int length = LengthOf(line);
    std::size_t n = 0;
    for (int i = 0; i < length; ++i) out[n++] = line.instruction[i];
    int units = line.delayCount - 1;
    for (; units >= kChunkUnits; units -= kChunkUnits) {
        out[n++] = OP_DELAY;
        out[n++] = kChunkUnits;
    }
    if (units > 0) {
        out[n++] = OP_DELAY;
        out[n++] = static_cast<std::uint8_t>(units);
    }
    return static_cast<int>(n);
}

std::vector<std::uint8_t> CSkinLVCmdList::EncodeScript(int limit) const {
    std::vector<std::uint8_t> script;
    script.reserve(static_cast<std::size_t>(std::max(0, limit)));
    for (int i = 0; i < Count(); ++i) {
        const int length = lines_[i].line.byteLength;
        if (static_cast<int>(script.size()) + length > limit) break;
        const std::size_t at = script.size();
        script.resize(at + length);
        EncodeLine(i, std::span(script).subspan(at));
    }
    return script;
}

// ---------------------------------------------------------------- selection

int CSkinLVCmdList::SelectedIndex() const {
    int found = -1;
    for (int i = 0; i < Count(); ++i) {
        if (!lines_[i].selected) continue;
        if (found >= 0) return -1;
        found = i;
    }
    return found;
}

std::vector<int> CSkinLVCmdList::SelectedLines() const {
    std::vector<int> result;
    for (int i = 0; i < Count(); ++i)
        if (lines_[i].selected) result.push_back(i);
    return result;
}

void CSkinLVCmdList::SetSelected(int index, bool selected) {
    if (lines_[index].selected == selected) return;
    lines_[index].selected = selected;
    if (view_) view_->SetRowSelected(index, selected);
}

void CSkinLVCmdList::Select(int line) {
    if (line < 0 || line >= Count()) return;
    SetSelected(line, true);
    currentLine_ = line;
    if (view_) view_->ScrollIntoView(line);
}

void CSkinLVCmdList::Deselect(int line) {
    if (line < 0) line = currentLine_;
    if (line >= 0 && line < Count()) SetSelected(line, false);
    currentLine_ = 0;
}

void CSkinLVCmdList::SetSelection(const std::vector<int>& chosen) {
    std::vector<bool> wanted(lines_.size(), false);
    for (int i : chosen)
        if (i >= 0 && i < Count()) wanted[i] = true;
    for (int i = 0; i < Count(); ++i) SetSelected(i, wanted[i]);
    if (!chosen.empty() && chosen.front() >= 0 && chosen.front() < Count()) currentLine_ = chosen.front();
}

}  // namespace pallix::macro

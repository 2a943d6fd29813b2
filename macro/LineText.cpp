#include "macro/LineText.h"

#include "macro/InstructionSet.h"
#include "macro/MacroTexts.h"

namespace pallix::macro {
namespace {

unsigned Word(const InstructionBytes& b, int at) { return b[at] | (b[at + 1] << 8); }
int SignedWord(const InstructionBytes& b, int at) { return static_cast<std::int16_t>(Word(b, at)); }

void AppendPoint(const InstructionBytes& b, int at, std::string& out) {
    out += '(';
    out += std::to_string(SignedWord(b, at));
    out += ", ";
    out += std::to_string(SignedWord(b, at + 2));
    out += ')';
}

void AppendTargetLine(int targetLine, std::string& out) {
    out += targetLine >= 0 ? std::to_string(targetLine + 1) : std::string("??");
}

void AppendLockStateItems(std::uint8_t flagsA, std::uint8_t flagsB, std::string& out) {
    static constexpr int kKeyCodes[] = {0x53, 0x39, 0x47};  // NumLock, CapsLock, ScrollLock
    const bool inverted = flagsA & 0x40;
    const char* joiner = (flagsA & 0x80) ? " AND " : " OR ";
    bool first = true;
    auto item = [&](std::string_view name, const char* state) {
        if (!first) out += joiner;
        first = false;
        out += '(';
        out += name;
        out += state;
        out += ')';
    };
    for (int bit = 0; bit < 3; ++bit)
        if (flagsA & (1 << bit)) item(KeyName(kKeyCodes[bit]), inverted ? " unlock" : " lock");
    for (int bit = 0; bit < 8; ++bit)
        if (flagsB & (1 << bit)) item(kLockStateButtonNames[bit], inverted ? " release" : " press");
}

}  // namespace

int TargetOffsetOf(const InstructionBytes& instruction) {
    const int at = TargetByteIndex(KindOf(instruction[0], instruction[1]));
    return at < 0 ? -1 : static_cast<int>(Word(instruction, at));
}

std::string InstructionText(const InstructionBytes& b, int targetLine) {
    const std::uint8_t op = b[0];
    const std::uint8_t sub = b[1];
    std::string out;
    switch (KindOf(op, sub)) {
    case Kind::LoopStart:
        out = KeyName(op) + std::to_string(b[1] + 1) + " Times";
        break;
    case Kind::ConsumerKey: {
        const std::string_view name = ConsumerName(Word(b, 1));
        out = name.empty() ? "Code=" + std::to_string(Word(b, 1)) : std::string(name);
        break;
    }
    case Kind::RelativeMove:
        AppendPoint(b, 1, out);
        break;
    case Kind::AbsoluteMove:
        out = ExtendedName(sub);
        AppendPoint(b, 2, out);
        break;
    case Kind::Goto:
    case Kind::Call:
        out = ExtendedName(sub);
        AppendTargetLine(targetLine, out);
        break;
    case Kind::Return:
        out = ExtendedName(sub);
        break;
    case Kind::IfLockState:
    case Kind::IfVariable:
        out = ExtendedName(sub);
        out += '(';
        if (sub == SUB_IF_LOCK_STATE) AppendLockStateItems(b[2], b[3], out);
        else AppendConditionText(b[2], b[3], out);
        out += ")  ";
        out += ExtendedName(SUB_GOTO);
        AppendTargetLine(targetLine, out);
        break;
    case Kind::SetVariable:
        out = ExtendedName(sub);
        AppendOperationText(b[2], b[3], out);
        break;
    case Kind::Command:
        out = CommandName(sub - SUB_FIRST_COMMAND);
        break;
    case Kind::Invalid:
        break;
    default:
        out = KeyName(op);
        break;
    }
    return out;
}

std::string DelayText(int units, int unitMs) {
    const long ms = static_cast<long>(units) * unitMs;
    if (ms <= 1000) return std::to_string(ms) + MillisecondsWord();
    const long tenths = (ms + 50) / 100;
    return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10) + SecondsWord();
}

}  // namespace pallix::macro

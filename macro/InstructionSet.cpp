#include "macro/InstructionSet.h"

#include <string>

namespace pallix::macro {

const std::array<CommandInfo, kCommandCount> kCommands = {{
    {"Page UP", 2, {0x4B, 0xCB}},
    {"Page DN", 2, {0x4E, 0xCE}},
    {"Copy", 4, {0x70, 0x06, 0x86, 0xF0}},
    {"Paste", 4, {0x70, 0x19, 0x99, 0xF0}},
    {"Close Window", 4, {0x72, 0x3D, 0xBD, 0xF2}},
    {"Show Desktop", 4, {0x73, 0x07, 0x87, 0xF3}},
    {"Undo", 4, {0x70, 0x1C, 0x9C, 0xF0}},
    {"Open Window Explorer", 6, {0x03, 0x23, 0x02, 0x03, 0x00, 0x00}},
    {"Delet", 2, {0x4C, 0xCC}},
    {"Cut", 4, {0x70, 0x1B, 0x9B, 0xF0}},
    {"Print Screen", 2, {0x46, 0xC6}},
    {"Lock PC", 4, {0x73, 0x0F, 0x8F, 0xF3}},
    {"Zoom In", 3, {0x70, 0xFE, 0xF0}},
    {"Zoom Out", 3, {0x70, 0x7E, 0xF0}},
    {"All", 4, {0x70, 0x04, 0x84, 0xF0}},
    {"Find", 4, {0x70, 0x09, 0x89, 0xF0}},
    {"Print", 4, {0x70, 0x13, 0x93, 0xF0}},
    {"Save", 4, {0x70, 0x16, 0x96, 0xF0}},
    {"New", 4, {0x70, 0x11, 0x91, 0xF0}},
    {"Maxmize IE/Media Player", 6, {0x03, 0x83, 0x01, 0x03, 0x00, 0x00}},
}};

const std::array<std::string_view, 8> kLockStateButtonNames = {
    "L-BUTTON", "R-BUTTON", "M-BUTTON", "IE BACK", "IE FORWARD", "Button-6", "Button-7", "Button-8"};

namespace {

struct ConsumerEntry {
    unsigned usage;
    std::string_view name;
};

constexpr ConsumerEntry kConsumerNames[] = {
    {0xB5, "Next Track"}, {0xB6, "Prev Track"},   {0xB7, "Stop"},         {0xCD, "Play/Pause"},
    {0xE2, "Mute"},       {0xE9, "Volume Up"},    {0xEA, "Volume Down"},  {0x183, "Media Player"},
    {0x18A, "E-Mail"},    {0x192, "Calculator"},  {0x194, "My Computer"}, {0x223, "Web Browser"},
};

// A text made of prefix, then the value in decimal when withValue, then suffix.
struct ValueText {
    std::string_view prefix;
    bool withValue;
    std::string_view suffix;
};

constexpr ValueText kConditions[] = {
    {"A == B", false, ""}, {"A == C", false, ""}, {"A == ", true, ""},   {"B == C", false, ""},
    {"B == ", true, ""},   {"C == ", true, ""},   {"A > B", false, ""},  {"A > C", false, ""},
    {"A > ", true, ""},    {"A >= B", false, ""}, {"A >= C", false, ""}, {"A >= ", true, ""},
    {"A < B", false, ""},  {"A < C", false, ""},  {"A < ", true, ""},    {"A <= B", false, ""},
    {"A <= C", false, ""}, {"A <= ", true, ""},   {"B > C", false, ""},  {"B > ", true, ""},
    {"B >= C", false, ""}, {"B >= ", true, ""},   {"B < C", false, ""},  {"B < ", true, ""},
    {"B <= C", false, ""}, {"B <= ", true, ""},   {"C > ", true, ""},    {"C >= ", true, ""},
    {"C < ", true, ""},    {"C <= ", true, ""},   {"A != B", false, ""}, {"A != C", false, ""},
    {"A != ", true, ""},   {"B != C", false, ""}, {"B != ", true, ""},   {"C != ", true, ""},
};

// "C = A +" and "C = B +" really have no space after the plus sign.
constexpr ValueText kOperations[] = {
    {"A = ", true, ""},      {"B = ", true, ""},      {"C = ", true, ""},
    {"A = B", false, ""},    {"A = C", false, ""},    {"B = A", false, ""},
    {"B = C", false, ""},    {"C = A", false, ""},    {"C = B", false, ""},
    {"A = A + B", false, ""}, {"A = A + C", false, ""}, {"A = B + C", false, ""},
    {"A = A + ", true, ""},  {"A = B + ", true, ""},  {"A = C + ", true, ""},
    {"B = A + B", false, ""}, {"B = A + C", false, ""}, {"B = B + C", false, ""},
    {"B = A + ", true, ""},  {"B = B + ", true, ""},  {"B = C + ", true, ""},
    {"C = A + B", false, ""}, {"C = A + C", false, ""}, {"C = B + C", false, ""},
    {"C = A +", true, ""},   {"C = B +", true, ""},   {"C = C + ", true, ""},
    {"A = ", true, " - A"},  {"A = ", true, " - B"},  {"A = ", true, " - C"},
    {"A = A - ", true, ""},  {"A = B - ", true, ""},  {"A = C - ", true, ""},
    {"A = A - B", false, ""}, {"A = B - A", false, ""}, {"A = A - C", false, ""},
    {"A = C - A", false, ""}, {"A = B - C", false, ""}, {"A = C - B", false, ""},
    {"B = ", true, " - A"},  {"B = ", true, " - B"},  {"B = ", true, " - C"},
    {"B = A - ", true, ""},  {"B = B - ", true, ""},  {"B = C - ", true, ""},
    {"B = A - B", false, ""}, {"B = B - A", false, ""}, {"B = A - C", false, ""},
    {"B = C - A", false, ""}, {"B = B - C", false, ""}, {"B = C - B", false, ""},
    {"C = ", true, " - A"},  {"C = ", true, " - B"},  {"C = ", true, " - C"},
    {"C = A - ", true, ""},  {"C = B - ", true, ""},  {"C = C - ", true, ""},
    {"C = A - B", false, ""}, {"C = B - A", false, ""}, {"C = A - C", false, ""},
    {"C = C - A", false, ""}, {"C = B - C", false, ""}, {"C = C - B", false, ""},
};
static_assert(std::size(kConditions) == 36);
static_assert(std::size(kOperations) == 63);

template <std::size_t N>
bool AppendValueText(const ValueText (&table)[N], std::uint8_t code, std::uint8_t value, std::string& out) {
    if (code >= N) return false;
    const ValueText& t = table[code];
    out += t.prefix;
    if (t.withValue) out += std::to_string(value);
    out += t.suffix;
    return true;
}

constexpr std::string_view kExtendedNames[] = {"Absoluted Move: ", "IF ", "GOTO ", "IF ", "SET ", "CALL ", "Return"};

}  // namespace

Kind KindOf(std::uint8_t op, std::uint8_t sub) {
    switch (op) {
    case OP_ALL_KEYS_UP: return Kind::AllKeysUp;
    case OP_DELAY: return Kind::Delay;
    case OP_LOOP_START: return Kind::LoopStart;
    case OP_CONSUMER_KEY: return Kind::ConsumerKey;
    case OP_WHEEL_DOWN: return Kind::WheelDown;
    case OP_NOP: return Kind::Nop;
    case OP_RELATIVE_MOVE: return Kind::RelativeMove;
    case OP_PAUSE: return Kind::Pause;
    case OP_LOOP_END: return Kind::LoopEnd;
    case OP_WHEEL_UP: return Kind::WheelUp;
    case OP_SCRIPT_STOP: return Kind::ScriptStop;
    case OP_EXTENDED:
        switch (sub) {
        case SUB_ABSOLUTE_MOVE: return Kind::AbsoluteMove;
        case SUB_IF_LOCK_STATE: return Kind::IfLockState;
        case SUB_GOTO: return Kind::Goto;
        case SUB_IF_VARIABLE: return Kind::IfVariable;
        case SUB_SET_VARIABLE: return Kind::SetVariable;
        case SUB_CALL: return Kind::Call;
        case SUB_RETURN: return Kind::Return;
        default: return IsCommandSubCode(sub) ? Kind::Command : Kind::Invalid;
        }
    default: break;
    }
    if (op < KEY_BUTTON_LEFT) return Kind::KeyDown;
    if (op < OP_WHEEL_DOWN) return Kind::ButtonDown;
    if (op < KEY_BUTTON_LEFT + KEY_RELEASE) return Kind::KeyUp;
    return Kind::ButtonUp;
}

int ExtendedLength(std::uint8_t sub) {
    switch (sub) {
    case SUB_ABSOLUTE_MOVE:
    case SUB_IF_LOCK_STATE:
    case SUB_IF_VARIABLE: return 6;
    case SUB_GOTO:
    case SUB_SET_VARIABLE:
    case SUB_CALL: return 4;
    case SUB_RETURN: return 2;
    default: return IsCommandSubCode(sub) ? kCommands[sub - SUB_FIRST_COMMAND].length : 2;
    }
}

int InstructionLength(std::uint8_t op, std::uint8_t sub) {
    switch (op) {
    case OP_DELAY: return 2;
    case OP_LOOP_START:
    case OP_CONSUMER_KEY:
    case OP_LOOP_END: return 3;
    case OP_RELATIVE_MOVE: return 5;
    case OP_EXTENDED: return ExtendedLength(sub);
    default: return 1;
    }
}

int InstructionLengthAt(std::span<const std::uint8_t> bytes) {
    if (bytes.empty()) return 0;
    if (bytes[0] == OP_EXTENDED && bytes.size() < 2) return 0;
    const int length = InstructionLength(bytes[0], bytes[0] == OP_EXTENDED ? bytes[1] : 0);
    return static_cast<std::size_t>(length) <= bytes.size() ? length : 0;
}

int InstructionIcon(std::uint8_t op, std::uint8_t sub) {
    switch (KindOf(op, sub)) {
    case Kind::Delay: return ICON_DELAY;
    case Kind::ConsumerKey: return ICON_CONSUMER;
    case Kind::KeyDown: return ICON_KEY_DOWN;
    case Kind::KeyUp: return ICON_KEY_UP;
    case Kind::ButtonDown: return ICON_BUTTON_DOWN;
    case Kind::ButtonUp: return ICON_BUTTON_UP;
    case Kind::WheelDown: return ICON_WHEEL_DOWN;
    case Kind::WheelUp: return ICON_WHEEL_UP;
    case Kind::RelativeMove:
    case Kind::AbsoluteMove: return ICON_MOVE;
    case Kind::IfLockState:
    case Kind::IfVariable: return ICON_IF;
    case Kind::Goto: return ICON_GOTO;
    case Kind::SetVariable: return ICON_SET;
    case Kind::Call: return ICON_CALL;
    case Kind::Return: return ICON_RETURN;
    default: return ICON_OTHER;
    }
}

bool IsJump(Kind kind) { return TargetByteIndex(kind) >= 0; }

int TargetByteIndex(Kind kind) {
    switch (kind) {
    case Kind::LoopEnd: return 1;
    case Kind::Goto:
    case Kind::Call: return 2;
    case Kind::IfLockState:
    case Kind::IfVariable: return 4;
    default: return -1;
    }
}

std::string_view ConsumerName(unsigned usage) {
    for (const auto& e : kConsumerNames)
        if (e.usage == usage) return e.name;
    return {};
}

bool AppendConditionText(std::uint8_t code, std::uint8_t value, std::string& out) {
    return AppendValueText(kConditions, code, value, out);
}

bool AppendOperationText(std::uint8_t code, std::uint8_t value, std::string& out) {
    return AppendValueText(kOperations, code, value, out);
}

std::string_view ExtendedName(std::uint8_t sub) {
    return sub < std::size(kExtendedNames) ? kExtendedNames[sub] : std::string_view{};
}

}  // namespace pallix::macro

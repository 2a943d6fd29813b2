#pragma once
// The byte form of the mouse's macro instructions: opcodes, lengths, icons and the
// constant name tables the line texts draw on.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace pallix::macro {

inline constexpr int kScriptCapacity = 256;  // bytes of one script slot
inline constexpr int kDelayUnitMs = 25;
inline constexpr int kMaxDelayMs = 5000;
inline constexpr int kMaxInstructionLength = 6;

enum Opcode : std::uint8_t {
    OP_ALL_KEYS_UP = 0x00,
    OP_DELAY = 0x01,
    OP_LOOP_START = 0x02,
    OP_CONSUMER_KEY = 0x03,
    OP_WHEEL_DOWN = 0x7E,
    OP_NOP = 0x7F,
    OP_RELATIVE_MOVE = 0x80,
    OP_PAUSE = 0x81,
    OP_LOOP_END = 0x82,
    OP_EXTENDED = 0x83,
    OP_WHEEL_UP = 0xFE,
    OP_SCRIPT_STOP = 0xFF,
};

enum SubCode : std::uint8_t {
    SUB_ABSOLUTE_MOVE = 0,
    SUB_IF_LOCK_STATE = 1,
    SUB_GOTO = 2,
    SUB_IF_VARIABLE = 3,
    SUB_SET_VARIABLE = 4,
    SUB_CALL = 5,
    SUB_RETURN = 6,
    SUB_FIRST_COMMAND = 0x80,
    SUB_LAST_COMMAND = 0x93,
};

// Key codes that are not plain keyboard usages.
inline constexpr std::uint8_t KEY_PRINT_SCREEN = 0x46;
inline constexpr std::uint8_t KEY_LEFT_CTRL = 0x70;
inline constexpr std::uint8_t KEY_LEFT_SHIFT = 0x71;
inline constexpr std::uint8_t KEY_LEFT_ALT = 0x72;
inline constexpr std::uint8_t KEY_LEFT_WIN = 0x73;
inline constexpr std::uint8_t KEY_RIGHT_CTRL = 0x74;
inline constexpr std::uint8_t KEY_RIGHT_SHIFT = 0x75;
inline constexpr std::uint8_t KEY_RIGHT_ALT = 0x76;
inline constexpr std::uint8_t KEY_RIGHT_WIN = 0x77;
inline constexpr std::uint8_t KEY_BUTTON_LEFT = 0x78;
inline constexpr std::uint8_t KEY_BUTTON_RIGHT = 0x79;
inline constexpr std::uint8_t KEY_BUTTON_MIDDLE = 0x7A;
inline constexpr std::uint8_t KEY_BUTTON_4 = 0x7B;
inline constexpr std::uint8_t KEY_BUTTON_5 = 0x7C;
inline constexpr std::uint8_t KEY_RELEASE = 0x80;  // added to a code to release it

enum class Kind {
    AllKeysUp,
    Delay,
    LoopStart,
    ConsumerKey,
    KeyDown,
    ButtonDown,
    WheelDown,
    Nop,
    RelativeMove,
    Pause,
    LoopEnd,
    KeyUp,
    ButtonUp,
    WheelUp,
    ScriptStop,
    AbsoluteMove,
    IfLockState,
    Goto,
    IfVariable,
    SetVariable,
    Call,
    Return,
    Command,
    Invalid,  // 0x83 with an unknown sub-code: two bytes that are no instruction
};

// Images of the editor's list.
enum Icon : int {
    ICON_NONE = 0,
    ICON_KEY_DOWN = 1,
    ICON_KEY_UP = 2,
    ICON_BUTTON_DOWN = 3,
    ICON_BUTTON_UP = 4,
    ICON_WHEEL_DOWN = 5,
    ICON_WHEEL_UP = 6,
    ICON_DELAY = 7,
    ICON_CONSUMER = 8,
    ICON_MOVE = 9,
    ICON_IF = 10,
    ICON_GOTO = 11,
    ICON_SET = 12,
    ICON_OTHER = 13,
    ICON_CALL = 14,
    ICON_RETURN = 15,
};

struct CommandInfo {
    std::string_view defaultName;
    int length;                             // 2 to 6
    std::array<std::uint8_t, 6> rawBytes;   // what the mouse runs in its place
};

inline constexpr int kCommandCount = 20;
extern const std::array<CommandInfo, kCommandCount> kCommands;

constexpr bool IsCommandSubCode(int sub) { return sub >= SUB_FIRST_COMMAND && sub <= SUB_LAST_COMMAND; }

// Kind of the instruction with this opcode; `sub` only matters for 0x83.
Kind KindOf(std::uint8_t opcode, std::uint8_t sub = 0);
// Length in bytes of the instruction (opcode included); for 0x83 from the sub-code.
int InstructionLength(std::uint8_t opcode, std::uint8_t sub = 0);
int ExtendedLength(std::uint8_t sub);
int InstructionIcon(std::uint8_t opcode, std::uint8_t sub = 0);

// Length of the instruction at the start of `bytes`, 0 when the bytes end before it
// does (or before the sub-code of an 0x83 could be read).
int InstructionLengthAt(std::span<const std::uint8_t> bytes);

// Jump instructions carry a 16-bit target offset; -1 for the others.
bool IsJump(Kind kind);
int TargetByteIndex(Kind kind);

// Name of a consumer-page usage, empty when the table has none.
std::string_view ConsumerName(unsigned usage);

// Texts of IfVariable conditions and SetVariable operations; false for codes
// without a text.
bool AppendConditionText(std::uint8_t code, std::uint8_t value, std::string& out);
bool AppendOperationText(std::uint8_t code, std::uint8_t value, std::string& out);

// "Absoluted Move: ", "IF ", "GOTO ", "IF ", "SET ", "CALL ", "Return".
std::string_view ExtendedName(std::uint8_t sub);

// Button names of IfLockState's flags B, bit 0 to 7.
extern const std::array<std::string_view, 8> kLockStateButtonNames;

}  // namespace pallix::macro

#include "macro/MacroTexts.h"

#include <array>

#include "macro/InstructionSet.h"

namespace pallix::macro {
namespace {

// Key names of codes 0x04-0x7E; the releases 0x84-0xFE show the same names.
constexpr std::string_view kKeyNames[] = {
    "'A'", "'B'", "'C'", "'D'", "'E'", "'F'", "'G'", "'H'", "'I'", "'J'", "'K'", "'L'", "'M'",
    "'N'", "'O'", "'P'", "'Q'", "'R'", "'S'", "'T'", "'U'", "'V'", "'W'", "'X'", "'Y'", "'Z'",
    "'1'", "'2'", "'3'", "'4'", "'5'", "'6'", "'7'", "'8'", "'9'", "'0'",
    "'Return/Enter'", "'Escape'", "'BackSpace'", "'Tab'", "'Spacebar'", "'-'", "'='", "'['", "']'",
    "'\\'", "'~'", "';'", "'''",
    "Tilde", "','", "'.'", "'/'", "'CapsLock'",
    "'F1'", "'F2'", "'F3'", "'F4'", "'F5'", "'F6'", "'F7'", "'F8'", "'F9'", "'F10'", "'F11'", "'F12'",
    "'PrintScreen'", "'ScrollLock'", "'Pause'", "'Insert'", "'Home'", "'PageUp'", "'Delete'", "'End'",
    "'PageDown'", "'RightArrow'", "'LeftArrow'", "'DownArrow'", "'UpArrow'", "'NumLock'",
    "Keypad-'/'", "Keypad-'*'", "Keypad-'-'", "Keypad-'+'", "Keypad-'Enter'",
    "Keypad-'1'", "Keypad-'2'", "Keypad-'3'", "Keypad-'4'", "Keypad-'5'", "Keypad-'6'",
    "Keypad-'7'", "Keypad-'8'", "Keypad-'9'", "Keypad-'0'", "Keypad-'.'",
    "'|'", "'Application'", "'Power'", "Keypad-'='",
    "F13'", "F14'", "F15'", "F16'", "F17'", "F18'", "F19'", "F20'",
    "'Left-Ctrl'", "'Left-Shift'", "'Left-Alt'", "'Left-Win'",
    "'Right-Ctrl'", "'Right-Shift'", "'Right-Alt'", "'Right-Win'",
    "L-Button", "R-Button", "M-Button", "Button-4", "Button-5", "L&R Buttons", "Scroll",
};
static_assert(std::size(kKeyNames) == 0x7E - 0x04 + 1);

struct Tables {
    std::array<std::string, kKeyNameCount> keyNames;
    std::array<std::string, kCommandCount> commandNames;
    std::string seconds;
    std::string milliseconds;
};

Tables Defaults() {
    Tables t;
    for (int code = 0x04; code <= 0x7E; ++code) {
        t.keyNames[code] = kKeyNames[code - 0x04];
        t.keyNames[code + KEY_RELEASE] = kKeyNames[code - 0x04];
    }
    t.keyNames[OP_ALL_KEYS_UP] = "<All-Keys-Up>";
    t.keyNames[OP_DELAY] = "... Delay: ";
    t.keyNames[OP_LOOP_START] = "<Loop>: ";
    t.keyNames[OP_NOP] = "NOP";
    t.keyNames[OP_PAUSE] = "<Pause>";
    t.keyNames[OP_LOOP_END] = "<Loop> End";
    t.keyNames[OP_EXTENDED] = "Absoluted Move: ";
    t.keyNames[OP_SCRIPT_STOP] = "Script Stop";
    for (int i = 0; i < kCommandCount; ++i) t.commandNames[i] = kCommands[i].defaultName;
    t.seconds = "sec";
    t.milliseconds = "ms";
    return t;
}

Tables& Current() {
    static Tables tables = Defaults();
    return tables;
}

const std::string kEmpty;

}  // namespace

std::string CutToCharacters(std::string_view text, int characters) {
    std::size_t end = 0;
    for (int n = 0; end < text.size() && n < characters; ++n) {
        ++end;
        while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) ++end;
    }
    return std::string(text.substr(0, end));
}

const std::string& KeyName(int index) {
    return index >= 0 && index < kKeyNameCount ? Current().keyNames[index] : kEmpty;
}

const std::string& CommandName(int index) {
    return index >= 0 && index < kCommandCount ? Current().commandNames[index] : kEmpty;
}

const std::string& SecondsWord() { return Current().seconds; }
const std::string& MillisecondsWord() { return Current().milliseconds; }

bool SetKeyName(int index, std::string_view text) {
    if (index < 0 || index >= kKeyNameCount) return false;
    Current().keyNames[index] = CutToCharacters(text, kKeyNameCapacity);
    return true;
}

bool SetCommandName(int index, std::string_view text) {
    if (index < 0 || index >= kCommandCount) return false;
    Current().commandNames[index] = CutToCharacters(text, kCommandNameCapacity);
    return true;
}

void SetUnitWords(std::string_view seconds, std::string_view milliseconds) {
    Current().seconds = CutToCharacters(seconds, kUnitWordCapacity);
    Current().milliseconds = CutToCharacters(milliseconds, kUnitWordCapacity);
}

void ResetMacroTexts() { Current() = Defaults(); }

}  // namespace pallix::macro

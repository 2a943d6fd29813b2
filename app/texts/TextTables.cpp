#include "app/texts/TextTables.h"

#include "device/ButtonFunctions.h"
#include "macro/MacroTexts.h"

namespace pallix::texts {
namespace {

// The English texts exactly as the program has always shown them, spelling included.
constexpr std::string_view kUi[kUiStringCount] = {
    "Quelta PALLIX Ostrel Gaming Mouse",
    "Quelta PALLIX Ostrel Gaming Mouse",
    "",
    "Close",
    "Enable System tray",
    "Reset this profile to system default.",
    "Go to the Vandras PALLIX Ostrel register web site.",
    "Open the help document.",
    "save the setting into mouse.",
    "Cancel all changes, and quit",
    "save the setting into mouse, and quit",
    "Open Macro editor",
    "Advanced mouse configuration.",
    "LED configuration.",
    "Switch to profile 1 page.",
    "Switch to profile 2 page.",
    "Switch to profile 3 page.",
    "Switch to profile 4 page.",
    "Switch to profile 5 page.",
    "OK",
    "Cancel",
    "Apply",
    "RESET TO DEFAULT",
    "OK/EXIT",
    "ONE SCREEN AT TIME",
    "ADJUST DELAY TIME",
    "Load from file",
    "Create New Macro",
    "RECORD",
    "STOP",
    "DELETE",
    "ONE-TIME",
    "REPEAT when press and hold",
    "Repeat until next key is pressed",
    "Multiple Loops",
    "Move instruction line up",
    "Move instruction line down",
    "YES",
    "NO",
    "Macro Function",
    "Single Key Function",
    "Default Button Function",
    "Applictaion Laucher Function",
    "Always turn on LEDs",
    "Always turn off LEDs",
    "Red",
    "Purple",
    "Blue",
    "Cygon",
    "White",
    "Yellow",
    "Green",
    "Delete one macro file",
    "Without and delay",
    "Insert defualt delay",
    "Configure the delay timing",
    "Insert Macro command",
    "Save as file",
};

constexpr std::string_view kMessages[kMessageCount] = {
    "TOO MANY INSTANCES!",
    "No Gamer Mouse Connected!",
    "FAILURE: Can't find the file path: ",
    "FAILURE: 101, Bad File format!?",
    "Error: Failed to LOAD the Whole EEPROM!",
    "Error: Failed to LOAD MOUSE CONFIGURE!",
    "Error: Failed to SAVE MOUSE CONFIGURE!",
    "Error: Failed to LOAD ONE SCRIPT!",
    "Error: Failed to SAVE ONE SCRIPT!",
    "FAILURE: 201, failed to write!?",
    "No L-Button!",
    "Bad Selected Macro!",
    "Buffer Full!",
    "Can't connect to ",
    "No Selected item!",
    "Can't find document: ",
    "Record funciton failure!",
    "Clear macro definitions?",
    "Overwrite?",
    "Macro exist!",
};

constexpr std::string_view kCommandNames[kCommandNameCount] = {
    "Page UP", "Page DN", "Copy", "Paste", "Close Window", "Show Desktop", "Undo",
    "Open Window Explorer", "Delet", "Cut", "Print Screen", "Lock PC", "Zoom In", "Zoom Out",
    "All", "Find", "Print", "Save", "New", "Maxmize IE/Media Player", "Commands",
};

TextTables MakeDefaults() {
    TextTables t;
    t.fonts = {{
        {"Arial", 0, 0, 500},
        {"Arial Rounded MT Bold", 20, 0, 700},
        {"Arial Rounded MT Bold", 17, 0, 500},
        {"Arial Rounded MT Bold", 15, 0, 500},
        {"Arial", 12, 0, 500},
        {"Arial", 14, 0, 400},
        {"Arial", 20, 0, 500},
    }};
    t.unusedNumber = 0;
    for (int i = 0; i < kUiStringCount; ++i) t.ui[i] = kUi[i];
    for (int i = 0; i < kMessageCount; ++i) t.messages[i] = kMessages[i];
    t.messageBoxCaption = "Quelta PALLIX Ostrel MESSAGE";
    t.unitWords = {"sec", "ms"};
    static_assert(kStandardFunctionCount == kFunctionNameCount);
    for (int i = 0; i < kFunctionNameCount; ++i) t.functionNames[i] = kStandardFunctions[i].name;
    for (int i = 0; i < kCommandNameCount; ++i) t.commandNames[i] = kCommandNames[i];
    t.ledCaptions = {"Switch to Normal LED Control Mode", "Switch to Battle LED Mode"};
    return t;
}

TextTables& Current() {
    static TextTables tables = MakeDefaults();
    return tables;
}

const std::string kEmpty;

template <typename Table>
const std::string& Entry(const Table& table, int index) {
    return index >= 0 && index < static_cast<int>(table.size()) ? table[index] : kEmpty;
}

}  // namespace

const TextTables& DefaultTexts() {
    static const TextTables defaults = MakeDefaults();
    return defaults;
}

const TextTables& Texts() { return Current(); }

void SetTexts(const TextTables& tables) {
    Current() = tables;
    for (int i = 0; i < kCommandNameCount - 1; ++i) macro::SetCommandName(i, tables.commandNames[i]);
    macro::SetUnitWords(tables.unitWords[0], tables.unitWords[1]);
}

const std::string& UiText(int index) { return Entry(Current().ui, index); }
const std::string& MessageText(int index) { return Entry(Current().messages, index); }
const std::string& FunctionName(int index) { return Entry(Current().functionNames, index); }
const std::string& CommandName(int index) { return Entry(Current().commandNames, index); }
const std::string& LedCaption(int index) { return Entry(Current().ledCaptions, index); }
const std::string& UnitWord(int index) { return Entry(Current().unitWords, index); }
const std::string& MessageBoxCaption() { return Current().messageBoxCaption; }

const FontSpec& Font(int index) {
    return index >= 0 && index < kFontCount ? Current().fonts[index] : DefaultTexts().fonts[0];
}

int CharacterCount(std::string_view text) {
    int n = 0;
    for (const char c : text)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++n;
    return n;
}

}  // namespace pallix::texts

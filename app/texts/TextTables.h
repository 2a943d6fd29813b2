#pragma once
// The run-time text tables of the configuration program: fonts, window and tool-tip
// strings, messages, the message-box caption, unit words, button-function names,
// command names and LED-mode captions. They start as the built-in English texts; a
// language file replaces them at start-up (LoadLanguage.h). Texts are UTF-8 here.
// Everything runs on the UI thread, so no locking.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace pallix::texts {

inline constexpr int kFontCount = 7;
inline constexpr int kUiStringCount = 58;
inline constexpr int kMessageCount = 20;
inline constexpr int kUnitWordCount = 2;
inline constexpr int kFunctionNameCount = 11;
inline constexpr int kCommandNameCount = 21;
inline constexpr int kLedCaptionCount = 2;

// Capacities in characters, terminator included (a text keeps one less).
inline constexpr int kFaceCapacity = 40;
inline constexpr int kUiStringCapacity = 256;
inline constexpr int kMessageCapacity = 80;
inline constexpr int kCaptionCapacity = 128;
inline constexpr int kUnitWordCapacity = 10;
inline constexpr int kNameCapacity = 40;  // function, command and LED-mode names

// Indexes of the UI strings.
enum UiString : int {
    UI_TITLE = 0,
    UI_TITLE_2 = 1,
    UI_EMPTY = 2,
    UI_CLOSE = 3,
    UI_ENABLE_TRAY = 4,
    UI_TIP_RESET_PROFILE = 5,
    UI_TIP_REGISTER = 6,
    UI_TIP_HELP = 7,
    UI_TIP_APPLY = 8,
    UI_TIP_CANCEL_QUIT = 9,
    UI_TIP_OK_QUIT = 10,
    UI_TIP_MACRO_EDITOR = 11,
    UI_TIP_ADVANCED = 12,
    UI_TIP_LED = 13,
    UI_TIP_PROFILE_1 = 14,  // 14-18: profiles 1-5
    UI_OK = 19,
    UI_CANCEL = 20,
    UI_APPLY = 21,
    UI_RESET_TO_DEFAULT = 22,
    UI_OK_EXIT = 23,
    UI_ONE_SCREEN = 24,
    UI_ADJUST_DELAY = 25,
    UI_LOAD_FROM_FILE = 26,
    UI_CREATE_MACRO = 27,
    UI_RECORD = 28,
    UI_STOP = 29,
    UI_DELETE = 30,
    UI_ONE_TIME = 31,
    UI_REPEAT_HOLD = 32,
    UI_REPEAT_UNTIL_NEXT = 33,
    UI_MULTIPLE_LOOPS = 34,
    UI_LINE_UP = 35,
    UI_LINE_DOWN = 36,
    UI_YES = 37,
    UI_NO = 38,
    UI_MACRO_FUNCTION = 39,
    UI_SINGLE_KEY_FUNCTION = 40,
    UI_DEFAULT_FUNCTION = 41,
    UI_LAUNCHER_FUNCTION = 42,
    UI_LEDS_ON = 43,
    UI_LEDS_OFF = 44,
    UI_RED = 45,  // 45-51: red, purple, blue, cyan, white, yellow, green
    UI_DELETE_MACRO_FILE = 52,
    UI_WITHOUT_DELAY = 53,
    UI_DEFAULT_DELAY = 54,
    UI_CONFIGURE_DELAY = 55,
    UI_INSERT_COMMAND = 56,
    UI_SAVE_AS_FILE = 57,
};

struct FontSpec {
    std::string face;
    std::int32_t height = 0;
    std::int32_t width = 0;
    std::int32_t weight = 0;
    friend bool operator==(const FontSpec&, const FontSpec&) = default;
};

struct TextTables {
    std::array<FontSpec, kFontCount> fonts;
    std::int32_t unusedNumber = 0;  // read from the file, not used
    std::array<std::string, kUiStringCount> ui;
    std::array<std::string, kMessageCount> messages;
    std::string unusedLine;         // read from the file, not used
    std::string messageBoxCaption;
    std::array<std::string, kUnitWordCount> unitWords;
    std::array<std::string, kFunctionNameCount> functionNames;
    std::array<std::string, kCommandNameCount> commandNames;
    std::array<std::string, kLedCaptionCount> ledCaptions;
    friend bool operator==(const TextTables&, const TextTables&) = default;
};

// The built-in English texts.
const TextTables& DefaultTexts();

// The tables in use.
const TextTables& Texts();
// Replaces the tables in use and hands the command names and unit words on to the
// macro texts (macro/MacroTexts.h), which draw on the same entries.
void SetTexts(const TextTables& tables);

// Readers of single entries; an index outside a table gives an empty text (or the
// default font description).
const std::string& UiText(int index);
const std::string& MessageText(int index);
const std::string& FunctionName(int index);
const std::string& CommandName(int index);  // 20 = caption of the editor's command button
const std::string& LedCaption(int index);
const std::string& UnitWord(int index);     // 0 "sec", 1 "ms"
const std::string& MessageBoxCaption();
const FontSpec& Font(int index);

// Number of characters (code points) of UTF-8 text.
int CharacterCount(std::string_view text);

}  // namespace pallix::texts

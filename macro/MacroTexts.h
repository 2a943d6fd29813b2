#pragma once
// The replaceable texts of macro lines: key names, command names and the two unit
// words. They start with the built-in English defaults; a language file may replace
// them at start-up. Everything runs on the UI thread, so no locking.
#include <string>
#include <string_view>

namespace pallix::macro {

inline constexpr int kKeyNameCount = 256;
inline constexpr int kKeyNameCapacity = 35;      // characters of one key name
inline constexpr int kCommandNameCapacity = 39;  // characters of one command name
inline constexpr int kUnitWordCapacity = 9;

// Readers.
const std::string& KeyName(int index);       // empty outside 0-255
const std::string& CommandName(int index);   // 0-19 for sub-codes 0x80-0x93
const std::string& SecondsWord();            // "sec"
const std::string& MillisecondsWord();       // "ms"

// Replacing: UTF-8 text, cut to the entry's capacity in characters. False for an
// index outside the table (nothing changes).
bool SetKeyName(int index, std::string_view text);
bool SetCommandName(int index, std::string_view text);
void SetUnitWords(std::string_view seconds, std::string_view milliseconds);

// Puts every table back to the built-in defaults.
void ResetMacroTexts();

// Cuts UTF-8 text to at most `characters` code points without splitting one.
std::string CutToCharacters(std::string_view text, int characters);

}  // namespace pallix::macro

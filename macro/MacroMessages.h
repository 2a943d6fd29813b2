#pragma once
// Messages the macro layer asks the UI to show. The values are the indexes of the
// program's message table, so the UI looks the text up in its (language) table and
// appends the suffix the operation returned.
#include <string_view>

namespace pallix::macro {

enum class MacroMessage : int {
    None = -1,
    FilePathNotFound = 2,    // "FAILURE: Can't find the file path: " + name or path
    BadFileFormat = 3,       // "FAILURE: 101, Bad File format!?"
    LoadFailed = 4,          // "Error: Failed to LOAD the Whole EEPROM!"
    SaveScriptFailed = 8,    // "Error: Failed to SAVE ONE SCRIPT!"
    WriteFailed = 9,         // "FAILURE: 201, failed to write!?"
    BadSelectedMacro = 11,   // "Bad Selected Macro!"
    BufferFull = 12,         // "Buffer Full!"
    NoSelectedItem = 14,     // "No Selected item!"
    RecordFailure = 16,      // "Record funciton failure!"
    ClearDefinitions = 17,   // "Clear macro definitions?"
    MacroExists = 19,        // "Macro exist!" (+ name on import)
};

// The built-in English text of a message (for pallixctl and as a fallback).
std::string_view DefaultMessageText(MacroMessage message);

}  // namespace pallix::macro

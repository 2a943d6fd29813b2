#include "macro/MacroMessages.h"

namespace pallix::macro {

std::string_view DefaultMessageText(MacroMessage message) {
    switch (message) {
    case MacroMessage::None: return "";
    case MacroMessage::FilePathNotFound: return "FAILURE: Can't find the file path: ";
    case MacroMessage::BadFileFormat: return "FAILURE: 101, Bad File format!?";
    case MacroMessage::LoadFailed: return "Error: Failed to LOAD the Whole EEPROM!";
    case MacroMessage::SaveScriptFailed: return "Error: Failed to SAVE ONE SCRIPT!";
    case MacroMessage::WriteFailed: return "FAILURE: 201, failed to write!?";
    case MacroMessage::BadSelectedMacro: return "Bad Selected Macro!";
    case MacroMessage::BufferFull: return "Buffer Full!";
    case MacroMessage::NoSelectedItem: return "No Selected item!";
    case MacroMessage::RecordFailure: return "Record funciton failure!";
    case MacroMessage::ClearDefinitions: return "Clear macro definitions?";
    case MacroMessage::MacroExists: return "Macro exist!";
    }
    return "";
}

}  // namespace pallix::macro

#pragma once
#include <string>

#include "macro/MacroMessages.h"

namespace pallix::macro {

// Outcome of a file operation: on failure the message to show and what follows it
// (a name or a path).
struct FileResult {
    bool ok = false;
    MacroMessage message = MacroMessage::None;
    std::string suffix;

    static FileResult Success() { return {true, MacroMessage::None, {}}; }
    static FileResult Failure(MacroMessage m, std::string suffix = {}) { return {false, m, std::move(suffix)}; }
};

}  // namespace pallix::macro

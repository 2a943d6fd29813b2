#pragma once
// The name a button's macro is saved under. It is written before the script goes to
// the mouse and only kept when the script arrived: a store that fails (or is cut off)
// brings back the name the button had, or none when it had none.
#include <optional>
#include <string>

#include "common/SettingsStore.h"

namespace pallix {

class MacroNameChange {
public:
    // Remembers the button's current name.
    MacroNameChange(SettingsStore& store, int profile, int button);

    // False when the store refused the name.
    bool Write(const std::string& name);
    // The store of the script failed: the remembered name back (deleted when there
    // was none). Does nothing unless Write ran.
    void Revert();

private:
    SettingsStore& store_;
    std::string valueName_;
    std::optional<std::string> previous_;
    bool written_ = false;
};

}  // namespace pallix

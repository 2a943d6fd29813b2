#pragma once
// Edits of a profile in the cache: giving a button a standard function (with the
// left-click rule), taking a macro away, and changing the current profile.
#include "device/ButtonFunctions.h"

namespace pallix {

class CIcRK44;

enum class AssignResult {
    kBadArgument,      // profile, button or function index out of range
    kLeftClickRule,    // would take CLICK from the last button that has it
    kClean,            // the cache already held the function clean
    kDirty,            // at least one byte now waits for apply
};

// Whether giving button `button` standard function `index` keeps a CLICK button in
// the profile.
bool LeftClickRuleAllows(const CIcRK44& memory, int profile, int button, int index);

AssignResult AssignStandardFunction(CIcRK44& memory, int profile, int button, int index);

// The function a button gets back when its macro is removed (button 7: MACRO KEY).
int RemovalFunction(int button);

// Clears the button's directory entry at once and gives the button its removal
// function. 1 on success; 0 when a directory byte could not be written or the
// assignment was refused (the left-click rule is checked before anything is written).
int RemoveMacro(CIcRK44& memory, int profile, int button);

// Repeat modes of a macro directory entry.
inline constexpr int kMacroModeNone = 1;
inline constexpr int kMacroModeUntilNextPress = 4;
inline constexpr int kMacroModeOnce = 5;
inline constexpr int kMacroModeWhileHeld = 7;
inline constexpr int kMacroModeCountOld = 8;
inline constexpr int kMacroModeCount = 12;

// Writes the mode nibble (and for modes 8 and 12 the count byte) of the button's
// directory entry at once.
int WriteMacroMode(CIcRK44& memory, int profile, int button, int mode, int count);

// Profile buttons of the main window: writes the profile byte at once (bits 3-7
// kept) and tells the mouse with control 7, n, 0. 0 when n is not a profile the
// mouse has or a report failed.
int SelectProfile(CIcRK44& memory, int profile);
// Dialogs: only the cache changes.
int SetCurrentProfileCached(CIcRK44& memory, int profile);

}  // namespace pallix

#include "device/ButtonAssignment.h"

#include "device/CIcRK44.h"
#include "device/FunctionTable.h"
#include "device/MemoryMap.h"

namespace pallix {

namespace {

using namespace memmap;

bool ValidButton(int profile, int button) {
    return profile >= 0 && profile < kProfileCount && button >= 0 && button < kButtonCount;
}

int ProfileCount(const CIcRK44& memory) {
    return ProfileCountOf(static_cast<std::uint8_t>(memory.Entry(kProfileByteAddress).value & 0xFF));
}

}  // namespace

bool LeftClickRuleAllows(const CIcRK44& memory, int profile, int button, int index) {
    if (!ValidButton(profile, button)) return false;
    if (index == kFnClick || !IsClick(CachedButtonFunction(memory, profile, button))) return true;
    for (int other = 0; other < kButtonCount; ++other)
        if (other != button && IsClick(CachedButtonFunction(memory, profile, other))) return true;
    return false;
}

AssignResult AssignStandardFunction(CIcRK44& memory, int profile, int button, int index) {
    if (!ValidButton(profile, button) || index < 0 || index >= kStandardFunctionCount)
        return AssignResult::kBadArgument;
    if (!LeftClickRuleAllows(memory, profile, button, index)) return AssignResult::kLeftClickRule;
    const ButtonFunction& f = kStandardFunctions[static_cast<std::size_t>(index)].function;
    int dirty = memory.SetCached(ButtonTypeAddress(profile, button), f.type);
    for (int k = 0; k < kButtonParamCount; ++k)
        dirty |= memory.SetCached(ButtonParamAddress(profile, button, k), f.params[static_cast<std::size_t>(k)]);
    return dirty ? AssignResult::kDirty : AssignResult::kClean;
}

int RemovalFunction(int button) {
    return button == kButtonCount - 1 ? kFnMacroKey : kFactoryFunctions[static_cast<std::size_t>(button)];
}

int RemoveMacro(CIcRK44& memory, int profile, int button) {
    if (!ValidButton(profile, button)) return 0;
    const int function = RemovalFunction(button);
    if (!LeftClickRuleAllows(memory, profile, button, function)) return 0;
    const int entry = DirectoryEntry(profile, button);
    for (int i = 0; i < kDirectoryEntrySize; ++i)
        if (!memory.WriteThrough(entry + i, 0)) return 0;
    return AssignStandardFunction(memory, profile, button, function) == AssignResult::kBadArgument ? 0 : 1;
}

int WriteMacroMode(CIcRK44& memory, int profile, int button, int mode, int count) {
    if (!ValidButton(profile, button)) return 0;
    const int entry = DirectoryEntry(profile, button);
    const int old = memory.Entry(entry + 3).value & 0xFF;
    if (!memory.WriteThrough(entry + 3, (old & 0xF0) | (mode & 0x0F))) return 0;
    if (mode == kMacroModeCountOld || mode == kMacroModeCount)
        return memory.WriteThrough(entry + 2, count & 0xFF);
    return 1;
}

int SelectProfile(CIcRK44& memory, int profile) {
    if (profile < 0 || profile >= ProfileCount(memory) || profile >= kProfileCount) return 0;
    const int old = memory.Entry(kProfileByteAddress).value & 0xFF;
    const int written = memory.WriteThrough(kProfileByteAddress, profile | (old & 0xF8));
    // The mouse switches on the control report alone, so it goes out even when the
    // byte could not be written.
    const int told = memory.SendCommand(report::kControlSetProfile, profile, 0);
    return written && told ? 1 : 0;
}

int SetCurrentProfileCached(CIcRK44& memory, int profile) {
    if (profile < 0 || profile >= ProfileCount(memory) || profile >= kProfileCount) return 0;
    const int old = memory.Entry(kProfileByteAddress).value & 0xFF;
    memory.SetCached(kProfileByteAddress, profile | (old & 0xF8));
    return 1;
}

}  // namespace pallix

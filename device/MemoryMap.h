#pragma once
// Layout of the mouse's 16384-byte configuration memory.
#include <cstdint>

namespace pallix::memmap {

inline constexpr int kMemorySize = 0x4000;
inline constexpr int kProfileCount = 5;
inline constexpr int kButtonCount = 8;
inline constexpr int kLevelCount = 4;
inline constexpr int kLightingZones = 4;

// HID version numbers of the two models.
inline constexpr int kModel1801 = 0x1801;
inline constexpr int kModel1802 = 0x1802;
constexpr bool IsKnownModel(int model) { return model == kModel1801 || model == kModel1802; }

// Device-wide bytes.
inline constexpr int kDeviceSettingsAddress = 0x81;  // bit 6: which sensitivity copy is shown
inline constexpr int kProfileByteAddress = 0x8C;     // bits 4-7 count, bits 0-2 current
inline constexpr int kSignatureAddressLow = 0xBA;
inline constexpr int kSignatureAddressHigh = 0xBB;
inline constexpr std::uint8_t kSignatureLow = 0x6D;
inline constexpr std::uint8_t kSignatureHigh = 0x18;

constexpr int ProfileCountOf(std::uint8_t profileByte) { return profileByte >> 4; }
constexpr int CurrentProfileOf(std::uint8_t profileByte) { return profileByte & 0x07; }

// Profile blocks: 64 bytes per profile.
inline constexpr int kProfileBlockBase = 0x100;
inline constexpr int kProfileBlockSize = 0x40;
constexpr int ProfileBlock(int profile) { return kProfileBlockBase + kProfileBlockSize * profile; }

// Offsets inside a profile block.
inline constexpr int kControlOffset = 0;        // bits 0-1 level, 2-3 rate code, bit 6 set
inline constexpr int kSensitivityOffset = 1;    // levels 0-3, first copy
inline constexpr int kSensitivityCopyOffset = 5;  // levels 0-3, second copy
inline constexpr int kLightingOffset = 9;       // four zones
inline constexpr int kButtonTypeOffset = 14;    // one byte per button
inline constexpr int kButtonParamOffset = 23;   // four bytes per button
inline constexpr int kButtonParamCount = 4;

constexpr int ControlAddress(int profile) { return ProfileBlock(profile) + kControlOffset; }
constexpr int SensitivityAddress(int profile, int level) {
    return ProfileBlock(profile) + kSensitivityOffset + level;
}
constexpr int SensitivityCopyAddress(int profile, int level) {
    return ProfileBlock(profile) + kSensitivityCopyOffset + level;
}
constexpr int LightingAddress(int profile, int zone) {
    return ProfileBlock(profile) + kLightingOffset + zone;
}
constexpr int ButtonTypeAddress(int profile, int button) {
    return ProfileBlock(profile) + kButtonTypeOffset + button;
}
constexpr int ButtonParamAddress(int profile, int button, int param) {
    return ProfileBlock(profile) + kButtonParamOffset + kButtonParamCount * button + param;
}

// Control byte fields.
inline constexpr std::uint8_t kLevelMask = 0x03;
inline constexpr std::uint8_t kRateMask = 0x0C;
inline constexpr int kRateShift = 2;
constexpr int ActiveLevelOf(std::uint8_t control) { return control & kLevelMask; }
constexpr int RateCodeOf(std::uint8_t control) { return (control & kRateMask) >> kRateShift; }

// Report-rate codes of the control byte (code 2 is not used by the mouse).
inline constexpr int kRateCode1000 = 0;
inline constexpr int kRateCode500 = 1;
inline constexpr int kRateCode125 = 3;

// Macro directory: nine 4-byte entries per profile.
inline constexpr int kDirectoryBase = 0x240;
inline constexpr int kDirectoryProfileStride = 0x24;
inline constexpr int kDirectoryEntrySize = 4;
inline constexpr int kDirectoryEntries = 9;
constexpr int DirectoryEntry(int profile, int slot) {
    return kDirectoryBase + kDirectoryProfileStride * profile + kDirectoryEntrySize * slot;
}

// Macro slots: nine 256-byte scripts per profile.
inline constexpr int kMacroBase = 0x300;
inline constexpr int kMacroProfileStride = 0x900;
inline constexpr int kMacroSlotSize = 0x100;
inline constexpr int kMacroSlots = 9;
constexpr int MacroSlot(int profile, int slot) {
    return kMacroBase + kMacroProfileStride * profile + kMacroSlotSize * slot;
}

static_assert(MacroSlot(kProfileCount - 1, kMacroSlots - 1) + kMacroSlotSize <= kMemorySize);
static_assert(DirectoryEntry(kProfileCount - 1, kDirectoryEntries - 1) + kDirectoryEntrySize <= kMacroBase);

}  // namespace pallix::memmap

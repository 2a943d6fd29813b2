#pragma once
// Pointer settings kept per profile: saved from the desktop after the performance
// dialog, applied to it whenever the current profile changes.
#include "common/PointerSettings.h"
#include "common/SettingsStore.h"

namespace pallix {

inline constexpr int kDefaultPointerSpeed = 10;
inline constexpr int kDefaultDoubleClickMs = 500;
inline constexpr int kDefaultWheelLines = 3;
// One page is stored as this many lines; anything above it applies as one page.
inline constexpr int kStoredOnePageLines = 10;

struct PointerValues {
    int speed = kDefaultPointerSpeed;
    int doubleClickMs = kDefaultDoubleClickMs;
    int wheelLines = kDefaultWheelLines;  // or kWheelOnePage
    friend bool operator==(const PointerValues&, const PointerValues&) = default;
};

struct PointerOutcome {
    PointerResult speed = PointerResult::Unsupported;
    PointerResult doubleClick = PointerResult::Unsupported;
    PointerResult wheel = PointerResult::Unsupported;
};

// Writes the desktop's current values as profile 0-4's pointer values; a value the
// desktop cannot tell is left as stored. 1 when all three were written.
int SavePointerProfile(SettingsStore& store, PointerSettings& pointer, int profile);

// Profile 0-4's values as they are to be applied: missing or 0 takes the default,
// wheel lines above 10 become one page, out-of-range values are clamped.
PointerValues LoadPointerProfile(SettingsStore& store, int profile);

// LoadPointerProfile, then set all three; an invalid profile changes nothing.
PointerOutcome ApplyPointerProfile(SettingsStore& store, PointerSettings& pointer, int profile);

}  // namespace pallix

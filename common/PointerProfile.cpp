#include "common/PointerProfile.h"

#include <algorithm>
#include <string>

#include "common/SettingNames.h"

namespace pallix {

namespace {

bool ValidProfile(int profile) { return profile >= 0 && profile < kProfileCount; }

// Missing (-1), unreadable and 0 all mean "use the default".
std::uint32_t ReadOr(SettingsStore& store, std::string_view name, std::uint32_t fallback) {
    const std::uint32_t v = store.ReadDword(name);
    return (v == 0 || v == kDwordMissing) ? fallback : v;
}

int Clamp(std::uint32_t v, int lo, int hi) {
    return static_cast<int>(std::clamp<std::uint32_t>(v, static_cast<std::uint32_t>(lo),
                                                      static_cast<std::uint32_t>(hi)));
}

int WriteIfKnown(SettingsStore& store, std::string_view name, std::optional<int> value) {
    if (!value || *value < 0) return 0;
    return store.WriteDword(name, static_cast<std::uint32_t>(*value));
}

}  // namespace

int SavePointerProfile(SettingsStore& store, PointerSettings& pointer, int profile) {
    if (!ValidProfile(profile)) return 0;
    std::optional<int> wheel = pointer.WheelScrollLines();
    if (wheel == kWheelOnePage) wheel = kStoredOnePageLines;
    const int written = WriteIfKnown(store, MotionSpeedValueName(profile), pointer.Speed()) +
                        WriteIfKnown(store, DoubleClickSpeedValueName(profile), pointer.DoubleClickTime()) +
                        WriteIfKnown(store, WheelScrollLinesValueName(profile), wheel);
    return written == 3 ? 1 : 0;
}

PointerValues LoadPointerProfile(SettingsStore& store, int profile) {
    PointerValues v;
    if (!ValidProfile(profile)) return v;
    v.speed = Clamp(ReadOr(store, MotionSpeedValueName(profile), kDefaultPointerSpeed),
                    kPointerSpeedMin, kPointerSpeedMax);
    v.doubleClickMs = Clamp(ReadOr(store, DoubleClickSpeedValueName(profile), kDefaultDoubleClickMs),
                            kDoubleClickMinMs, kDoubleClickMaxMs);
    const std::uint32_t wheel = ReadOr(store, WheelScrollLinesValueName(profile), kDefaultWheelLines);
    v.wheelLines = wheel > kStoredOnePageLines ? kWheelOnePage : static_cast<int>(wheel);
    return v;
}

PointerOutcome ApplyPointerProfile(SettingsStore& store, PointerSettings& pointer, int profile) {
    if (!ValidProfile(profile)) return {PointerResult::Failed, PointerResult::Failed, PointerResult::Failed};
    const PointerValues v = LoadPointerProfile(store, profile);
    return PointerOutcome{pointer.SetSpeed(v.speed), pointer.SetDoubleClickTime(v.doubleClickMs),
                          pointer.SetWheelScrollLines(v.wheelLines)};
}

}  // namespace pallix

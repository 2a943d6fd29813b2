#include "common/SettingNames.h"

#include <array>
#include <string>

#include "common/Messages.h"

namespace pallix {

namespace {

using ButtonTable = std::array<std::string, kProfileCount * kButtonValueCount>;
using ProfileTable = std::array<std::string, kProfileCount>;

ButtonTable MakeButtonTable(const char* suffix) {
    ButtonTable t;
    for (int p = 0; p < kProfileCount; ++p)
        for (int k = 0; k < kButtonValueCount; ++k)
            t[p * kButtonValueCount + k] =
                "PF" + std::to_string(p) + "T" + std::to_string(k + 1) + suffix;
    return t;
}

ProfileTable MakeProfileTable(const char* suffix) {
    ProfileTable t;
    for (int p = 0; p < kProfileCount; ++p) t[p] = "PF" + std::to_string(p + 1) + suffix;
    return t;
}

const ButtonTable& AppPaths() { static const ButtonTable t = MakeButtonTable(" AP"); return t; }
const ButtonTable& AppNames() { static const ButtonTable t = MakeButtonTable(" AP Name"); return t; }
const ButtonTable& MacroNames() { static const ButtonTable t = MakeButtonTable(" Macro Name"); return t; }
const ProfileTable& Speeds() { static const ProfileTable t = MakeProfileTable(" Motion Speed"); return t; }
const ProfileTable& DoubleClicks() { static const ProfileTable t = MakeProfileTable(" Double-Click_speed"); return t; }
const ProfileTable& WheelLines() { static const ProfileTable t = MakeProfileTable(" Wheel Scroll Lines"); return t; }

std::string_view ButtonEntry(const ButtonTable& t, int profile, int button) {
    if (profile < 0 || profile >= kProfileCount || button < 0 || button >= kButtonValueCount) return {};
    return t[profile * kButtonValueCount + button];
}

std::string_view ProfileEntry(const ProfileTable& t, int profile) {
    if (profile < 0 || profile >= kProfileCount) return {};
    return t[profile];
}

template <typename Table>
bool Contains(const Table& t, std::string_view name) {
    for (const auto& entry : t)
        if (entry == name) return true;
    return false;
}

}  // namespace

std::string_view AppPathValueName(int profile, int button) { return ButtonEntry(AppPaths(), profile, button); }
std::string_view AppNameValueName(int profile, int button) { return ButtonEntry(AppNames(), profile, button); }
std::string_view MacroNameValueName(int profile, int button) { return ButtonEntry(MacroNames(), profile, button); }
std::string_view MotionSpeedValueName(int profile) { return ProfileEntry(Speeds(), profile); }
std::string_view DoubleClickSpeedValueName(int profile) { return ProfileEntry(DoubleClicks(), profile); }
std::string_view WheelScrollLinesValueName(int profile) { return ProfileEntry(WheelLines(), profile); }

std::optional<ValueType> KnownValueType(std::string_view name) {
    for (std::string_view s : {kPathValue, kLocateAppValue})
        if (name == s) return ValueType::String;
    for (std::string_view d : {kLanguageValue, kDisableSystemTrayValue, kDisableOsdValue, kProcessHandle,
                               kCurrentDialog, kConfigureHandle, kMacroEditHandle, kLedEditHandle,
                               kOsdHandle, kMonitorHandle})
        if (name == d) return ValueType::Dword;
    if (Contains(AppPaths(), name) || Contains(AppNames(), name) || Contains(MacroNames(), name))
        return ValueType::String;
    if (Contains(Speeds(), name) || Contains(DoubleClicks(), name) || Contains(WheelLines(), name))
        return ValueType::Dword;
    return std::nullopt;
}

}  // namespace pallix

#pragma once
// Names of the values in the settings store, and their types. The handle names
// live with the message catalogue (common/Messages.h).
#include <optional>
#include <string_view>

namespace pallix {

// The mouse's profiles (memmap::kProfileCount, which callers above common/ use); this
// floor sits below device/, so the settings names keep their own count, checked equal
// in the tests.
inline constexpr int kProfileCount = 5;
inline constexpr int kButtonValueCount = 9;  // buttons with launch and macro names

inline constexpr const char* kPathValue = "Path";
inline constexpr const char* kLocateAppValue = "Locate APP";
inline constexpr const char* kLanguageValue = "Language";
inline constexpr const char* kDisableSystemTrayValue = "Disable System Tray";
inline constexpr const char* kDisableOsdValue = "Disable OSD";

// Per-button values: profile 0-4 and button 0-8 ("PF0T1 AP" is profile 0, button 0).
// Empty for anything out of range.
std::string_view AppPathValueName(int profile, int button);
std::string_view AppNameValueName(int profile, int button);
std::string_view MacroNameValueName(int profile, int button);

// Pointer values of profile 0-4 ("PF1 Motion Speed" is profile 0). Empty when out
// of range.
std::string_view MotionSpeedValueName(int profile);
std::string_view DoubleClickSpeedValueName(int profile);
std::string_view WheelScrollLinesValueName(int profile);

enum class ValueType { Dword, String };

// The type a value of that name has in the store; nullopt for names we never use.
std::optional<ValueType> KnownValueType(std::string_view name);

}  // namespace pallix

#pragma once
// The desktop's pointer settings: speed, double-click time, wheel scroll lines.
// Backends live in platform/pointer; each says per setting what it achieved.
#include <optional>

namespace pallix {

inline constexpr int kPointerSpeedMin = 1;
inline constexpr int kPointerSpeedMax = 20;
inline constexpr int kDoubleClickMinMs = 1;
inline constexpr int kDoubleClickMaxMs = 5000;
inline constexpr int kWheelLinesMin = 1;
inline constexpr int kWheelLinesMax = 100;
// Wheel setting meaning "scroll one page per notch".
inline constexpr int kWheelOnePage = -1;
// Qt-based desktops have no "one page" wheel setting; this many lines stand for it
// there (Qt never scrolls more than a page per notch).
inline constexpr int kOnePageAsLines = 10000;

enum class PointerResult {
    Applied,         // the desktop uses the new value
    OwnWindowsOnly,  // only this program's own windows follow it
    Unsupported,     // nothing here can hold this setting
    Failed,          // it could have been set, but setting it went wrong
};

const char* PointerResultName(PointerResult r);

enum class PointerSetting { Speed, DoubleClick, Wheel };

const char* PointerSettingName(PointerSetting s);  // "speed", "double-click", "wheel lines"

class PointerSettings {
public:
    virtual ~PointerSettings() = default;

    // Current values; nullopt when this backend cannot tell.
    virtual std::optional<int> Speed() = 0;             // 1-20
    virtual std::optional<int> DoubleClickTime() = 0;   // ms
    virtual std::optional<int> WheelScrollLines() = 0;  // 1-100 or kWheelOnePage

    // Values outside the ranges above are refused with Failed.
    virtual PointerResult SetSpeed(int speed) = 0;
    virtual PointerResult SetDoubleClickTime(int ms) = 0;
    virtual PointerResult SetWheelScrollLines(int lines) = 0;

    // What setting this would achieve now, without changing anything: Applied,
    // OwnWindowsOnly, Unsupported, or Failed when it could but cannot at present
    // (a locked or unwritable configuration file, for instance).
    virtual PointerResult Reach(PointerSetting setting) = 0;
    // Who carries the settings, for people: "GNOME", "KDE Plasma", ...
    virtual const char* Name() const = 0;
};

constexpr bool ValidSpeed(int speed) { return speed >= kPointerSpeedMin && speed <= kPointerSpeedMax; }
constexpr bool ValidDoubleClickTime(int ms) { return ms >= kDoubleClickMinMs && ms <= kDoubleClickMaxMs; }
constexpr bool ValidWheelLines(int lines) {
    return lines == kWheelOnePage || (lines >= kWheelLinesMin && lines <= kWheelLinesMax);
}

}  // namespace pallix

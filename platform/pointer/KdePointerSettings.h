#pragma once
// KDE Plasma's pointer settings. Speed: the pointer acceleration of every mouse
// through KWin's input devices (Plasma on Wayland; KWin on X11 has none, and the
// speed is then the X server's). Double-click time and wheel lines: "DoubleClickInterval"
// and "WheelScrollLines" of group [KDE] in kdeglobals, which every KDE and Qt
// program of the session reads, announced on the session bus so that running
// programs take them at once.
#include <memory>

#include "common/PointerSettings.h"
#include "platform/pointer/KWinInputDevices.h"

struct _GDBusConnection;

namespace pallix {

// Plasma's defaults, in effect while kdeglobals says nothing.
inline constexpr int kKdeDefaultDoubleClickMs = 400;
inline constexpr int kKdeDefaultWheelLines = 3;

class KdePointerSettings final : public PointerSettings {
public:
    // nullptr unless this is a Plasma session (XDG_CURRENT_DESKTOP names KDE) with
    // a session bus.
    static std::unique_ptr<KdePointerSettings> Create();
    ~KdePointerSettings() override;

    std::optional<int> Speed() override;
    std::optional<int> DoubleClickTime() override;
    std::optional<int> WheelScrollLines() override;
    PointerResult SetSpeed(int speed) override;
    PointerResult SetDoubleClickTime(int ms) override;
    PointerResult SetWheelScrollLines(int lines) override;
    PointerResult Reach(PointerSetting setting) override;
    const char* Name() const override { return "KDE Plasma"; }

private:
    explicit KdePointerSettings(_GDBusConnection* bus);
    PointerResult WriteGlobal(const char* key, int value);

    _GDBusConnection* bus_;
    KWinInputDevices kwin_;
};

// Whether XDG_CURRENT_DESKTOP (a colon-separated list) names KDE.
bool KdeSession();

}  // namespace pallix

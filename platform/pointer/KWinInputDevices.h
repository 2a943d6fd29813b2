#pragma once
// KWin's input devices on the session bus (org.kde.KWin, /org/kde/KWin/InputDevice):
// the pointer acceleration of every mouse, as Plasma's own mouse settings set it
// on Wayland. KWin keeps what is set there in its configuration.
#include <optional>
#include <string>
#include <vector>

struct _GDBusConnection;

namespace pallix {

class KWinInputDevices {
public:
    explicit KWinInputDevices(_GDBusConnection* bus);  // takes a reference
    ~KWinInputDevices();
    KWinInputDevices(const KWinInputDevices&) = delete;
    KWinInputDevices& operator=(const KWinInputDevices&) = delete;

    struct Mouse {
        std::string sysName;  // "event4"
        double acceleration = 0;  // -1..1
    };
    // Pointer devices other than touchpads whose acceleration can be set; nullopt
    // when KWin does not answer (not running, or a KWin without this interface).
    std::optional<std::vector<Mouse>> Mice();
    bool SetAcceleration(const std::string& sysName, double acceleration);

private:
    _GDBusConnection* bus_;
};

}  // namespace pallix

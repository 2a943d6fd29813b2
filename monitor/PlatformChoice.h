#pragma once
// Which Qt platform the monitor runs on. The display has to place itself above
// every other window, which a native Wayland client cannot do, so on a Wayland
// session the monitor runs through XWayland - chosen for itself only, so that the
// programs it starts get the environment it was given. Without XWayland it runs on
// the session's own platform with the display off, rather than not at all.
#include <functional>
#include <string>

namespace pallix::monitor {

// Qt's own option that names the platform.
inline constexpr const char* kQtPlatformOption = "-platform";

struct PlatformChoice {
    std::string platform;  // for "-platform"; empty: Qt's own choice
    bool display = true;   // load the display library
    std::string notice;    // why the display is off; empty when it is on
};

// waylandDisplay and qpaPlatform: the environment's WAYLAND_DISPLAY and
// QT_QPA_PLATFORM (null when unset); xReachable is asked only when it matters.
PlatformChoice ChoosePlatform(const char* waylandDisplay, const char* qpaPlatform,
                              const std::function<bool()>& xReachable);

// True when an X server (XWayland on a Wayland session) accepts a connection.
bool XServerReachable();

}  // namespace pallix::monitor

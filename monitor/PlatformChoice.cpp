#include "monitor/PlatformChoice.h"

#include <xcb/xcb.h>

namespace pallix::monitor {

PlatformChoice ChoosePlatform(const char* waylandDisplay, const char* qpaPlatform,
                              const std::function<bool()>& xReachable) {
    if (!waylandDisplay || !*waylandDisplay || (qpaPlatform && *qpaPlatform)) return {};
    if (xReachable && xReachable()) return {"xcb", true, {}};
    // Without Qt's Wayland plugin the monitor still relays, launches and applies
    // pointer settings, with no window at all.
    return {"wayland;offscreen", false,
            "no X server (XWayland) on this Wayland session: the on-screen display is off; mouse events, launcher buttons and pointer settings still work"};
}

bool XServerReachable() {
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    const bool reachable = connection && xcb_connection_has_error(connection) == 0;
    if (connection) xcb_disconnect(connection);
    return reachable;
}

}  // namespace pallix::monitor

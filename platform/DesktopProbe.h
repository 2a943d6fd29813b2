#pragma once
// What the desktop offers the monitor, asked the way the monitor's toolkit asks: an X
// server for the on-screen display, and a notification area for the tray icon (an
// XEmbed tray on the X screen, or a StatusNotifier host on the session bus).
#include <string>

namespace pallix {

struct DesktopState {
    std::string display;         // $DISPLAY
    std::string waylandDisplay;  // $WAYLAND_DISPLAY
    bool xServer = false;        // $DISPLAY could be opened
    bool xembedTray = false;     // _NET_SYSTEM_TRAY_Sn has an owner
    bool sessionBus = false;
    bool statusNotifierHost = false;  // org.kde.StatusNotifierWatcher has an owner
};

DesktopState ProbeDesktop();

}  // namespace pallix

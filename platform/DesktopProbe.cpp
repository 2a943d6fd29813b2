#include "platform/DesktopProbe.h"

#include <cstdlib>
#include <string>

#include <X11/Xlib.h>
#include <gio/gio.h>

#include "platform/pointer/SessionBus.h"

namespace pallix {

namespace {

std::string Env(const char* name) {
    const char* v = std::getenv(name);
    return v ? v : "";
}

void ProbeX(DesktopState& state) {
    if (state.display.empty()) return;
    Display* x = XOpenDisplay(state.display.c_str());
    if (!x) return;
    state.xServer = true;
    const std::string name = "_NET_SYSTEM_TRAY_S" + std::to_string(DefaultScreen(x));
    const Atom selection = XInternAtom(x, name.c_str(), True);
    state.xembedTray = selection != None && XGetSelectionOwner(x, selection) != None;
    XCloseDisplay(x);
}

void ProbeBus(DesktopState& state) {
    GDBusConnection* bus = SessionBus();
    if (!bus) return;
    state.sessionBus = true;
    GError* error = nullptr;
    GVariant* reply = g_dbus_connection_call_sync(
        bus, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", "NameHasOwner",
        g_variant_new("(s)", "org.kde.StatusNotifierWatcher"), G_VARIANT_TYPE("(b)"), G_DBUS_CALL_FLAGS_NONE, 2000,
        nullptr, &error);
    if (reply) {
        gboolean owned = FALSE;
        g_variant_get(reply, "(b)", &owned);
        state.statusNotifierHost = owned;
        g_variant_unref(reply);
    }
    g_clear_error(&error);
    g_object_unref(bus);
}

}  // namespace

DesktopState ProbeDesktop() {
    DesktopState state;
    state.display = Env("DISPLAY");
    state.waylandDisplay = Env("WAYLAND_DISPLAY");
    ProbeX(state);
    ProbeBus(state);
    return state;
}

}  // namespace pallix

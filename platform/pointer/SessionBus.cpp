#include "platform/pointer/SessionBus.h"

#include <cstdlib>
#include <string>

#include <gio/gio.h>
#include <sys/stat.h>

namespace pallix {

GDBusConnection* SessionBus() {
    const char* address = std::getenv("DBUS_SESSION_BUS_ADDRESS");
    if (!address || !*address) {
        const char* runtime = std::getenv("XDG_RUNTIME_DIR");
        struct stat st {};
        if (!runtime || stat((std::string(runtime) + "/bus").c_str(), &st) != 0 || !S_ISSOCK(st.st_mode))
            return nullptr;
    }
    GDBusConnection* bus = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr);
    // The monitor outlives a restarted bus better than GLib's exit() would let it.
    if (bus) g_dbus_connection_set_exit_on_close(bus, FALSE);
    return bus;
}

}  // namespace pallix

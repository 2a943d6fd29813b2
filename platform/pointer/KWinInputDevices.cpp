#include "platform/pointer/KWinInputDevices.h"

#include <gio/gio.h>

namespace pallix {

namespace {

constexpr const char* kService = "org.kde.KWin";
constexpr const char* kManagerPath = "/org/kde/KWin/InputDevice";
constexpr const char* kManagerInterface = "org.kde.KWin.InputDeviceManager";
constexpr const char* kDeviceInterface = "org.kde.KWin.InputDevice";
// The monitor calls this on its only thread: a hung KWin must not hang it for long.
constexpr int kTimeoutMs = 1000;

std::string DevicePath(const std::string& sysName) { return std::string(kManagerPath) + "/" + sysName; }

// A D-Bus object path element takes only [A-Za-z0-9_].
bool ValidSysName(const std::string& name) {
    if (name.empty()) return false;
    for (char c : name)
        if (!g_ascii_isalnum(c) && c != '_') return false;
    return true;
}

GVariant* Call(GDBusConnection* bus, const std::string& path, const char* method, GVariant* args,
               const char* replyType) {
    return g_dbus_connection_call_sync(bus, kService, path.c_str(), "org.freedesktop.DBus.Properties", method, args,
                                       G_VARIANT_TYPE(replyType), G_DBUS_CALL_FLAGS_NO_AUTO_START, kTimeoutMs,
                                       nullptr, nullptr);
}

bool BoolOf(GVariant* dict, const char* key) {
    gboolean v = FALSE;
    return g_variant_lookup(dict, key, "b", &v) && v;
}

}  // namespace

KWinInputDevices::KWinInputDevices(GDBusConnection* bus) : bus_(G_DBUS_CONNECTION(g_object_ref(bus))) {}

KWinInputDevices::~KWinInputDevices() { g_object_unref(bus_); }

std::optional<std::vector<KWinInputDevices::Mouse>> KWinInputDevices::Mice() {
    GVariant* reply = Call(bus_, kManagerPath, "Get", g_variant_new("(ss)", kManagerInterface, "devicesSysNames"), "(v)");
    if (!reply) return std::nullopt;
    GVariant* names = nullptr;
    g_variant_get(reply, "(v)", &names);
    g_variant_unref(reply);
    if (!g_variant_is_of_type(names, G_VARIANT_TYPE_STRING_ARRAY)) {
        g_variant_unref(names);
        return std::nullopt;
    }
    std::vector<Mouse> mice;
    GVariantIter it;
    g_variant_iter_init(&it, names);
    const gchar* name = nullptr;
    while (g_variant_iter_next(&it, "&s", &name)) {
        const std::string sysName = name;
        if (!ValidSysName(sysName)) continue;
        GVariant* all = Call(bus_, DevicePath(sysName), "GetAll", g_variant_new("(s)", kDeviceInterface), "(a{sv})");
        if (!all) continue;  // gone meanwhile
        GVariant* props = g_variant_get_child_value(all, 0);
        double acceleration = 0;
        if (BoolOf(props, "pointer") && !BoolOf(props, "touchpad") && BoolOf(props, "supportsPointerAcceleration") &&
            g_variant_lookup(props, "pointerAcceleration", "d", &acceleration))
            mice.push_back({sysName, acceleration});
        g_variant_unref(props);
        g_variant_unref(all);
    }
    g_variant_unref(names);
    return mice;
}

bool KWinInputDevices::SetAcceleration(const std::string& sysName, double acceleration) {
    if (!ValidSysName(sysName)) return false;
    GVariant* reply = Call(bus_, DevicePath(sysName), "Set",
                           g_variant_new("(ssv)", kDeviceInterface, "pointerAcceleration", g_variant_new_double(acceleration)),
                           "()");
    if (!reply) return false;
    g_variant_unref(reply);
    return true;
}

}  // namespace pallix

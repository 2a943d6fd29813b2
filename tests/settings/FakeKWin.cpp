// Stands in for KWin on a private session bus: owns org.kde.KWin and serves its
// input-device interface for the devices named on the command line, keeping what
// is set. Prints "ready" once the name is owned; ends on SIGTERM.
//   fake_kwin SYSNAME:KIND:ACCELERATION ...   (KIND: mouse, touchpad, keyboard, fixed)
// "fixed" is a mouse whose acceleration cannot be set.
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include <gio/gio.h>
#include <glib-unix.h>

namespace {

constexpr const char* kXml =
    "<node>"
    " <interface name='org.kde.KWin.InputDeviceManager'>"
    "  <property name='devicesSysNames' type='as' access='read'/>"
    " </interface>"
    " <interface name='org.kde.KWin.InputDevice'>"
    "  <property name='sysName' type='s' access='read'/>"
    "  <property name='name' type='s' access='read'/>"
    "  <property name='pointer' type='b' access='read'/>"
    "  <property name='touchpad' type='b' access='read'/>"
    "  <property name='keyboard' type='b' access='read'/>"
    "  <property name='supportsPointerAcceleration' type='b' access='read'/>"
    "  <property name='pointerAcceleration' type='d' access='readwrite'/>"
    " </interface>"
    "</node>";

struct Device {
    std::string sysName, kind;
    double acceleration = 0;
};

std::map<std::string, Device> g_devices;
std::vector<std::string> g_order;
GDBusNodeInfo* g_info = nullptr;

GVariant* GetManager(GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar* property, GError**,
                     gpointer) {
    if (std::string(property) != "devicesSysNames") return nullptr;
    GVariantBuilder b;
    g_variant_builder_init(&b, G_VARIANT_TYPE_STRING_ARRAY);
    for (const auto& n : g_order) g_variant_builder_add(&b, "s", n.c_str());
    return g_variant_builder_end(&b);
}

GVariant* GetDevice(GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar* property, GError**,
                    gpointer data) {
    const Device& d = *static_cast<Device*>(data);
    const std::string p = property;
    const bool mouse = d.kind == "mouse" || d.kind == "fixed";
    if (p == "sysName") return g_variant_new_string(d.sysName.c_str());
    if (p == "name") return g_variant_new_string(("Fake " + d.kind).c_str());
    if (p == "pointer") return g_variant_new_boolean(mouse || d.kind == "touchpad");
    if (p == "touchpad") return g_variant_new_boolean(d.kind == "touchpad");
    if (p == "keyboard") return g_variant_new_boolean(d.kind == "keyboard");
    if (p == "supportsPointerAcceleration") return g_variant_new_boolean(d.kind != "keyboard" && d.kind != "fixed");
    if (p == "pointerAcceleration") return g_variant_new_double(d.acceleration);
    return nullptr;
}

gboolean SetDevice(GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar* property, GVariant* value,
                   GError** error, gpointer data) {
    Device& d = *static_cast<Device*>(data);
    if (std::string(property) != "pointerAcceleration" || d.kind == "fixed" || d.kind == "keyboard") {
        g_set_error(error, G_DBUS_ERROR, G_DBUS_ERROR_PROPERTY_READ_ONLY, "read only");
        return FALSE;
    }
    d.acceleration = g_variant_get_double(value);
    return TRUE;
}

void OnBus(GDBusConnection* bus, const gchar*, gpointer) {
    static const GDBusInterfaceVTable manager{nullptr, GetManager, nullptr, {}};
    static const GDBusInterfaceVTable device{nullptr, GetDevice, SetDevice, {}};
    g_dbus_connection_register_object(bus, "/org/kde/KWin/InputDevice", g_info->interfaces[0], &manager, nullptr,
                                      nullptr, nullptr);
    for (auto& [name, d] : g_devices)
        g_dbus_connection_register_object(bus, ("/org/kde/KWin/InputDevice/" + name).c_str(), g_info->interfaces[1],
                                          &device, &d, nullptr, nullptr);
}

void OnName(GDBusConnection*, const gchar*, gpointer) {
    std::printf("ready\n");
    std::fflush(stdout);
}

void OnLost(GDBusConnection*, const gchar*, gpointer loop) { g_main_loop_quit(static_cast<GMainLoop*>(loop)); }

gboolean OnTerm(gpointer loop) {
    g_main_loop_quit(static_cast<GMainLoop*>(loop));
    return G_SOURCE_REMOVE;
}

}  // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        gchar** parts = g_strsplit(argv[i], ":", 3);
        if (g_strv_length(parts) != 3) return 2;
        g_devices[parts[0]] = Device{parts[0], parts[1], std::atof(parts[2])};
        g_order.push_back(parts[0]);
        g_strfreev(parts);
    }
    g_info = g_dbus_node_info_new_for_xml(kXml, nullptr);
    GMainLoop* loop = g_main_loop_new(nullptr, FALSE);
    g_unix_signal_add(SIGTERM, OnTerm, loop);
    g_bus_own_name(G_BUS_TYPE_SESSION, "org.kde.KWin", G_BUS_NAME_OWNER_FLAGS_NONE, OnBus, OnName, OnLost, loop,
                   nullptr);
    g_main_loop_run(loop);
    return 0;
}

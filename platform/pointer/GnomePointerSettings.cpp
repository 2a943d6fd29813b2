#define G_SETTINGS_ENABLE_BACKEND
#include "platform/pointer/GnomePointerSettings.h"

#include <cstdlib>
#include <cstring>

#include <gio/gio.h>
#include <gio/gsettingsbackend.h>

#include "platform/pointer/SessionBus.h"
#include "platform/pointer/SpeedScale.h"

namespace pallix {

namespace {

constexpr const char* kSchema = "org.gnome.desktop.peripherals.mouse";
constexpr const char* kSpeedKey = "speed";
constexpr const char* kDoubleClickKey = "double-click";

bool SessionBusReachable() {
    GDBusConnection* bus = SessionBus();
    if (!bus) return false;
    g_object_unref(bus);
    return true;
}

bool BackendKeepsWrites() {
    const char* chosen = std::getenv("GSETTINGS_BACKEND");
    if (chosen && (!std::strcmp(chosen, "memory") || !std::strcmp(chosen, "null"))) return false;
    GSettingsBackend* backend = g_settings_backend_get_default();
    const char* type = G_OBJECT_TYPE_NAME(backend);
    const bool real = std::strcmp(type, "GMemorySettingsBackend") != 0 && std::strcmp(type, "GNullSettingsBackend") != 0;
    g_object_unref(backend);
    return real;
}

PointerResult Synced(gboolean written) {
    if (!written) return PointerResult::Failed;
    g_settings_sync();
    return PointerResult::Applied;
}

}  // namespace

bool GnomeMouseSchemaInstalled() {
    GSettingsSchemaSource* source = g_settings_schema_source_get_default();
    if (!source) return false;
    GSettingsSchema* schema = g_settings_schema_source_lookup(source, kSchema, TRUE);
    if (!schema) return false;
    const bool ok = g_settings_schema_has_key(schema, kSpeedKey) && g_settings_schema_has_key(schema, kDoubleClickKey);
    g_settings_schema_unref(schema);
    return ok;
}

std::unique_ptr<GnomePointerSettings> GnomePointerSettings::Create() {
    if (!GnomeMouseSchemaInstalled() || !SessionBusReachable() || !BackendKeepsWrites()) return nullptr;
    return std::unique_ptr<GnomePointerSettings>(new GnomePointerSettings(g_settings_new(kSchema)));
}

GnomePointerSettings::~GnomePointerSettings() { g_object_unref(settings_); }

std::optional<int> GnomePointerSettings::Speed() { return LibinputToSpeed(g_settings_get_double(settings_, kSpeedKey)); }

std::optional<int> GnomePointerSettings::DoubleClickTime() {
    const int ms = g_settings_get_int(settings_, kDoubleClickKey);
    return ValidDoubleClickTime(ms) ? std::optional<int>(ms) : std::nullopt;
}

PointerResult GnomePointerSettings::SetSpeed(int speed) {
    if (!ValidSpeed(speed)) return PointerResult::Failed;
    return Synced(g_settings_set_double(settings_, kSpeedKey, SpeedToLibinput(speed)));
}

PointerResult GnomePointerSettings::SetDoubleClickTime(int ms) {
    if (!ValidDoubleClickTime(ms)) return PointerResult::Failed;
    return Synced(g_settings_set_int(settings_, kDoubleClickKey, ms));
}

}  // namespace pallix

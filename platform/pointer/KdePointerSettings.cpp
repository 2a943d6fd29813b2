#include "platform/pointer/KdePointerSettings.h"

#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include <gio/gio.h>
#include <unistd.h>

#include "platform/pointer/KdeConfigFile.h"
#include "platform/pointer/SessionBus.h"
#include "platform/pointer/SpeedScale.h"

namespace pallix {

namespace {

constexpr const char* kGlobals = "kdeglobals";
constexpr const char* kGroup = "KDE";
constexpr const char* kDoubleClickKey = "DoubleClickInterval";
constexpr const char* kWheelKey = "WheelScrollLines";

// KGlobalSettings' change notice: type SettingsChanged (3), category SETTINGS_MOUSE (0).
constexpr gint32 kSettingsChanged = 3;
constexpr gint32 kSettingsMouse = 0;

// Both notices KDE programs listen to: KConfigWatcher's (group -> changed keys, as
// byte arrays) and the older KGlobalSettings one that Qt's Plasma integration reads
// the mouse settings again on.
bool Announce(GDBusConnection* bus, const char* key) {
    GVariantBuilder keys;
    g_variant_builder_init(&keys, G_VARIANT_TYPE("aay"));
    // The bytes of the name without a terminating zero, as KConfig itself sends it.
    g_variant_builder_add_value(&keys, g_variant_new_fixed_array(G_VARIANT_TYPE_BYTE, key, std::strlen(key), 1));
    GVariantBuilder groups;
    g_variant_builder_init(&groups, G_VARIANT_TYPE("a{saay}"));
    g_variant_builder_add(&groups, "{saay}", kGroup, &keys);
    const bool watcher = g_dbus_connection_emit_signal(bus, nullptr, "/kdeglobals", "org.kde.kconfig.notify",
                                                       "ConfigChanged", g_variant_new("(a{saay})", &groups), nullptr);
    const bool global = g_dbus_connection_emit_signal(bus, nullptr, "/KGlobalSettings", "org.kde.KGlobalSettings",
                                                      "notifyChange", g_variant_new("(ii)", kSettingsChanged, kSettingsMouse),
                                                      nullptr);
    return watcher && global && g_dbus_connection_flush_sync(bus, nullptr, nullptr);
}

bool GlobalsWritable() {
    const std::string path = KdeUserConfigPath(kGlobals);
    if (path.empty()) return false;
    if (access(path.c_str(), W_OK) == 0) return true;
    const std::string dir = path.substr(0, path.rfind('/'));
    return access(path.c_str(), F_OK) != 0 && (access(dir.c_str(), W_OK) == 0 || access(dir.c_str(), F_OK) != 0);
}

}  // namespace

bool KdeSession() {
    const char* desktops = std::getenv("XDG_CURRENT_DESKTOP");
    if (!desktops) return false;
    std::string_view list = desktops;
    while (!list.empty()) {
        const auto colon = list.find(':');
        const std::string_view name = list.substr(0, colon);
        if (name.size() == 3 && g_ascii_strncasecmp(name.data(), "KDE", 3) == 0) return true;
        if (colon == std::string_view::npos) break;
        list.remove_prefix(colon + 1);
    }
    return false;
}

std::unique_ptr<KdePointerSettings> KdePointerSettings::Create() {
    if (!KdeSession()) return nullptr;
    GDBusConnection* bus = SessionBus();
    if (!bus) return nullptr;
    return std::unique_ptr<KdePointerSettings>(new KdePointerSettings(bus));
}

KdePointerSettings::KdePointerSettings(GDBusConnection* bus) : bus_(bus), kwin_(bus) {}

KdePointerSettings::~KdePointerSettings() { g_object_unref(bus_); }

std::optional<int> KdePointerSettings::Speed() {
    const auto mice = kwin_.Mice();
    if (!mice || mice->empty()) return std::nullopt;
    return LibinputToSpeed(mice->front().acceleration);
}

std::optional<int> KdePointerSettings::DoubleClickTime() {
    const int ms = ReadKdeInt(kGlobals, kGroup, kDoubleClickKey).value_or(kKdeDefaultDoubleClickMs);
    return ValidDoubleClickTime(ms) ? std::optional<int>(ms) : std::nullopt;
}

std::optional<int> KdePointerSettings::WheelScrollLines() {
    const int lines = ReadKdeInt(kGlobals, kGroup, kWheelKey).value_or(kKdeDefaultWheelLines);
    if (lines >= kOnePageAsLines) return kWheelOnePage;
    return ValidWheelLines(lines) ? std::optional<int>(lines) : std::nullopt;
}

PointerResult KdePointerSettings::SetSpeed(int speed) {
    if (!ValidSpeed(speed)) return PointerResult::Failed;
    const auto mice = kwin_.Mice();
    if (!mice || mice->empty()) return PointerResult::Unsupported;
    bool all = true;
    for (const auto& m : *mice) all = kwin_.SetAcceleration(m.sysName, SpeedToLibinput(speed)) && all;
    return all ? PointerResult::Applied : PointerResult::Failed;
}

PointerResult KdePointerSettings::WriteGlobal(const char* key, int value) {
    switch (WriteKdeEntry(kGlobals, kGroup, key, std::to_string(value))) {
    case KdeWrite::Unchanged: return PointerResult::Applied;
    case KdeWrite::Written: return Announce(bus_, key) ? PointerResult::Applied : PointerResult::Failed;
    case KdeWrite::Locked:
    case KdeWrite::Failed: break;
    }
    return PointerResult::Failed;
}

PointerResult KdePointerSettings::SetDoubleClickTime(int ms) {
    if (!ValidDoubleClickTime(ms)) return PointerResult::Failed;
    return WriteGlobal(kDoubleClickKey, ms);
}

PointerResult KdePointerSettings::SetWheelScrollLines(int lines) {
    if (!ValidWheelLines(lines)) return PointerResult::Failed;
    return WriteGlobal(kWheelKey, lines == kWheelOnePage ? kOnePageAsLines : lines);
}

PointerResult KdePointerSettings::Reach(PointerSetting setting) {
    if (setting == PointerSetting::Speed) {
        const auto mice = kwin_.Mice();
        return mice && !mice->empty() ? PointerResult::Applied : PointerResult::Unsupported;
    }
    const char* key = setting == PointerSetting::DoubleClick ? kDoubleClickKey : kWheelKey;
    return GlobalsWritable() && !KdeEntryLocked(kGlobals, kGroup, key) ? PointerResult::Applied : PointerResult::Failed;
}

}  // namespace pallix

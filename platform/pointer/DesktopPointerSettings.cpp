#include "platform/pointer/DesktopPointerSettings.h"

#include <cstdlib>
#include <cstring>

#include "platform/pointer/GnomePointerSettings.h"
#include "platform/pointer/KdePointerSettings.h"
#include "platform/pointer/LibinputPointerSettings.h"
#include "platform/pointer/XPointerSettings.h"

namespace pallix {

namespace {

bool WaylandSession() {
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    const char* type = std::getenv("XDG_SESSION_TYPE");
    return (wayland && *wayland) || (type && !std::strcmp(type, "wayland"));
}

}  // namespace

std::unique_ptr<CompositePointerSettings> MakeDesktopPointerSettings(
    std::vector<std::unique_ptr<PointerSettings>> extra) {
    std::vector<std::unique_ptr<PointerSettings>> backends;
    // GNOME's settings may well be installed under Plasma too, but reach nothing there.
    if (auto kde = KdePointerSettings::Create()) backends.push_back(std::move(kde));
    else if (auto gnome = GnomePointerSettings::Create()) backends.push_back(std::move(gnome));
    // Where libinput drives the mice the X server's pointer control reaches none of them.
    if (!WaylandSession()) {
        auto libinput = LibinputPointerSettings::Create();
        if (libinput && libinput->HasMice()) backends.push_back(std::move(libinput));
        else if (auto x = XPointerSettings::Create()) backends.push_back(std::move(x));
    }
    for (auto& e : extra)
        if (e) backends.push_back(std::move(e));
    return std::make_unique<CompositePointerSettings>(std::move(backends));
}

}  // namespace pallix

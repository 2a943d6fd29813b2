#pragma once
// The pointer settings this desktop offers.
#include <memory>
#include <vector>

#include "platform/pointer/CompositePointerSettings.h"

namespace pallix {

// KDE Plasma's settings in a Plasma session, GNOME's settings elsewhere where
// usable, under X11 the libinput driver's speed where it drives the mice and the X
// server's pointer control elsewhere (neither on Wayland, where they would only
// reach XWayland), then the extra backends given (the Qt hints of the
// program's own windows, for instance).
std::unique_ptr<CompositePointerSettings> MakeDesktopPointerSettings(
    std::vector<std::unique_ptr<PointerSettings>> extra = {});

}  // namespace pallix

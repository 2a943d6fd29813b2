#include "platform/pointer/XPointerSettings.h"

#include <X11/Xlib.h>

#include "platform/pointer/SpeedScale.h"
#include "platform/pointer/XErrorTrap.h"

namespace pallix {

std::unique_ptr<XPointerSettings> XPointerSettings::Create() {
    Display* d = XOpenDisplay(nullptr);
    return d ? std::unique_ptr<XPointerSettings>(new XPointerSettings(d)) : nullptr;
}

XPointerSettings::~XPointerSettings() { XCloseDisplay(display_); }

std::optional<int> XPointerSettings::Speed() {
    int num = 0, den = 0, threshold = 0;
    XErrorTrap trap(display_);
    XGetPointerControl(display_, &num, &den, &threshold);
    if (trap.Failed()) return std::nullopt;
    return XAccelerationToSpeed(num, den);
}

PointerResult XPointerSettings::SetSpeed(int speed) {
    if (!ValidSpeed(speed)) return PointerResult::Failed;
    const XAcceleration a = SpeedToXAcceleration(speed);
    XErrorTrap trap(display_);
    XChangePointerControl(display_, True, False, a.numerator, a.denominator, 0);
    return trap.Failed() ? PointerResult::Failed : PointerResult::Applied;
}

}  // namespace pallix

#include "platform/pointer/XPointerSettings.h"

#include <X11/Xlib.h>

#include "platform/pointer/SpeedScale.h"

namespace pallix {

namespace {

// Xlib's default handler ends the process on any protocol error; collect it instead.
bool g_xError = false;
int RecordXError(Display*, XErrorEvent*) {
    g_xError = true;
    return 0;
}

class TrapXErrors {
public:
    explicit TrapXErrors(Display* d) : display_(d), previous_(XSetErrorHandler(RecordXError)) { g_xError = false; }
    ~TrapXErrors() { XSetErrorHandler(previous_); }
    bool Failed() {
        XSync(display_, False);
        return g_xError;
    }

private:
    Display* display_;
    XErrorHandler previous_;
};

}  // namespace

std::unique_ptr<XPointerSettings> XPointerSettings::Create() {
    Display* d = XOpenDisplay(nullptr);
    return d ? std::unique_ptr<XPointerSettings>(new XPointerSettings(d)) : nullptr;
}

XPointerSettings::~XPointerSettings() { XCloseDisplay(display_); }

std::optional<int> XPointerSettings::Speed() {
    int num = 0, den = 0, threshold = 0;
    TrapXErrors trap(display_);
    XGetPointerControl(display_, &num, &den, &threshold);
    if (trap.Failed()) return std::nullopt;
    return XAccelerationToSpeed(num, den);
}

PointerResult XPointerSettings::SetSpeed(int speed) {
    if (!ValidSpeed(speed)) return PointerResult::Failed;
    const XAcceleration a = SpeedToXAcceleration(speed);
    TrapXErrors trap(display_);
    XChangePointerControl(display_, True, False, a.numerator, a.denominator, 0);
    return trap.Failed() ? PointerResult::Failed : PointerResult::Applied;
}

}  // namespace pallix

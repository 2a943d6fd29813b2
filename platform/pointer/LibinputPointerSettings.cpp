#include "platform/pointer/LibinputPointerSettings.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>

#include "platform/pointer/SpeedScale.h"
#include "platform/pointer/XErrorTrap.h"

namespace pallix {

namespace {

bool HasProperty(Display* d, int device, Atom property) {
    int count = 0;
    Atom* props = XIListProperties(d, device, &count);
    bool found = false;
    for (int i = 0; i < count && !found; ++i) found = props[i] == property;
    XFree(props);
    return found;
}

}  // namespace

std::unique_ptr<LibinputPointerSettings> LibinputPointerSettings::Create() {
    Display* d = XOpenDisplay(nullptr);
    if (!d) return nullptr;
    int opcode = 0, event = 0, error = 0, major = 2, minor = 0;
    if (!XQueryExtension(d, "XInputExtension", &opcode, &event, &error) || XIQueryVersion(d, &major, &minor) != Success) {
        XCloseDisplay(d);
        return nullptr;
    }
    return std::unique_ptr<LibinputPointerSettings>(new LibinputPointerSettings(d));
}

LibinputPointerSettings::LibinputPointerSettings(Display* display) : display_(display) {
    // Interned without creating them: a server without libinput has neither.
    speedAtom_ = XInternAtom(display_, "libinput Accel Speed", True);
    tappingAtom_ = XInternAtom(display_, "libinput Tapping Enabled", True);
    floatAtom_ = XInternAtom(display_, "FLOAT", False);
}

LibinputPointerSettings::~LibinputPointerSettings() { XCloseDisplay(display_); }

std::vector<int> LibinputPointerSettings::Mice() {
    std::vector<int> mice;
    if (!speedAtom_) speedAtom_ = XInternAtom(display_, "libinput Accel Speed", True);
    if (!tappingAtom_) tappingAtom_ = XInternAtom(display_, "libinput Tapping Enabled", True);
    if (!speedAtom_) return mice;
    XErrorTrap trap(display_);
    int count = 0;
    XIDeviceInfo* devices = XIQueryDevice(display_, XIAllDevices, &count);
    for (int i = 0; i < count; ++i) {
        const XIDeviceInfo& dev = devices[i];
        if (dev.use != XISlavePointer || !dev.enabled) continue;
        if (!HasProperty(display_, dev.deviceid, speedAtom_)) continue;
        if (tappingAtom_ && HasProperty(display_, dev.deviceid, tappingAtom_)) continue;  // a touchpad
        mice.push_back(dev.deviceid);
    }
    XIFreeDeviceInfo(devices);
    if (trap.Failed()) mice.clear();
    return mice;
}

bool LibinputPointerSettings::HasMice() { return !Mice().empty(); }

std::optional<int> LibinputPointerSettings::Speed() {
    for (int device : Mice()) {
        XErrorTrap trap(display_);
        Atom type = 0;
        int format = 0;
        unsigned long items = 0, after = 0;
        unsigned char* data = nullptr;
        const bool read = XIGetProperty(display_, device, speedAtom_, 0, 1, False, floatAtom_, &type, &format, &items,
                                        &after, &data) == Success;
        std::optional<int> speed;
        if (read && !trap.Failed() && type == floatAtom_ && format == 32 && items == 1)
            speed = LibinputToSpeed(*reinterpret_cast<float*>(data));
        if (data) XFree(data);
        if (speed) return speed;
    }
    return std::nullopt;
}

PointerResult LibinputPointerSettings::SetSpeed(int speed) {
    if (!ValidSpeed(speed)) return PointerResult::Failed;
    const std::vector<int> mice = Mice();
    if (mice.empty()) return PointerResult::Unsupported;
    float value = static_cast<float>(SpeedToLibinput(speed));
    XErrorTrap trap(display_);
    for (int device : mice)
        XIChangeProperty(display_, device, speedAtom_, floatAtom_, 32, PropModeReplace,
                         reinterpret_cast<unsigned char*>(&value), 1);
    return trap.Failed() ? PointerResult::Failed : PointerResult::Applied;
}

PointerResult LibinputPointerSettings::Reach(PointerSetting setting) {
    if (setting != PointerSetting::Speed) return PointerResult::Unsupported;
    return HasMice() ? PointerResult::Applied : PointerResult::Unsupported;
}

}  // namespace pallix

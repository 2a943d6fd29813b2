// The libinput backend against a private Xvfb. Xvfb's devices have no driver
// properties, so the test gives them the ones the libinput driver would: one a
// mouse, one a touchpad (the driver itself cannot run without input hardware).
#include "platform/pointer/LibinputPointerSettings.h"

#include <csignal>
#include <cstdlib>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/pointer/DesktopPointerSettings.h"
#include "tests/settings/PrivateBus.h"
#include "tests/settings/Process.h"
#include "tests/support/TempEnv.h"

// After gtest: Xlib defines None, Bool and Status as macros.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>

namespace pallix {
namespace {

class PrivateXvfb {
public:
    explicit PrivateXvfb(const std::string& dir) {
        pid_ = test::StartProcess({"/usr/bin/Xvfb", "-displayfd", "1", "-nolisten", "tcp", "-screen", "0", "640x480x24"},
                                  dir + "/xvfb.out", dir + "/xvfb.err");
        const std::string out = test::WaitForText(dir + "/xvfb.out", "\n");
        if (out.find('\n') != std::string::npos) display_ = ":" + out.substr(0, out.find('\n'));
    }
    ~PrivateXvfb() {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            test::WaitProcess(pid_);
        }
    }
    const std::string& Display() const { return display_; }

private:
    pid_t pid_ = -1;
    std::string display_;
};

std::vector<int> SlavePointers(Display* d) {
    std::vector<int> ids;
    int count = 0;
    XIDeviceInfo* devices = XIQueryDevice(d, XIAllDevices, &count);
    for (int i = 0; i < count; ++i)
        if (devices[i].use == XISlavePointer) ids.push_back(devices[i].deviceid);
    XIFreeDeviceInfo(devices);
    return ids;
}

void PutFloat(Display* d, int device, const char* name, float value) {
    const Atom floatAtom = XInternAtom(d, "FLOAT", False);
    XIChangeProperty(d, device, XInternAtom(d, name, False), floatAtom, 32, PropModeReplace,
                     reinterpret_cast<unsigned char*>(&value), 1);
    XSync(d, False);
}

float GetFloat(Display* d, int device, const char* name) {
    Atom type = 0;
    int format = 0;
    unsigned long items = 0, after = 0;
    unsigned char* data = nullptr;
    XIGetProperty(d, device, XInternAtom(d, name, False), 0, 1, False, AnyPropertyType, &type, &format, &items, &after,
                  &data);
    const float v = data && items == 1 ? *reinterpret_cast<float*>(data) : -99.0f;
    if (data) XFree(data);
    return v;
}

TEST(LibinputPointerSettingsTest, SpeedReachesLibinputMiceButNoTouchpad) {
    if (access("/usr/bin/Xvfb", X_OK) != 0) GTEST_SKIP() << "Xvfb missing";
    test::TempEnv env;
    PrivateXvfb xvfb(env.Root().string());
    ASSERT_FALSE(xvfb.Display().empty()) << test::ReadWholeFile((env.Root() / "xvfb.err").string());
    const char* old = std::getenv("DISPLAY");
    const std::string saved = old ? old : "";
    setenv("DISPLAY", xvfb.Display().c_str(), 1);
    unsetenv("WAYLAND_DISPLAY");
    unsetenv("XDG_CURRENT_DESKTOP");
    unsetenv("DBUS_SESSION_BUS_ADDRESS");

    auto libinput = LibinputPointerSettings::Create();
    ASSERT_TRUE(libinput);
    // A plain server: no libinput, nothing to set here; the old pointer control serves.
    EXPECT_EQ(libinput->Reach(PointerSetting::Speed), PointerResult::Unsupported);
    EXPECT_EQ(libinput->SetSpeed(12), PointerResult::Unsupported);
    EXPECT_EQ(libinput->Speed(), std::nullopt);
    EXPECT_STREQ(MakeDesktopPointerSettings()->Backend(0).Name(), "the X server's pointer control");

    Display* other = XOpenDisplay(xvfb.Display().c_str());
    ASSERT_TRUE(other);
    const std::vector<int> pointers = SlavePointers(other);
    ASSERT_GE(pointers.size(), 1u);
    PutFloat(other, pointers[0], "libinput Accel Speed", 0.0f);
    if (pointers.size() > 1) {
        PutFloat(other, pointers[1], "libinput Accel Speed", 0.3f);
        PutFloat(other, pointers[1], "libinput Tapping Enabled", 1.0f);
    }

    EXPECT_EQ(libinput->Reach(PointerSetting::Speed), PointerResult::Applied);
    EXPECT_EQ(libinput->Reach(PointerSetting::Wheel), PointerResult::Unsupported);
    EXPECT_EQ(libinput->Speed(), 10);
    EXPECT_EQ(libinput->SetSpeed(15), PointerResult::Applied);
    EXPECT_FLOAT_EQ(GetFloat(other, pointers[0], "libinput Accel Speed"), 0.5f);
    if (pointers.size() > 1) {
        EXPECT_FLOAT_EQ(GetFloat(other, pointers[1], "libinput Accel Speed"), 0.3f);
    }
    EXPECT_EQ(libinput->Speed(), 15);
    EXPECT_EQ(libinput->SetSpeed(0), PointerResult::Failed);

    // With libinput mice the old pointer control would report a change nobody sees.
    auto desktop = MakeDesktopPointerSettings();
    ASSERT_EQ(desktop->BackendCount(), 1u);
    EXPECT_STREQ(desktop->Backend(0).Name(), "the X server's libinput driver");
    XCloseDisplay(other);
    libinput.reset();
    desktop.reset();
    if (old) setenv("DISPLAY", saved.c_str(), 1);
    else unsetenv("DISPLAY");
}

}  // namespace
}  // namespace pallix

// pallixctl set-button, set-dpi, set-rate, set-led, set-profile: change one thing in
// the cache of a freshly loaded mouse and apply it the way the configuration
// program does.
#include <cstdio>
#include <functional>
#include <string>

#include "cli/Command.h"
#include "cli/DeviceSession.h"
#include "device/ButtonAssignment.h"
#include "device/DpiScale.h"
#include "device/FunctionTable.h"
#include "device/Lighting.h"
#include "device/MemoryMap.h"

namespace pallix::cli {
namespace {

using namespace memmap;

constexpr int kExitUsage = 2;
constexpr int kExitFailed = 1;

// A change of the cache; returns false after printing why it is refused. Called
// first without a session, to refuse bad arguments before the mouse is touched.
using Change = std::function<bool(DeviceSession*, int profile, const Args& values)>;

int Run(const char* name, const Args& args, std::size_t valueCount, const Change& change, bool applyAfter = true) {
    const auto options = ParseDeviceOptions(args, false);
    if (!options) return kExitUsage;
    if (options->positional.size() != valueCount + 1) {
        std::fprintf(stderr, "pallixctl: %s needs %zu argument(s); see pallixctl help\n", name, valueCount + 1);
        return kExitUsage;
    }
    const auto profile = ParseInt(options->positional[0], 1, kProfileCount);
    if (!profile) {
        std::fprintf(stderr, "pallixctl: profile must be 1-%d\n", kProfileCount);
        return kExitUsage;
    }
    const Args values(options->positional.begin() + 1, options->positional.end());
    if (!change(nullptr, *profile - 1, values)) return kExitUsage;
    auto session = DeviceSession::Open(*options);
    if (!session || !session->Load()) return kExitFailed;
    if (!change(session.get(), *profile - 1, values)) return kExitFailed;
    if (applyAfter && !session->Apply(*profile - 1)) return kExitFailed;
    return 0;
}

std::uint8_t Cached(DeviceSession& s, int address) { return static_cast<std::uint8_t>(s.Memory().Entry(address).value); }

int RateCode(int hz) {
    return hz == 1000 ? kRateCode1000 : hz == 500 ? kRateCode500 : hz == 125 ? kRateCode125 : -1;
}

bool SetButton(DeviceSession* session, int p, const Args& v) {
    const auto button = ParseInt(v[0], 1, kButtonCount);
    const int index = FindFunctionByName(v[1]);
    if (!button) {
        std::fprintf(stderr, "pallixctl: button must be 1-%d\n", kButtonCount);
        return false;
    }
    if (index < 0) {
        std::fprintf(stderr, "pallixctl: unknown function '%s'; one of:", v[1].c_str());
        for (const auto& f : kStandardFunctions) std::fprintf(stderr, " \"%s\"", f.name);
        std::fprintf(stderr, "\n");
        return false;
    }
    if (!session) return true;
    switch (AssignStandardFunction(session->Memory(), p, *button - 1, index)) {
    case AssignResult::kLeftClickRule:
        std::fprintf(stderr, "pallixctl: No L-Button! Button %d is the last CLICK button of profile %d\n", *button,
                     p + 1);
        return false;
    case AssignResult::kBadArgument: return false;
    case AssignResult::kClean:
    case AssignResult::kDirty: break;
    }
    std::printf("profile %d button %d: %s\n", p + 1, *button, kStandardFunctions[static_cast<std::size_t>(index)].name);
    return true;
}

bool SetDpi(DeviceSession* session, int p, const Args& v) {
    const DpiScale widest = DpiScale::ForModel(kModel1801);
    const DpiScale scale = session ? DpiScale::ForModel(session->Model()) : widest;
    const auto level = ParseInt(v[0], 1, kLevelCount);
    const auto dpi = ParseInt(v[1], 100, scale.maxDpi);
    if (!level || !dpi) {
        std::fprintf(stderr, "pallixctl: level must be 1-%d and dpi 100-%d%s\n", kLevelCount, scale.maxDpi,
                     session ? " on this mouse" : "");
        return false;
    }
    if (!session) return true;
    DeviceSession& s = *session;
    const int step = scale.DpiToStep(*dpi);
    const int byte = scale.StepToByte(step);
    s.Memory().SetCached(SensitivityAddress(p, *level - 1), byte);
    s.Memory().SetCached(SensitivityCopyAddress(p, *level - 1), byte);
    std::printf("profile %d level %d: %d dpi\n", p + 1, *level, scale.StepToDpi(step));
    return true;
}

bool SetRate(DeviceSession* session, int p, const Args& v) {
    const auto hz = ParseInt(v[0], 0, 100000);
    const int code = hz ? RateCode(*hz) : -1;
    if (code < 0) {
        std::fprintf(stderr, "pallixctl: report rate must be 125, 500 or 1000\n");
        return false;
    }
    if (!session) return true;
    DeviceSession& s = *session;
    int control = Cached(s, ControlAddress(p));
    if ((control & 0x70) != 0x40) control = (control & 0x0F) | 0x40;  // bits 4-6 always 1, 0, 0
    s.Memory().SetCached(ControlAddress(p), (control & 0x73) | (code << kRateShift));
    std::printf("profile %d: report rate %d Hz\n", p + 1, *hz);
    return true;
}

bool SetLed(DeviceSession* session, int p, const Args& v) {
    const auto zone = ParseInt(v[0], 1, kLightingZones);
    if (!zone) {
        std::fprintf(stderr, "pallixctl: zone must be 1-%d\n", kLightingZones);
        return false;
    }
    const int code = v[1] == "off" ? 0 : LightColourCode(v[1]);
    const int model = session ? session->Model() : kModel1801;
    if (code < 0 || (code > 0 && !ModelHasColour(model, code))) {
        std::fprintf(stderr, "pallixctl: colour must be %s or off\n",
                     model == kModel1802 ? "Red (this mouse lights red only)"
                                         : "Red, Purple, Blue, Cygon, White, Yellow, Green");
        return false;
    }
    if (!session) return true;
    DeviceSession& s = *session;
    const int address = LightingAddress(p, *zone - 1);
    if (code == 0) {
        s.Memory().SetCached(address, DarkByte(Cached(s, address)));
        std::printf("profile %d zone %d: off\n", p + 1, *zone);
        return true;
    }
    s.Memory().SetCached(address, LitByte(*zone - 1, code));
    std::printf("profile %d zone %d: %s\n", p + 1, *zone, LightColourName(LitByte(*zone - 1, code), s.Model()));
    return true;
}

bool SetProfile(DeviceSession* session, int p, const Args&) {
    if (!session) return true;
    DeviceSession& s = *session;
    if (p >= s.ProfileCount()) {
        std::fprintf(stderr, "pallixctl: the mouse has %d profile(s)\n", s.ProfileCount());
        return false;
    }
    if (!SelectProfile(s.Memory(), p)) {
        std::fprintf(stderr, "pallixctl: Error: Failed to SAVE MOUSE CONFIGURE!\n");
        return false;
    }
    std::printf("current profile: %d\n", p + 1);
    return true;
}

const RegisterCommand kSetButton{
    {"set-button",
     "  set-button P B FUNCTION   give button B (1-8) of profile P (1-5) a standard function\n"
     "                            (CLICK, \"RIGHT BUTTON\", BACKWARD, ... as `show` names them)",
     [](const Args& a) { return Run("set-button", a, 2, SetButton); }}};
const RegisterCommand kSetDpi{{"set-dpi",
                               "  set-dpi P LEVEL DPI       sensitivity of level 1-4 (100 dpi steps)",
                               [](const Args& a) { return Run("set-dpi", a, 2, SetDpi); }}};
const RegisterCommand kSetRate{{"set-rate", "  set-rate P HZ             report rate 125, 500 or 1000",
                                [](const Args& a) { return Run("set-rate", a, 1, SetRate); }}};
const RegisterCommand kSetLed{{"set-led",
                               "  set-led P ZONE COLOUR|off lighting zone 1-4: Red, Purple, Blue, Cygon, White,\n"
                               "                            Yellow, Green (red only on model 0x1802), or off",
                               [](const Args& a) { return Run("set-led", a, 2, SetLed); }}};
const RegisterCommand kSetProfile{{"set-profile", "  set-profile P             make profile P current",
                                   [](const Args& a) { return Run("set-profile", a, 0, SetProfile, false); }}};

}  // namespace
}  // namespace pallix::cli

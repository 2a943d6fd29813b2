// pallixctl show: load the mouse's configuration and print every profile.
#include <cstdio>
#include <string>

#include "cli/Command.h"
#include "cli/DeviceSession.h"
#include "device/DpiScale.h"
#include "device/FunctionTable.h"
#include "device/Lighting.h"
#include "device/MemoryMap.h"

namespace pallix::cli {
namespace {

using namespace memmap;

struct Level {
    int dpi, byte;
};
struct Light {
    int byte;
    const char* state;
    const char* colour;
};
struct Button {
    ButtonFunction function;
    const char* name;
    bool factory;
};
struct Profile {
    int rateHz, activeLevel;
    Level levels[kLevelCount];
    Light lights[kLightingZones];
    Button buttons[kButtonCount];
};

int RateHz(int code) {
    constexpr int kHz[] = {1000, 500, 250, 125};
    return kHz[code & 3];
}

const char* StateName(LightState s) {
    return s == LightState::kLit ? "lit" : s == LightState::kBattle ? "battle" : "dark";
}

Profile Describe(DeviceSession& s, int p) {
    const CIcRK44& m = s.Memory();
    auto byteAt = [&](int address) { return m.Entry(address).value & 0xFF; };
    const DpiScale scale = DpiScale::ForModel(s.Model());
    const bool secondCopy = byteAt(kDeviceSettingsAddress) & 0x40;
    Profile out{};
    const auto control = static_cast<std::uint8_t>(byteAt(ControlAddress(p)));
    out.rateHz = RateHz(RateCodeOf(control));
    out.activeLevel = ActiveLevelOf(control);
    for (int l = 0; l < kLevelCount; ++l) {
        const int b = byteAt(secondCopy ? SensitivityCopyAddress(p, l) : SensitivityAddress(p, l));
        out.levels[l] = {scale.StepToDpi(scale.ByteToStep(b)), b};
    }
    for (int z = 0; z < kLightingZones; ++z) {
        const auto b = static_cast<std::uint8_t>(byteAt(LightingAddress(p, z)));
        out.lights[z] = {b, StateName(LightStateOf(b, z)), LightColourName(b, s.Model())};
    }
    for (int b = 0; b < kButtonCount; ++b) {
        const ButtonFunction f = CachedButtonFunction(m, p, b);
        const int index = IdentifyFunction(f);
        out.buttons[b] = {f, index >= 0 ? kStandardFunctions[static_cast<std::size_t>(index)].name : nullptr,
                          IsFactoryFunction(f, b)};
    }
    return out;
}

std::string Hex(int v, int digits) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%0*X", digits, static_cast<unsigned>(v));
    return buf;
}

std::string Quoted(const char* s) { return s ? std::string("\"") + s + "\"" : "null"; }

void PrintText(DeviceSession& s) {
    std::printf("mouse %s, model %s, %d profiles, current profile %d\n", s.Path().c_str(),
                Hex(s.Model(), 4).c_str(), s.ProfileCount(), s.CurrentProfile() + 1);
    for (int p = 0; p < kProfileCount; ++p) {
        const Profile d = Describe(s, p);
        std::printf("\nprofile %d%s\n  report rate: %d Hz\n  sensitivity:", p + 1,
                    p == s.CurrentProfile() ? " (current)" : "", d.rateHz);
        for (int l = 0; l < kLevelCount; ++l)
            std::printf("%s level %d %d dpi%s", l ? "," : "", l + 1, d.levels[l].dpi,
                        l == d.activeLevel ? " (active)" : "");
        std::printf("\n  lighting:");
        for (int z = 0; z < kLightingZones; ++z)
            std::printf("%s zone %d %s %s", z ? "," : "", z + 1, d.lights[z].colour ? d.lights[z].colour : "none",
                        d.lights[z].state);
        std::printf("\n  buttons:\n");
        for (int b = 0; b < kButtonCount; ++b) {
            const Button& k = d.buttons[b];
            if (k.name) {
                std::printf("    %d %s%s\n", b + 1, k.name, k.factory ? " (factory)" : "");
            } else {
                std::printf("    %d unknown (type %d: %d %d %d %d)\n", b + 1, k.function.type, k.function.params[0],
                            k.function.params[1], k.function.params[2], k.function.params[3]);
            }
        }
    }
}

void PrintJson(DeviceSession& s) {
    std::printf("{\"device\":\"");
    for (char c : s.Path()) {
        if (c == '"' || c == '\\') std::printf("\\%c", c);
        else if (static_cast<unsigned char>(c) < 0x20) std::printf("\\u%04x", c);
        else std::putchar(c);
    }
    std::printf("\",\"model\":\"%s\",\"profileCount\":%d,\"currentProfile\":%d,\"profiles\":[",
                Hex(s.Model(), 4).c_str(), s.ProfileCount(), s.CurrentProfile() + 1);
    for (int p = 0; p < kProfileCount; ++p) {
        const Profile d = Describe(s, p);
        std::printf("%s{\"profile\":%d,\"current\":%s,\"reportRateHz\":%d,\"activeLevel\":%d,\"levels\":[", p ? "," : "",
                    p + 1, p == s.CurrentProfile() ? "true" : "false", d.rateHz, d.activeLevel + 1);
        for (int l = 0; l < kLevelCount; ++l)
            std::printf("%s{\"level\":%d,\"dpi\":%d,\"byte\":%d}", l ? "," : "", l + 1, d.levels[l].dpi, d.levels[l].byte);
        std::printf("],\"lighting\":[");
        for (int z = 0; z < kLightingZones; ++z)
            std::printf("%s{\"zone\":%d,\"state\":\"%s\",\"colour\":%s,\"byte\":%d}", z ? "," : "", z + 1,
                        d.lights[z].state, Quoted(d.lights[z].colour).c_str(), d.lights[z].byte);
        std::printf("],\"buttons\":[");
        for (int b = 0; b < kButtonCount; ++b) {
            const Button& k = d.buttons[b];
            std::printf("%s{\"button\":%d,\"function\":%s,\"factory\":%s,\"type\":%d,\"params\":[%d,%d,%d,%d]}",
                        b ? "," : "", b + 1, Quoted(k.name).c_str(), k.factory ? "true" : "false", k.function.type,
                        k.function.params[0], k.function.params[1], k.function.params[2], k.function.params[3]);
        }
        std::printf("]}");
    }
    std::printf("]}\n");
}

int Show(const Args& args) {
    const auto options = ParseDeviceOptions(args, true);
    if (!options) return 2;
    if (!options->positional.empty()) {
        std::fprintf(stderr, "pallixctl: show takes no arguments\n");
        return 2;
    }
    auto session = DeviceSession::Open(*options);
    if (!session || !session->Load()) return 1;
    if (options->json) PrintJson(*session);
    else PrintText(*session);
    return 0;
}

const RegisterCommand kShow{{"show",
                             "  show [--json] [--device PATH] [--quiet]\n"
                             "                            load the mouse and print every profile; every\n"
                             "                            device command takes --device PATH (default: the\n"
                             "                            first mouse) and --quiet (no transfer light signals)",
                             Show}};

}  // namespace
}  // namespace pallix::cli

#include "device/Lighting.h"

#include <cctype>
#include <string>

#include "device/MemoryMap.h"

namespace pallix {

namespace {

constexpr std::uint8_t kStateMask = 0x30;
constexpr std::uint8_t kStateLit = 0x10;
constexpr std::uint8_t kStateLitFirst = 0x20;
constexpr std::uint8_t kStateBattle = 0x30;
constexpr std::uint8_t kColourMask = 0x07;
constexpr int kRedCode = 1;

std::string Upper(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

}  // namespace

LightState LightStateOf(std::uint8_t byte, int zone) {
    const std::uint8_t state = byte & kStateMask;
    if (state == kStateBattle) return LightState::kBattle;
    if (state == kStateLit || (zone == 0 && state == kStateLitFirst)) return LightState::kLit;
    return LightState::kDark;
}

const char* LightColourName(std::uint8_t byte, int model) {
    if (model == memmap::kModel1802) return (byte & 1) ? "Red" : nullptr;
    for (const LightColour& c : kLightColours)
        if (c.code == (byte & kColourMask)) return c.name;
    return nullptr;
}

int LightColourCode(std::string_view name) {
    const std::string wanted = Upper(name) == "CYAN" ? "CYGON" : Upper(name);
    for (const LightColour& c : kLightColours)
        if (Upper(c.name) == wanted) return c.code;
    return -1;
}

bool ModelHasColour(int model, int code) {
    if (model == memmap::kModel1802) return code == kRedCode;
    return code >= 1 && code <= 7;
}

std::uint8_t LitByte(int zone, int code) {
    return static_cast<std::uint8_t>((code & kColourMask) | (zone == 0 ? kStateLitFirst : kStateLit));
}

std::uint8_t DarkByte(std::uint8_t byte) { return static_cast<std::uint8_t>(byte & ~kStateMask); }

}  // namespace pallix

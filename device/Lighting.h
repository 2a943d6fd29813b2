#pragma once
// The four lighting bytes of a profile (offsets 9-12): colour code in bits 0-2,
// state in bits 4-5.
#include <cstdint>
#include <string_view>

namespace pallix {

enum class LightState { kDark, kLit, kBattle };

struct LightColour {
    const char* name;
    int code;
};
// The seven colours in chooser order (names as the lighting dialog shows them).
inline constexpr LightColour kLightColours[] = {
    {"Red", 1}, {"Purple", 5}, {"Blue", 4}, {"Cygon", 6}, {"White", 7}, {"Yellow", 3}, {"Green", 2},
};

// `zone` is the byte's index 0-3 (offset 9 + zone). State 10 counts as lit only
// for the first byte.
LightState LightStateOf(std::uint8_t byte, int zone);
// Colour name of the byte's code for the model (0x1802 knows only red), or nullptr.
const char* LightColourName(std::uint8_t byte, int model);
// Code of a colour name (case does not matter; "cyan" is taken for "Cygon"), or -1.
int LightColourCode(std::string_view name);
bool ModelHasColour(int model, int code);

// The byte switched on in colour `code` (bits 3 and 6-7 cleared, as the lighting
// dialog switches a zone on), or switched off (state 00, colour kept).
std::uint8_t LitByte(int zone, int code);
std::uint8_t DarkByte(std::uint8_t byte);

}  // namespace pallix

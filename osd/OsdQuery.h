#pragma once
// Asking the display what it shows, without screenshots: in the same process through
// the C functions below, from another process by posting kOsdQueryState to "OSD
// Handle" with the asker's own mailbox handle as wParam. The answer is one
// kOsdStateReply, then one kOsdShownReply, posted to that handle.
#include <cstdint>

extern "C" {

struct Qx7OsdState {
    int kind;          // -1 none, 0 profile, 1 side button, 2 level, 3 mode, 4 polling rate, 5 lock
    int pictureId;     // picture currently composed (300-329); 0 before the first one
    int digitIds[4];   // level picture digits, thousands first (305-315); 0 when unused
    int visible;
    int enabled;
    int fullStep;      // 1: 100 dpi per step
    int profile;
    int level;
    unsigned shownCount;     // how often the window was put on screen
    unsigned shownAtMs;      // CLOCK_MONOTONIC milliseconds (low 32 bits) of the last show
};

// 1 and the state when the display window exists; 0 otherwise.
int Qx7OsdGetState(struct Qx7OsdState* state);
// The handle the window published as "OSD Handle"; 0 when there is no window.
std::uint32_t Qx7OsdWindowHandle();
}

namespace pallix::osd {

inline constexpr std::uint32_t kOsdQueryState = 0x91F0;
inline constexpr std::uint32_t kOsdStateReply = 0x91F1;
inline constexpr std::uint32_t kOsdShownReply = 0x91F2;  // wParam shownAtMs, lParam shownCount

inline constexpr int KIND_PROFILE = 0;
inline constexpr int KIND_SIDE_BUTTON = 1;
inline constexpr int KIND_LEVEL = 2;
inline constexpr int KIND_MODE = 3;
inline constexpr int KIND_POLLING_RATE = 4;
inline constexpr int KIND_LOCK = 5;

inline constexpr int kFirstDigitId = 305;
inline constexpr int kBlankDigitId = 315;

// kOsdStateReply: wParam = picture id | digits (id - 305, 4 bits each, thousands in
// bits 16-19); lParam = kind + 1 | visible << 8 | enabled << 9 | fullStep << 10 |
// profile << 12 | level << 16.
constexpr std::uint32_t PackStateWParam(const Qx7OsdState& s) {
    std::uint32_t w = static_cast<std::uint32_t>(s.pictureId) & 0xFFFFu;
    for (int k = 0; k < 4; ++k) {
        const int d = s.digitIds[k] >= kFirstDigitId ? s.digitIds[k] - kFirstDigitId : 0xF;
        w |= (static_cast<std::uint32_t>(d) & 0xFu) << (16 + 4 * k);
    }
    return w;
}

constexpr std::uint32_t PackStateLParam(const Qx7OsdState& s) {
    return (static_cast<std::uint32_t>(s.kind + 1) & 0xFFu) | (s.visible ? 1u << 8 : 0u) |
           (s.enabled ? 1u << 9 : 0u) | (s.fullStep ? 1u << 10 : 0u) |
           ((static_cast<std::uint32_t>(s.profile) & 0xFu) << 12) |
           ((static_cast<std::uint32_t>(s.level) & 0xFu) << 16);
}

constexpr Qx7OsdState UnpackState(std::uint32_t wParam, std::uint32_t lParam) {
    Qx7OsdState s{};
    s.pictureId = static_cast<int>(wParam & 0xFFFFu);
    for (int k = 0; k < 4; ++k) {
        const int d = static_cast<int>((wParam >> (16 + 4 * k)) & 0xFu);
        s.digitIds[k] = d == 0xF ? 0 : kFirstDigitId + d;
    }
    s.kind = static_cast<int>(lParam & 0xFFu) - 1;
    s.visible = (lParam >> 8) & 1u;
    s.enabled = (lParam >> 9) & 1u;
    s.fullStep = (lParam >> 10) & 1u;
    s.profile = static_cast<int>((lParam >> 12) & 0xFu);
    s.level = static_cast<int>((lParam >> 16) & 0xFu);
    return s;
}

}  // namespace pallix::osd

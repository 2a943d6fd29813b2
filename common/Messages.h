#pragma once
// The messages the deliverables post to each other, and the few that controls post
// to their own parent window (they share the numbering).
#include <cstdint>

namespace pallix {

// A posted message: the receiver gets exactly these three numbers.
struct Message {
    std::uint32_t message = 0;
    std::uint32_t wParam = 0;
    std::uint32_t lParam = 0;
    friend bool operator==(const Message&, const Message&) = default;
};

inline constexpr std::uint32_t WM_CLOSE = 0x0010;
inline constexpr std::uint32_t WM_COMMAND = 0x0111;

inline constexpr std::uint32_t WM_OSD_NOTIFY = 0x9100;
inline constexpr std::uint32_t WM_DEVICE_EVENT = 0x9101;
inline constexpr std::uint32_t WM_KEY_HOVER = 0x9102;

inline constexpr std::uint32_t WM_SLIDER_TRACKING = 0x28D1;
inline constexpr std::uint32_t WM_SLIDER_CHANGED = 0x28D2;
inline constexpr std::uint32_t WM_SLIDER_PRESSED = 0x28D3;

// WM_COMMAND ids.
inline constexpr std::uint32_t ID_SHOW = 32774;
inline constexpr std::uint32_t IDM_TRAY_LAUNCH = 2000;

// Device-change events delivered to a registered receiver.
inline constexpr std::uint32_t DBT_DEVICEARRIVAL = 0x8000;
inline constexpr std::uint32_t DBT_DEVICEREMOVECOMPLETE = 0x8004;

// wParam codes of WM_OSD_NOTIFY (and of WM_DEVICE_EVENT, which reuses them).
enum OsdCode : std::uint32_t {
    OSD_PROFILE_LEVEL = 0,
    OSD_SIDE_BUTTON = 1,
    OSD_LAUNCH = 2,  // accepted by the main window; nobody posts it
    OSD_SET_PROFILE = 5,
    OSD_MODEL = 6,
    OSD_LOCK = 7,
    OSD_POLLING_RATE = 8,
    OSD_MODE = 9,
    OSD_ENABLE = 10,
    OSD_STEP_SCALE = 11,
};

// lParam of OSD_SIDE_BUTTON.
inline constexpr std::uint32_t kSideButtonBack = 3;     // side button 4
inline constexpr std::uint32_t kSideButtonForward = 4;  // side button 5

// The profile/level word: level in bits 0-1, profile in 4-6, "profile changed" in
// bit 7, the level's two sensitivity steps in bits 8-15 and 16-23.
struct ProfileLevel {
    std::uint32_t level = 0;    // 0-3
    std::uint32_t profile = 0;  // 0-4
    bool profileChanged = false;
    std::uint32_t step1 = 0;
    std::uint32_t step2 = 0;
    friend bool operator==(const ProfileLevel&, const ProfileLevel&) = default;
};

constexpr std::uint32_t PackProfileLevel(const ProfileLevel& p) {
    return (p.level & 0x3u) | ((p.profile & 0x7u) << 4) | (p.profileChanged ? 0x80u : 0u) |
           ((p.step1 & 0xFFu) << 8) | ((p.step2 & 0xFFu) << 16);
}

constexpr ProfileLevel UnpackProfileLevel(std::uint32_t word) {
    return ProfileLevel{word & 0x3u, (word >> 4) & 0x7u, (word & 0x80u) != 0,
                        (word >> 8) & 0xFFu, (word >> 16) & 0xFFu};
}

// dpi of a sensitivity step: 100 per step on the 0x1802 model, otherwise 90 rounded
// to whole hundreds.
constexpr std::uint32_t StepToDpi(std::uint32_t step, bool hundredPerStep) {
    return hundredPerStep ? step * 100 : ((step * 90 + 50) / 100) * 100;
}

// Values of "Current Dialog".
enum CurrentDialog : std::uint32_t {
    kDialogMain = 0,
    kDialogPerformance = 1,
    kDialogMacroEditor = 2,
    kDialogLighting = 3,
    kDialogPrompt = 4,
};

// Published handle names.
inline constexpr const char* kProcessHandle = "Process Handle";
inline constexpr const char* kCurrentDialog = "Current Dialog";
inline constexpr const char* kConfigureHandle = "Configure Handle";
inline constexpr const char* kMacroEditHandle = "Macro Edit Handle";
inline constexpr const char* kLedEditHandle = "LED Edit Handle";
inline constexpr const char* kOsdHandle = "OSD Handle";
inline constexpr const char* kMonitorHandle = "Monitor Handle";

// The handle value that receives WM_DEVICE_EVENT for a "Current Dialog" value;
// nullptr when nothing is relayed (4, missing, anything else).
constexpr const char* CurrentDialogHandleName(std::uint32_t currentDialog) {
    switch (currentDialog) {
    case kDialogMain: return kProcessHandle;
    case kDialogPerformance: return kConfigureHandle;
    case kDialogMacroEditor: return kMacroEditHandle;
    case kDialogLighting: return kLedEditHandle;
    default: return nullptr;
    }
}

}  // namespace pallix

#include "monitor/DeviceEvents.h"

#include "common/PointerProfile.h"
#include "common/SettingNames.h"
#include "device/MemoryMap.h"
#include "device/ReportFormat.h"
#include "monitor/LocateFile.h"

namespace pallix::monitor {

namespace {

// Profile index and level index of byte 2; bits 2, 3 and 7 mean nothing.
constexpr std::uint8_t kProfileLevelBits = 0x73;
constexpr std::uint8_t kSlotBits = 0x7F;
constexpr std::uint8_t kRateBits = 0x03;

}  // namespace

DeviceEventHandler::DeviceEventHandler(SettingsStore& store, Poster& poster, Hooks hooks)
    : store_(store), poster_(poster), hooks_(std::move(hooks)) {}

bool DeviceEventHandler::OnInputReport(const InputNode& node, const std::uint8_t* data, std::size_t length,
                                       std::uint8_t& held) {
    if (!data || length == 0) return false;
    if (node.events && length == report::kEventReportSize && data[0] == report::kEventReportId) {
        OnEvent(data);
        return true;
    }
    if (const auto now = node.sideButtons.Held(data, length)) OnSideButtons(*now, held);
    return false;
}

void DeviceEventHandler::OnSideButtons(std::uint8_t now, std::uint8_t& previous) {
    // A report carries the buttons held; a press is a button that was not held before.
    const std::uint8_t pressed = now & static_cast<std::uint8_t>(~previous);
    previous = now;
    std::uint32_t arrow = 0;
    if (pressed & hid::SideButtonDecoder::kButton4) arrow = kSideButtonBack;
    else if (pressed & hid::SideButtonDecoder::kButton5) arrow = kSideButtonForward;
    if (arrow) PostToLiveWindow(store_, poster_, kOsdHandle, {WM_OSD_NOTIFY, OSD_SIDE_BUTTON, arrow});
}

void DeviceEventHandler::OnEvent(const std::uint8_t* r) {
    using namespace report;
    const std::uint8_t profileLevel = r[kEventProfileLevelByte] & kProfileLevelBits;
    const std::uint32_t word = profileLevel | (std::uint32_t{r[kEventStep1Byte]} << 8) |
                               (std::uint32_t{r[kEventStep2Byte]} << 16);
    switch (r[kEventTypeByte]) {
    case EVENT_LAUNCH: Launch(r[kEventLaunchSlotByte] & kSlotBits); break;
    case EVENT_PROFILE:
        RelayDeviceEvent(store_, poster_, OSD_PROFILE_LEVEL, word | 0x80u);
        // Only while the configuration program runs, as it does the same itself.
        if (IsPublishedHandle(store_.ReadDword(kProcessHandle)) && hooks_.pointer)
            ApplyPointerProfile(store_, hooks_.pointer(), (profileLevel >> 4) & 0x7);
        break;
    case EVENT_LEVEL: RelayDeviceEvent(store_, poster_, OSD_PROFILE_LEVEL, word); break;
    case EVENT_LOCK:
        RelayDeviceEvent(store_, poster_, OSD_LOCK, (r[kEventSwitchByte] & kEventLockedBit) ? 1u : 0u);
        break;
    case EVENT_POLLING_RATE: RelayDeviceEvent(store_, poster_, OSD_POLLING_RATE, r[kEventSwitchByte] & kRateBits); break;
    default: break;
    }
}

int DeviceEventHandler::Launch(std::uint32_t slot) {
    const int profile = static_cast<int>(slot) / report::kLaunchSlotsPerProfile;
    const int button = static_cast<int>(slot) % report::kLaunchSlotsPerProfile;
    if (profile >= memmap::kProfileCount || button > 7 || !hooks_.launch) return 0;
    std::string value;
    if (!store_.ReadString(AppPathValueName(profile, button), value)) return 0;
    const auto path = LocateFile(store_, value, hooks_.ownFolder);
    return path ? hooks_.launch(*path) : 0;
}

}  // namespace pallix::monitor

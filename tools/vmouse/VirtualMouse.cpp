#include "tools/vmouse/VirtualMouse.h"

#include <algorithm>
#include <utility>

#include "device/Defaults.h"
#include "device/ReportFormat.h"

namespace pallix::vmouse {

namespace {

using namespace memmap;
constexpr std::size_t kMaxControlRecords = 4096;
constexpr std::uint8_t kPointerButton4 = 0x08, kPointerButton5 = 0x10;

Bytes EventReport(std::uint8_t type) {
    Bytes r(report::kEventReportSize, 0);
    r[0] = report::kEventReportId;
    r[report::kEventTypeByte] = type;
    return r;
}

// The pointer interface's unnumbered report: buttons, dx, dy, wheel, pan.
VirtualMouse::Report PointerReport(std::uint8_t buttons, int dx = 0, int dy = 0) {
    return {Channel::kPointer,
            {buttons, static_cast<std::uint8_t>(static_cast<std::int8_t>(dx)),
             static_cast<std::uint8_t>(static_cast<std::int8_t>(dy)), 0, 0}};
}

VirtualMouse::Report EventOf(Bytes bytes) { return {Channel::kEvents, std::move(bytes)}; }

}  // namespace

VirtualMouse::VirtualMouse(int model, const Memory& memory) : model_(model), memory_(memory) {}

Memory VirtualMouse::FactoryMemory(int model) {
    Memory m{};
    FillDefaultMemory(m, model);
    m[kSignatureAddressLow] = kSignatureLow;
    m[kSignatureAddressHigh] = kSignatureHigh;
    return m;
}

bool VirtualMouse::TakeMemoryChanged() { return std::exchange(memoryChanged_, false); }

bool VirtualMouse::SetFeature(std::span<const std::uint8_t> r) {
    if (faults_.failSet > 0) {
        --faults_.failSet;
        return false;
    }
    if (r.size() != report::kFeatureSize || r[0] != report::kFeatureId) return false;
    const int address = r[2] | (r[4] << 8);
    switch (r[1]) {
    case report::kCmdRead: {
        std::uint8_t low = r[2];
        if (faults_.wrongEcho > 0) {
            --faults_.wrongEcho;
            low = static_cast<std::uint8_t>(low + 1);
        }
        response_ = {};
        response_[report::kResponseLowEcho] = low;
        response_[report::kResponseData] = address < kMemorySize ? memory_[address] : 0;
        response_[report::kResponseHighEcho] = r[4];
        return true;
    }
    case report::kCmdWrite:
        if (address < kMemorySize && memory_[address] != r[3]) {
            memory_[address] = r[3];
            memoryChanged_ = true;
        }
        return true;
    case report::kCmdControl:
        if (controls_.size() < kMaxControlRecords) controls_.push_back({r[2], r[3], r[4]});
        if (r[2] == report::kControlSetProfile && r[3] < ProfileCount()) {
            const auto byte = static_cast<std::uint8_t>((memory_[kProfileByteAddress] & 0xF8) | r[3]);
            memoryChanged_ = memoryChanged_ || byte != memory_[kProfileByteAddress];
            memory_[kProfileByteAddress] = byte;
        }
        return true;
    default:
        return true;  // unknown commands are taken and ignored, as by the firmware
    }
}

std::optional<Bytes> VirtualMouse::GetFeature(std::uint8_t reportId, std::size_t length) {
    if (faults_.failGet > 0) {
        --faults_.failGet;
        return std::nullopt;
    }
    if (reportId != report::kFeatureId || length == 0) return std::nullopt;
    return Bytes(response_.begin(), response_.begin() + static_cast<std::ptrdiff_t>(std::min(length, response_.size())));
}

bool VirtualMouse::CountReportForVanish() {
    if (faults_.vanishAfter <= 0) return false;
    return --faults_.vanishAfter == 0;
}

int VirtualMouse::ProfileCount() const {
    const int n = ProfileCountOf(memory_[kProfileByteAddress]);
    return n >= 1 && n <= kProfileCount ? n : kProfileCount;
}

int VirtualMouse::CurrentProfile() const {
    return std::min(CurrentProfileOf(memory_[kProfileByteAddress]), kProfileCount - 1);
}

int VirtualMouse::ActiveLevel(int profile) const { return ActiveLevelOf(memory_[ControlAddress(profile)]); }

Bytes VirtualMouse::LevelReport(std::uint8_t type, int profile, int level) const {
    Bytes r = EventReport(type);
    r[report::kEventProfileLevelByte] = static_cast<std::uint8_t>((profile << 4) | level);
    r[report::kEventStep1Byte] = memory_[SensitivityAddress(profile, level)];
    r[report::kEventStep2Byte] = memory_[SensitivityCopyAddress(profile, level)];
    return r;
}

VirtualMouse::Event VirtualMouse::SwitchProfile(int profile) {
    if (profile < 0 || profile >= ProfileCount()) return {{}, "no such profile"};
    const auto byte = static_cast<std::uint8_t>((memory_[kProfileByteAddress] & 0xF8) | profile);
    memoryChanged_ = memoryChanged_ || byte != memory_[kProfileByteAddress];
    memory_[kProfileByteAddress] = byte;
    return {{EventOf(LevelReport(report::EVENT_PROFILE, profile, ActiveLevel(profile)))}, {}};
}

VirtualMouse::Event VirtualMouse::SwitchLevel(int level) {
    if (level < 0 || level >= kLevelCount) return {{}, "no such level"};
    const int profile = CurrentProfile();
    std::uint8_t& control = memory_[ControlAddress(profile)];
    const auto byte = static_cast<std::uint8_t>((control & ~kLevelMask) | level);
    memoryChanged_ = memoryChanged_ || byte != control;
    control = byte;
    return {{EventOf(LevelReport(report::EVENT_LEVEL, profile, level))}, {}};
}

VirtualMouse::Event VirtualMouse::SwitchRate(int hz) {
    std::uint8_t code = 0;
    switch (hz) {
    case 1000: code = report::kEventRate1000; break;
    case 500: code = report::kEventRate500; break;
    case 250: code = report::kEventRate250; break;
    case 125: code = report::kEventRate125; break;
    default: return {{}, "rate must be 125, 250, 500 or 1000"};
    }
    Bytes r = EventReport(report::EVENT_POLLING_RATE);
    r[report::kEventSwitchByte] = code;
    return {{EventOf(std::move(r))}, {}};
}

VirtualMouse::Event VirtualMouse::SwitchLock(bool locked) {
    Bytes r = EventReport(report::EVENT_LOCK);
    r[report::kEventSwitchByte] = locked ? report::kEventLockedBit : 0;
    return {{EventOf(std::move(r))}, {}};
}

VirtualMouse::Event VirtualMouse::Launch(int profile, int buttonSlot) {
    if (profile < 0 || profile >= kProfileCount || buttonSlot < 0 || buttonSlot >= report::kLaunchSlotsPerProfile)
        return {{}, "no such launcher slot"};
    Bytes r = EventReport(report::EVENT_LAUNCH);
    r[report::kEventLaunchSlotByte] = static_cast<std::uint8_t>(profile * report::kLaunchSlotsPerProfile + buttonSlot);
    return {{EventOf(std::move(r))}, {}};
}

VirtualMouse::Event VirtualMouse::SideButton(int button) {
    if (button != 4 && button != 5) return {{}, "side button must be 4 or 5"};
    const std::uint8_t mask = button == 4 ? kPointerButton4 : kPointerButton5;
    return {{PointerReport(mask), PointerReport(0)}, {}};
}

VirtualMouse::Event VirtualMouse::Move(int dx, int dy, int buttons) {
    if (dx < -127 || dx > 127 || dy < -127 || dy > 127) return {{}, "motion must be -127 to 127"};
    if (buttons < 0 || buttons > 0x1F) return {{}, "buttons must be a mask 0-31"};
    return {{PointerReport(static_cast<std::uint8_t>(buttons), dx, dy)}, {}};
}

}  // namespace pallix::vmouse

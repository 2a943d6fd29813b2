#include "device/CIcRK44.h"

namespace pallix {

namespace {

std::uint8_t Low(int address) { return static_cast<std::uint8_t>(address & 0xFF); }
std::uint8_t High(int address) { return static_cast<std::uint8_t>((address >> 8) & 0xFF); }

}  // namespace

CIcRK44::CIcRK44(std::shared_ptr<HidPathOpener> opener, Sleeper sleeper)
    : opener_(std::move(opener)), sleeper_(sleeper ? std::move(sleeper) : Sleeper(SleepMilliseconds)) {
    status_ = opener_ ? kStatusReady : 0;
}

CIcRK44::~CIcRK44() = default;

void CIcRK44::SetSleeper(Sleeper sleeper) { sleeper_ = sleeper ? std::move(sleeper) : Sleeper(SleepMilliseconds); }

int CIcRK44::ResetCache() {
    devicePath_.clear();
    status_ = 0;
    cache_.fill(CacheEntry{});
    model_ = memmap::kModel1801;
    size_ = kCacheSize;
    return 1;
}

int CIcRK44::SetDevicePath(const std::string& path) {
    // A longer path cannot be held whole; a cut one would name another device.
    if (path.empty() || path.size() > static_cast<std::size_t>(kMaxPathLength)) {
        devicePath_.clear();
        status_ = kStatusEmptyPath;
        return 0;
    }
    devicePath_ = path;
    return 1;
}

int CIcRK44::OpenDevice(const std::string& path) {
    if (!SetDevicePath(path)) return 0;
    if (!opener_ || !opener_->Open(devicePath_)) {
        status_ = kStatusOpenFailed;
        devicePath_.clear();
        return 0;
    }
    return CheckSignature();
}

int CIcRK44::CheckSignature() {
    int value = 0;
    if (!ReadByteVerified(memmap::kSignatureAddressLow, value) || value != memmap::kSignatureLow) return 0;
    if (!memmap::IsKnownModel(model_)) return 0;
    if (!ReadByteVerified(memmap::kSignatureAddressHigh, value) || value != memmap::kSignatureHigh) return 0;
    return 1;
}

int CIcRK44::Exchange(Direction direction) {
    if (devicePath_.empty()) {
        status_ = kStatusNoPath;
        return 0;
    }
    auto device = opener_ ? opener_->Open(devicePath_) : nullptr;
    if (!device) {
        status_ = kStatusOpenFailed;
        return 0;
    }
    const int n = direction == Direction::kSet ? device->SetFeature(report_.data(), report_.size())
                                               : device->GetFeature(report_.data(), report_.size());
    if (n < 0) {
        status_ = direction == Direction::kSet ? kStatusSetFailed : kStatusGetFailed;
        Pause(kRetryPauseMs);  // before the device is closed again
        return 0;
    }
    return 1;
}

int CIcRK44::ReadByte(int address, int& value) {
    if (!InRange(address)) return 0;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        report_[0] = report::kFeatureId;
        report_[1] = report::kCmdRead;
        report_[2] = Low(address);
        report_[3] = 0x00;
        report_[4] = High(address);
        if (Exchange(Direction::kSet)) {
            report_.fill(0);
            if (Exchange(Direction::kGet) && report_[report::kResponseLowEcho] == Low(address) &&
                report_[report::kResponseHighEcho] == High(address)) {
                value = report_[report::kResponseData];
                return 1;
            }
        }
        Pause(kRetryPauseMs);
    }
    return 0;
}

int CIcRK44::ReadByteVerified(int address, int& value) {
    for (int pass = 0; pass < kAttempts; ++pass) {
        int first = 0, second = 0;
        if (ReadByte(address, first) && ReadByte(address, second) && first == second) {
            value = first;
            return 1;
        }
    }
    return 0;
}

int CIcRK44::SendWithRetries() {
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        if (Exchange(Direction::kSet)) return 1;
        Pause(kRetryPauseMs);
    }
    return 0;
}

int CIcRK44::WriteByte(int address, int value) {
    if (!InRange(address)) return 0;
    report_[0] = report::kFeatureId;
    report_[1] = report::kCmdWrite;
    report_[2] = Low(address);
    report_[3] = static_cast<std::uint8_t>(value & 0xFF);
    report_[4] = High(address);
    return SendWithRetries();
}

int CIcRK44::SendCommand(int p1, int p2, int p3) {
    report_[0] = report::kFeatureId;
    report_[1] = report::kCmdControl;
    report_[2] = static_cast<std::uint8_t>(p1 & 0xFF);
    report_[3] = static_cast<std::uint8_t>(p2 & 0xFF);
    report_[4] = static_cast<std::uint8_t>(p3 & 0xFF);
    report_[5] = 0x00;
    return SendWithRetries();
}

void CIcRK44::StoreClean(int address, int value) {
    if (!InRange(address)) return;
    cache_[static_cast<std::size_t>(address)] = {1, 0, value};
}

int CIcRK44::LoadByte(int address) {
    int value = 0;
    if (!ReadByte(address, value)) return 0;
    StoreClean(address, value);
    return 1;
}

int CIcRK44::SetCached(int address, int value) {
    if (!InRange(address)) return 0;
    CacheEntry& e = Entry(address);
    if (e.value != value) {
        e.value = value;
        e.dirty = 1;
    } else if (!e.valid) {
        e.dirty = 1;
    }
    return e.dirty ? 1 : 0;
}

int CIcRK44::WriteThrough(int address, int value) {
    if (!InRange(address)) return 0;
    const CacheEntry& e = Entry(address);
    if (e.valid && !e.dirty && e.value == value) return 1;
    const int result = WriteByte(address, value);
    if (result) StoreClean(address, value);
    return result;
}

int CIcRK44::FlushByte(int address) {
    if (address < 0 || address >= size_ || address >= kCacheSize) return 0;
    const CacheEntry& e = Entry(address);
    if (!e.dirty) return 1;
    const int result = WriteByte(address, e.value);
    if (result) StoreClean(address, e.value);
    return result;
}

}  // namespace pallix

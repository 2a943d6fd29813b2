#pragma once
// The mouse's configuration memory, one byte per feature report, behind a cache of
// all 16384 bytes with a valid and a dirty flag each. Windows edit the cache; only
// bytes that really changed travel to the mouse.
//
// Operations return 1 for success and 0 for failure; the reason of the last failure
// is kept in Status() for diagnosis. Every exchange opens and closes the device path.
#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "device/HidPathOpener.h"
#include "device/MemoryMap.h"
#include "device/ReportFormat.h"
#include "device/Sleeper.h"

namespace pallix {

struct CacheEntry {
    std::uint8_t valid = 0;
    std::uint8_t dirty = 0;
    std::int32_t value = 0;  // compared whole; only the low 8 bits are sent
};

class CIcRK44 {
public:
    static constexpr int kCacheSize = memmap::kMemorySize;
    static constexpr int kAttempts = 20;
    static constexpr int kRetryPauseMs = 120;
    static constexpr int kMaxPathLength = 127;

    // Status codes.
    static constexpr int kStatusReady = -2;        // constructed with a way to open devices
    static constexpr int kStatusEmptyPath = -3;    // empty (or over-long) path given
    static constexpr int kStatusOpenFailed = -4;
    static constexpr int kStatusNoPath = -5;       // exchange without a device path
    static constexpr int kStatusGetFailed = -6;
    static constexpr int kStatusSetFailed = -7;

    // A null opener or sleeper: nothing can be opened / pauses really sleep.
    explicit CIcRK44(std::shared_ptr<HidPathOpener> opener, Sleeper sleeper = {});
    virtual ~CIcRK44();
    CIcRK44(const CIcRK44&) = delete;
    CIcRK44& operator=(const CIcRK44&) = delete;

    int ResetCache();
    int SetDevicePath(const std::string& path);
    int OpenDevice(const std::string& path);
    int CheckSignature();

    int ReadByte(int address, int& value);
    int ReadByteVerified(int address, int& value);
    int WriteByte(int address, int value);
    int SendCommand(int p1, int p2, int p3);

    int LoadByte(int address);
    // 1 when the entry is now dirty, 0 when it is valid, equal and clean.
    int SetCached(int address, int value);
    int WriteThrough(int address, int value);
    int FlushByte(int address);

    // Direct cache access for the owner; address must be 0..kCacheSize-1.
    CacheEntry& Entry(int address) { return cache_[static_cast<std::size_t>(address)]; }
    const CacheEntry& Entry(int address) const { return cache_[static_cast<std::size_t>(address)]; }
    static constexpr bool InRange(int address) { return address >= 0 && address < kCacheSize; }
    // The owner's own successful read: value, valid 1, dirty 0.
    void StoreClean(int address, int value);

    const std::string& DevicePath() const { return devicePath_; }
    int Status() const { return status_; }
    int Model() const { return model_; }
    void SetModel(int model) { model_ = model; }
    int Size() const { return size_; }
    void SetSize(int size) { size_ = size; }
    const std::array<std::uint8_t, report::kFeatureSize>& Report() const { return report_; }

    void SetSleeper(Sleeper sleeper);

private:
    enum class Direction { kSet, kGet };
    int Exchange(Direction direction);
    int SendWithRetries();
    void Pause(int ms) { sleeper_(ms); }

    std::shared_ptr<HidPathOpener> opener_;
    Sleeper sleeper_;
    std::array<CacheEntry, kCacheSize> cache_{};
    std::array<std::uint8_t, report::kFeatureSize> report_{};
    std::string devicePath_;
    int status_ = 0;
    int model_ = memmap::kModel1801;
    int size_ = kCacheSize;
};

}  // namespace pallix

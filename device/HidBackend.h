#pragma once
// What CHidClient needs from a source of HID interfaces: enumeration, per-path
// feature and input report traffic, and arrival/removal detection. Implementations
// live in platform/ (hidraw, virtual mouse); tests script their own.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace pallix {

struct HidDeviceInfo {
    std::string path;
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    std::uint16_t version = 0;  // bcdDevice / release number
    std::optional<std::string> product;       // nullopt when the device did not say
    std::optional<std::string> manufacturer;  // nullopt when the device did not say
    // The interface lists a Generic Desktop / Mouse top-level collection (the "mouse
    // device-interface class"), by its report descriptor.
    bool isMouse = false;
    // Present, but this user may not open it (the node's permissions say no).
    bool accessDenied = false;
    int interfaceNumber = -1;  // the USB interface; -1 when the bus has none
    // As the device gave it; every role of the interface is read from it.
    std::vector<std::uint8_t> reportDescriptor{};
    // The interfaces of one physical device share this (e.g. its USB device path).
    std::string physicalDevice{};
};

// One open interface. Reports use the hidapi convention: byte 0 is the report id
// (0 for unnumbered reports). Results are byte counts, or -1 on failure.
class HidDevice {
public:
    virtual ~HidDevice() = default;
    virtual int SetFeature(const std::uint8_t* data, std::size_t length) = 0;
    // data[0] holds the wanted report id on entry.
    virtual int GetFeature(std::uint8_t* data, std::size_t length) = 0;
    // One input report as the device sent it (numbered reports keep their id byte).
    // 0 when nothing arrived within timeoutMs (-1 waits), -1 on failure/removal.
    virtual int ReadInput(std::uint8_t* data, std::size_t length, int timeoutMs) = 0;
    // A descriptor that becomes readable when an input report may be waiting (then
    // ReadInput with timeout 0 fetches it, until it answers 0); -1 when the device
    // has none and a reader has to poll. Owned by the device.
    virtual int InputFd() { return -1; }
    virtual std::optional<std::string> ProductString() = 0;
    virtual std::optional<std::string> ManufacturerString() = 0;
};

struct HidChange {
    enum Kind { kArrival, kRemoval } kind = kArrival;
    std::string path;
    bool isMouse = false;
    friend bool operator==(const HidChange&, const HidChange&) = default;
};

// Watches one backend for arrival and removal. Poll() never blocks: the owner calls
// it when one of Fds() is readable and once more a little later (a debounced rescan
// falls due then). An interface that was there but closed to this user and may now
// be opened counts as an arrival.
class HidWatch {
public:
    virtual ~HidWatch() = default;
    virtual std::vector<int> Fds() const = 0;
    virtual std::vector<HidChange> Poll() = 0;
};

class HidBackend {
public:
    virtual ~HidBackend() = default;
    virtual std::string Name() const = 0;
    // True when the path belongs to this backend.
    virtual bool Owns(const std::string& path) const = 0;
    virtual std::vector<HidDeviceInfo> Enumerate() = 0;
    // nullptr when the path cannot be opened.
    virtual std::unique_ptr<HidDevice> Open(const std::string& path) = 0;
    // Starts a watch; its baseline is the set of interfaces present now.
    virtual std::unique_ptr<HidWatch> Watch() = 0;
};

// How a UI layer runs the watches: it calls `wake` on its own thread whenever one of
// `fds` is readable, and once more shortly after.
class HidWatchScheduler {
public:
    virtual ~HidWatchScheduler() = default;
    virtual bool Start(const std::vector<int>& fds, std::function<void()> wake) = 0;
    virtual void Stop() = 0;
};

}  // namespace pallix

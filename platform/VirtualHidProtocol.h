#pragma once
// Messages between VirtualHidBackend and pallix-vmouse on the device socket
// (SOCK_SEQPACKET, one message per packet). See docs/virtual-mouse-protocol.md.
// Every decoder checks every length: any byte sequence yields a message or nullopt.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace pallix::vhid {

inline constexpr std::uint8_t kProtocolVersion = 2;
inline constexpr std::size_t kMaxDescriptor = 1024;
inline constexpr std::size_t kMaxMessage = 1400;
inline constexpr std::size_t kMaxReport = 64;
inline constexpr std::size_t kMaxString = 126;

enum Type : std::uint8_t {
    kHello = 0x01,       // client: [version]
    kSetFeature = 0x02,  // client: report bytes (id first)
    kGetFeature = 0x03,  // client: [report id][length]
    kInfo = 0x81,        // mouse: identity, answers kHello
    kSetResult = 0x82,   // mouse: [status][bytes taken]
    kGetResult = 0x83,   // mouse: [status] report bytes (id first)
    kInput = 0x84,       // mouse, unasked: one input report (id first when numbered)
    kError = 0xFF,       // mouse: [code], then the connection closes
};

enum Status : std::uint8_t { kOk = 0, kFailed = 1 };
enum ErrorCode : std::uint8_t { kBadMessage = 1, kBadVersion = 2, kUnplugged = 3 };

struct DeviceInfo {
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    std::uint16_t version = 0;
    std::uint8_t interfaceNumber = 0;
    std::vector<std::uint8_t> reportDescriptor;  // as a USB HID interface gives it
    std::optional<std::string> product;
    std::optional<std::string> manufacturer;
    // The mouse refuses this client (as a device node closed to the user would): it
    // answers HELLO with its identity and this flag, then closes the connection.
    bool accessDenied = false;
    friend bool operator==(const DeviceInfo&, const DeviceInfo&) = default;
};

// One decoded message; which fields count depends on type.
struct Message {
    Type type = kError;
    std::uint8_t version = 0;           // kHello
    std::vector<std::uint8_t> report;   // kSetFeature, kGetResult, kInput
    std::uint8_t reportId = 0;          // kGetFeature
    std::uint8_t length = 0;            // kGetFeature, kSetResult (bytes taken)
    Status status = kOk;                // kSetResult, kGetResult
    ErrorCode error = kBadMessage;      // kError
    DeviceInfo info;                    // kInfo
};

using Bytes = std::vector<std::uint8_t>;

Bytes EncodeHello();
Bytes EncodeSetFeature(std::span<const std::uint8_t> report);
Bytes EncodeGetFeature(std::uint8_t reportId, std::uint8_t length);
Bytes EncodeInfo(const DeviceInfo& info);
Bytes EncodeSetResult(Status status, std::uint8_t taken);
Bytes EncodeGetResult(Status status, std::span<const std::uint8_t> report);
Bytes EncodeInput(std::span<const std::uint8_t> report);
Bytes EncodeError(ErrorCode code);

std::optional<Message> Decode(std::span<const std::uint8_t> packet);

// Device names: 1-64 of [A-Za-z0-9_.-], not starting with '.'.
bool IsValidName(const std::string& name);
// Socket of one interface: the name for interface 0, NAME@N for the others.
std::string InterfaceSocketName(const std::string& name, int interfaceNumber);
// The mouse's name and interface of a socket name; false when it is not one.
bool SplitSocketName(const std::string& socketName, std::string& name, int& interfaceNumber);
inline constexpr const char* kPathPrefix = "vhid:";

}  // namespace pallix::vhid

#pragma once
// The 9-byte feature reports that carry the memory protocol, and the mouse's input
// reports (event report 0xA4 and the plain mouse report).
#include <cstdint>

namespace pallix::report {

inline constexpr int kFeatureSize = 9;  // report id 0 + 8 bytes
inline constexpr std::uint8_t kFeatureId = 0x00;

inline constexpr std::uint8_t kCmdRead = 0xDF;     // 00 DF lo 00 hi
inline constexpr std::uint8_t kCmdWrite = 0xDE;    // 00 DE lo value hi
inline constexpr std::uint8_t kCmdControl = 0xC4;  // 00 C4 p1 p2 p3 00

// Read response, shifted against the request: 00 lo data hi.
inline constexpr int kResponseLowEcho = 1;
inline constexpr int kResponseData = 2;
inline constexpr int kResponseHighEcho = 3;

// Control p1 values with a meaning the mouse acts on.
inline constexpr std::uint8_t kControlSetProfile = 7;  // 7, n, 0

// Device event report: 7 bytes with the id.
inline constexpr std::uint8_t kEventReportId = 0xA4;
inline constexpr int kEventReportSize = 7;
enum EventType : std::uint8_t {
    EVENT_LAUNCH = 0,
    EVENT_PROFILE = 1,
    EVENT_LEVEL = 2,
    EVENT_LOCK = 3,
    EVENT_POLLING_RATE = 4,
};
inline constexpr int kEventTypeByte = 1;
inline constexpr int kEventProfileLevelByte = 2;  // bits 0-1 level, 4-6 profile
inline constexpr int kEventStep1Byte = 3;
inline constexpr int kEventStep2Byte = 4;
inline constexpr int kEventLaunchSlotByte = 5;    // profile * 9 + button slot
inline constexpr int kEventSwitchByte = 6;        // lock: bit 4; rate: bits 0-1
inline constexpr std::uint8_t kEventLockedBit = 0x10;
inline constexpr int kLaunchSlotsPerProfile = 9;

// Polling-rate codes of the event report (they differ from the memory's codes).
inline constexpr std::uint8_t kEventRate1000 = 0;
inline constexpr std::uint8_t kEventRate500 = 1;
inline constexpr std::uint8_t kEventRate250 = 2;
inline constexpr std::uint8_t kEventRate125 = 3;

// Plain mouse report of the same interface: id, buttons, dx, dy, wheel.
inline constexpr std::uint8_t kMouseReportId = 0x01;
inline constexpr int kMouseReportSize = 5;
inline constexpr std::uint8_t kMouseButton4 = 0x08;  // back (side button 4)
inline constexpr std::uint8_t kMouseButton5 = 0x10;  // forward (side button 5)

}  // namespace pallix::report

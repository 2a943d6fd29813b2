#pragma once
// What one HID interface of the mouse is for, read from its report descriptor: the
// Generic Desktop / Mouse collections it lists, whether it carries the memory
// protocol (the unnumbered 8-byte feature report of a mouse collection) or the event
// report 0xA4 (collection 0x0008 / 0x004B), and where its pointer reports keep
// buttons 4 and 5.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "device/ReportDescriptor.h"

namespace pallix::hid {

inline constexpr Usage kMouseCollection = MakeUsage(0x0001, 0x0002);
inline constexpr Usage kEventCollection = MakeUsage(0x0008, 0x004B);

struct InterfaceRoles {
    bool parsed = false;                // the descriptor was there and readable
    bool numbered = false;
    std::vector<int> mouseCollections;  // 1-based, as collection numbers are counted
    bool memory = false;
    bool events = false;
    bool IsMouse() const { return !mouseCollections.empty(); }
};

InterfaceRoles RolesOf(const ReportDescriptor& descriptor);

// Whether the interface is the mouse's one entry for the memory protocol: it carries
// the protocol in a mouse collection other than collection 3 of interface 1 (the second
// pointer of the numbered interface, which the mouse-class search passes over).
bool IsMemoryInterface(const InterfaceRoles& roles, int interfaceNumber);
InterfaceRoles RolesOf(std::span<const std::uint8_t> descriptor);

// Reads buttons 4 and 5 from the input reports of an interface's mouse collections.
class SideButtonDecoder {
public:
    SideButtonDecoder() = default;
    explicit SideButtonDecoder(const ReportDescriptor& descriptor);

    static constexpr std::uint8_t kButton4 = 0x01, kButton5 = 0x02;
    // The side buttons held in this report (kButton4 | kButton5), or nullopt when it
    // is not a pointer report with them.
    std::optional<std::uint8_t> Held(const std::uint8_t* data, std::size_t length) const;
    bool Empty() const { return reports_.empty(); }

private:
    struct Spot {
        std::uint32_t bit = 0, size = 1, count = 1;
        bool array = false;
        std::int32_t logicalMinimum = 0;
        std::vector<std::uint8_t> arrayButtons;  // arrays: the button number of each index
        std::uint8_t button = 0;                 // variables: 4 or 5
    };
    struct Report {
        std::uint8_t id = 0;
        std::size_t bytes = 0;  // data bytes after the id
        std::vector<Spot> spots;
    };
    bool numbered_ = false;
    std::vector<Report> reports_;
};

}  // namespace pallix::hid

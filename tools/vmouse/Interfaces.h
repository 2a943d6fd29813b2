#pragma once
// How the mouse shows itself to a host: its USB HID interfaces, each with the report
// descriptor a kernel would read from it. A USB HID interface numbers all of its
// reports or none, so the memory protocol (an unnumbered feature report) and the event
// report 0xA4 cannot share one: the mouse has an unnumbered pointer interface and a
// numbered one for keyboard, consumer keys, a second pointer and the events.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace pallix::vmouse {

using Bytes = std::vector<std::uint8_t>;

enum class Layout {
    kStandard,     // 0: mouse + memory; 1: keyboard, consumer, mouse, events
    kEventsLast,   // 0: mouse + memory; 1: keyboard, consumer; 2: events, then mouse
};

// Where a report the mouse sends goes.
enum class Channel { kPointer, kEvents };

struct InterfaceShape {
    int number = 0;
    Bytes reportDescriptor;
    bool bootMouse = false;   // interface subclass 1 / protocol 2
};

std::vector<InterfaceShape> InterfacesOf(Layout layout);
// The interface that carries each channel; the memory protocol goes to kPointer's.
int InterfaceFor(Layout layout, Channel channel);
// Whether the interface numbers its reports (and so refuses the unnumbered feature).
bool IsNumbered(Layout layout, int interfaceNumber);

std::optional<Layout> ParseLayout(const std::string& word);
const char* LayoutName(Layout layout);

}  // namespace pallix::vmouse

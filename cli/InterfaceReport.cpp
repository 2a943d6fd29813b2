#include "cli/InterfaceReport.h"

#include <cstdio>

#include "device/HidInterfaceRoles.h"
#include "device/InputNodes.h"
#include "device/MemoryMap.h"

namespace pallix::cli {

namespace {

const char* NameOf(hid::Usage usage) {
    switch (usage) {
    case hid::MakeUsage(0x0001, 0x0001): return "pointer";
    case hid::MakeUsage(0x0001, 0x0002): return "mouse";
    case hid::MakeUsage(0x0001, 0x0004): return "joystick";
    case hid::MakeUsage(0x0001, 0x0006): return "keyboard";
    case hid::MakeUsage(0x0001, 0x0080): return "system control";
    case hid::MakeUsage(0x000C, 0x0001): return "consumer control";
    case hid::MakeUsage(0x0008, 0x004B): return "events";
    default: return (usage >> 16) >= 0xFF00 ? "vendor" : "other";
    }
}

std::optional<hid::ReportDescriptor> Descriptor(const CHidClient& table, int i) {
    const auto* bytes = table.GetDeviceReportDescriptor(i);
    if (!bytes || bytes->empty()) return std::nullopt;
    return hid::ParseReportDescriptor(*bytes);
}

// The uses as the programs decide them: the memory interface by the table's own rule,
// events and side buttons by the monitor's.
InterfaceUse UseOf(const CHidClient& table, int i, const std::optional<hid::ReportDescriptor>& d) {
    InterfaceUse use;
    if (!d) return use;
    use.descriptorRead = true;
    use.memory = hid::IsMemoryInterface(hid::RolesOf(*d), table.GetDeviceInterface(i));
    if (const auto node = InputNodeOf(table, i, memmap::kModel1802)) {
        use.events = node->events;
        use.sideButtons = !node->sideButtons.Empty();
    }
    return use;
}

std::string CollectionsText(const CHidClient& table, int i, const std::optional<hid::ReportDescriptor>& d) {
    if (!d) {
        const auto* bytes = table.GetDeviceReportDescriptor(i);
        return bytes && !bytes->empty() ? "report descriptor unreadable" : "no report descriptor";
    }
    std::string text;
    for (std::size_t c = 0; c < d->collections.size(); ++c) {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%s%zu: %04x:%04x %s", text.empty() ? "" : ", ", c + 1,
                      d->collections[c].Page(), d->collections[c].Id(), NameOf(d->collections[c].usage));
        text += buf;
    }
    return text.empty() ? "no collections" : text;
}

}  // namespace

InterfaceUse UseOf(const CHidClient& table, int i) { return UseOf(table, i, Descriptor(table, i)); }

std::string UseText(const InterfaceUse& use) {
    std::string text;
    auto add = [&text](const char* what) { text += (text.empty() ? "" : "; ") + std::string(what); };
    if (use.memory) add("memory protocol (Pallix, pallixctl)");
    if (use.events) add("event reports (Qx7Monitor)");
    if (use.sideButtons) add("side buttons (Qx7Monitor)");
    return text.empty() ? "nothing" : text;
}

std::string DescribeInterface(const CHidClient& table, int i) {
    char head[512];
    const int number = table.GetDeviceInterface(i);
    const auto d = Descriptor(table, i);
    std::snprintf(head, sizeof head, "%d\t%s\t%04x:%04x\t0x%04x\t%s\n", i, table.GetDevice(i), table.GetDeviceVID(i),
                  table.GetDevicePID(i), table.GetDeviceVer(i), table.GetDeviceName(i));
    std::string text = head;
    text += "\tinterface " + (number >= 0 ? std::to_string(number) : std::string("none")) +
            (d ? (d->numbered ? ", numbered reports" : ", reports without ids") : std::string()) +
            (table.GetDeviceAccessDenied(i) ? ", (no permission)" : "") + "\n";
    text += "\tcollections: " + CollectionsText(table, i, d) + "\n";
    text += "\tused for: " + UseText(UseOf(table, i, d)) + "\n";
    return text;
}

}  // namespace pallix::cli

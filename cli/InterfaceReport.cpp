#include "cli/InterfaceReport.h"

#include <cstdio>

#include "device/HidInterfaceRoles.h"

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

}  // namespace

InterfaceUse UseOf(const CHidClient& table, int i) {
    InterfaceUse use;
    const auto d = Descriptor(table, i);
    if (!d) return use;
    use.descriptorRead = true;
    const hid::InterfaceRoles roles = hid::RolesOf(*d);
    use.memory = hid::IsMemoryInterface(roles, table.GetDeviceInterface(i));
    use.events = roles.events;
    use.sideButtons = !hid::SideButtonDecoder(*d).Empty();
    return use;
}

std::string CollectionsText(const CHidClient& table, int i) {
    const auto d = Descriptor(table, i);
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
    text += "\tcollections: " + CollectionsText(table, i) + "\n";
    text += "\tused for: " + UseText(UseOf(table, i)) + "\n";
    return text;
}

}  // namespace pallix::cli

#include "monitor/InputNodes.h"

#include "device/ReportDescriptor.h"

namespace pallix::monitor {

std::vector<InputNode> InputNodesOf(const CHidClient& table, std::uint16_t eventVersion) {
    std::vector<InputNode> nodes;
    for (int i = 0; i < table.GetRecognizedDevices(); ++i) {
        const auto* bytes = table.GetDeviceReportDescriptor(i);
        if (table.GetDeviceAccessDenied(i) || !bytes) continue;
        const auto descriptor = hid::ParseReportDescriptor(*bytes);
        if (!descriptor) continue;
        InputNode node;
        node.path = table.GetDevice(i);
        node.events = table.GetDeviceVer(i) == eventVersion && hid::RolesOf(*descriptor).events;
        node.sideButtons = hid::SideButtonDecoder(*descriptor);
        if (node.Wanted()) nodes.push_back(std::move(node));
    }
    return nodes;
}

}  // namespace pallix::monitor

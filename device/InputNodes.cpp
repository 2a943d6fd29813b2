#include "device/InputNodes.h"

#include "device/ReportDescriptor.h"

namespace pallix {

std::optional<InputNode> InputNodeOf(const CHidClient& table, int i, std::uint16_t eventVersion) {
    const auto* bytes = table.GetDeviceReportDescriptor(i);
    if (!bytes) return std::nullopt;
    const auto descriptor = hid::ParseReportDescriptor(*bytes);
    if (!descriptor) return std::nullopt;
    InputNode node;
    node.path = table.GetDevice(i);
    node.events = table.GetDeviceVer(i) == eventVersion && hid::RolesOf(*descriptor).events;
    node.sideButtons = hid::SideButtonDecoder(*descriptor);
    if (!node.Wanted()) return std::nullopt;
    return node;
}

std::vector<InputNode> InputNodesOf(const CHidClient& table, std::uint16_t eventVersion) {
    std::vector<InputNode> nodes;
    for (int i = 0; i < table.GetRecognizedDevices(); ++i)
        if (auto node = table.GetDeviceAccessDenied(i) ? std::nullopt : InputNodeOf(table, i, eventVersion))
            nodes.push_back(std::move(*node));
    return nodes;
}

}  // namespace pallix

#pragma once
// Which interfaces of the mice in a HID-class table the monitor reads, and what it
// reads from each, by their report descriptors.
#include <cstdint>
#include <optional>
#include <vector>

#include "device/CHidClient.h"
#include "device/InputNode.h"

namespace pallix {

// Event reports count only from a node of the served version (the device test of the
// event report); side buttons from any node of the mouse's identifiers. Nodes closed
// to this user are left out.
std::vector<InputNode> InputNodesOf(const CHidClient& table, std::uint16_t eventVersion);
// What the monitor would read from entry i, were it open to this user; nullopt when
// nothing.
std::optional<InputNode> InputNodeOf(const CHidClient& table, int i, std::uint16_t eventVersion);

}  // namespace pallix

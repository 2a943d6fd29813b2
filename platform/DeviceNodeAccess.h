#pragma once
// Whether this process may open a device node for reading and writing. Enumeration
// lists a node from sysfs whatever its permissions, so the programs ask this to tell
// "no mouse" from "a mouse this user may not open".
#include <string>

namespace pallix {

// True when the node is there but opening it read-write would fail with EACCES or
// EPERM; false when it may be opened or is not there at all.
bool DeviceNodeAccessDenied(const std::string& path);

}  // namespace pallix

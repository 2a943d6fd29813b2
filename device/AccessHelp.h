#pragma once
// What the programs tell a user whose mouse is plugged in but closed to them: where
// it is and how to get access. One text for the configuration program, the monitor
// and pallixctl.
#include <string>

namespace pallix {

// The udev rule that gives the logged-in user access to the mouse.
inline constexpr const char* kUdevRuleName = "70-pallix-ostrel.rules";

// Several lines, no trailing newline.
std::string NoAccessMessage(const std::string& path);

}  // namespace pallix

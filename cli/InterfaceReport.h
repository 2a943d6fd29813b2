#pragma once
// What pallixctl tells about each HID interface of the mouse: its number, its
// top-level collections, whether it numbers its reports, and what the programs use
// it for, all read from its report descriptor.
#include <string>
#include <vector>

#include "device/CHidClient.h"

namespace pallix::cli {

struct InterfaceUse {
    bool memory = false;       // the memory protocol: Pallix, pallixctl
    bool events = false;       // the event report: Qx7Monitor
    bool sideButtons = false;  // buttons 4 and 5: Qx7Monitor
    bool descriptorRead = false;
};

InterfaceUse UseOf(const CHidClient& table, int i);
// The lines `devices --all` prints for entry i.
std::string DescribeInterface(const CHidClient& table, int i);
// "memory protocol (Pallix, pallixctl); side buttons (Qx7Monitor)" or "nothing".
std::string UseText(const InterfaceUse& use);

}  // namespace pallix::cli

#pragma once
// One interface the monitor reads input reports from, and what it reads there: the
// event report, where the interface carries the event collection; buttons 4 and 5,
// where its mouse collections' reports have them.
#include <string>

#include "device/HidInterfaceRoles.h"

namespace pallix {

struct InputNode {
    std::string path;
    bool events = false;
    hid::SideButtonDecoder sideButtons;
    bool Wanted() const { return events || !sideButtons.Empty(); }
};

}  // namespace pallix

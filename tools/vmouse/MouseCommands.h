#pragma once
// The words of `pallix-vmouse send` that act on the mouse itself (events on the
// mouse, faults), shared by every front end; plugging, access and the process are
// the front end's own.
#include <string>
#include <vector>

#include "tools/vmouse/VirtualMouse.h"

namespace pallix::vmouse {

struct CommandResult {
    enum Kind {
        kNotMine,  // not a mouse command: the front end decides
        kEvent,    // send `event`'s reports (or reply its error)
        kReply,    // done: reply `reply`
    } kind = kNotMine;
    VirtualMouse::Event event;
    std::string reply;
};

CommandResult MouseCommand(VirtualMouse& mouse, const std::vector<std::string>& words);

// Where a report goes on this layout.
int InterfaceOf(Layout layout, const VirtualMouse::Report& report);

}  // namespace pallix::vmouse

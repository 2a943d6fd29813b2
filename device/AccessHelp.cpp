#include "device/AccessHelp.h"

namespace pallix {

std::string NoAccessMessage(const std::string& path) {
    return "The mouse was found at " + path +
           ", but this user may not open it.\n"
           "Install the pallix-ostrel package: its udev rule " + kUdevRuleName +
           " gives the logged-in user access.\n"
           "Or copy that rule to /etc/udev/rules.d/, run\n"
           "  sudo udevadm control --reload && sudo udevadm trigger\n"
           "and plug the mouse in again.";
}

}  // namespace pallix

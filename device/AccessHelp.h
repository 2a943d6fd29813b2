#pragma once
// What the programs tell a user whose mouse is plugged in but closed to them: where
// it is and how to get access. The English text for pallixctl and the logs; the
// windows show it in their language (app/texts/ExtraTexts.h), from this text.
#include <string>
#include <string_view>

namespace pallix {

// The udev rule that gives the logged-in user access to the mouse.
inline constexpr const char* kUdevRuleName = "70-pallix-ostrel.rules";

// %1 the device node, %2 the rule's name.
inline constexpr std::string_view kNoAccessText =
    "The mouse was found at %1, but this user may not open it.\n"
    "Install the pallix-ostrel package: its udev rule %2 gives the logged-in user access.\n"
    "Or copy that rule to /etc/udev/rules.d/, run\n"
    "  sudo udevadm control --reload && sudo udevadm trigger\n"
    "and plug the mouse in again.";

// Several lines, no trailing newline.
std::string NoAccessMessage(const std::string& path);

}  // namespace pallix

#pragma once
// Where a message of the message table is shown: short texts in the program's own
// skinned box, long ones (or when the box is not ready) in the system message box.
#include <string>
#include <string_view>

namespace pallix::texts {

// Texts of this many characters or more go to the system message box.
inline constexpr int kSkinnedMessageLimit = 40;

enum class MessageRoute { Nothing, SkinnedBox, SystemBox };

struct MessageDecision {
    MessageRoute route = MessageRoute::Nothing;
    std::string text;  // the message followed by the suffix
};

// index 0-19 of the message table; any other index shows nothing.
MessageDecision DecideMessage(int index, std::string_view suffix, bool skinnedBoxReady);
// The same rule for a text that is already complete.
MessageRoute RouteForText(std::string_view text, bool skinnedBoxReady);

}  // namespace pallix::texts

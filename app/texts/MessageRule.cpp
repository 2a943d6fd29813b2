#include "app/texts/MessageRule.h"

#include "app/texts/TextTables.h"

namespace pallix::texts {

MessageRoute RouteForText(std::string_view text, bool skinnedBoxReady) {
    return skinnedBoxReady && CharacterCount(text) < kSkinnedMessageLimit ? MessageRoute::SkinnedBox
                                                                          : MessageRoute::SystemBox;
}

MessageDecision DecideMessage(int index, std::string_view suffix, bool skinnedBoxReady) {
    if (index < 0 || index >= kMessageCount) return {};
    MessageDecision d;
    d.text = MessageText(index) + std::string(suffix);
    d.route = RouteForText(d.text, skinnedBoxReady);
    return d;
}

}  // namespace pallix::texts

#pragma once
// Texts with numbered places ("%1", "%2") for what a translation may move around.
#include <initializer_list>
#include <string>
#include <string_view>

namespace pallix {

// %1 to %9 become the arguments in one pass (what an argument holds is not looked at
// again); a place without an argument, and "%" before anything else, stay as they are.
std::string FillPlaceholders(std::string_view text, std::initializer_list<std::string_view> arguments);

// The set of places a text uses, as a bit mask (bit n for %n).
unsigned PlaceholderMask(std::string_view text);

}  // namespace pallix

#pragma once
// The pointer notifications the key picture controls pass on (the numbers of the
// established window messages, so they travel as pallix::Message like the others).
#include <cstdint>

namespace pallix {

inline constexpr std::uint32_t WM_MOUSEHOVER = 0x02A1;
inline constexpr std::uint32_t WM_MOUSELEAVE = 0x02A3;
// A hot spot adds this to its button index in the wParam of its hover message.
inline constexpr std::uint32_t kKeyHoverBase = 288;

}  // namespace pallix

#pragma once
// Which picture the display shows for what, and the four digits of a dpi value.
#include <array>
#include <cstdint>

namespace pallix::osd {

inline constexpr int kProfilePicture = 300;      // + profile 0-4
inline constexpr int kLevelPicture = 316;        // + level 0-3
inline constexpr int kArrowLeftPicture = 320;
inline constexpr int kArrowRightPicture = 321;
inline constexpr int kNormalPicture = 322;
inline constexpr int kBattlePicture = 323;
inline constexpr int kLockPicture = 324;
inline constexpr int kUnlockPicture = 325;
inline constexpr int kPollingPicture = 326;      // + polling index 0-3 (125 Hz first)
inline constexpr std::uint32_t kCutOutColour = 0xFF404040u;  // RGB(64, 64, 64)

inline constexpr int kDigitX = 20;
inline constexpr int kDigitY = 34;

// What the display remembers between notifications.
struct OsdModel {
    int profile = 0;
    int level = 0;
    int arrow = 0;
    int kind = -1;
    int polling = 3;
    bool battle = false;
    bool locked = false;
    bool fullStep = false;
};

// The picture of the model's kind; 0 when its validity condition fails.
int PictureFor(const OsdModel& m);

// Digit picture ids for a level's second step, thousands first; leading zeros and
// steps outside 1-57 are blank.
std::array<int, 4> DigitIds(std::uint32_t step, bool fullStep);

}  // namespace pallix::osd

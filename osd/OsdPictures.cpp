#include "osd/OsdPictures.h"

#include "common/Messages.h"
#include "osd/OsdQuery.h"

namespace pallix::osd {

namespace {
bool ValidProfile(int p) { return p >= 0 && p <= 4; }
}  // namespace

int PictureFor(const OsdModel& m) {
    switch (m.kind) {
    case KIND_PROFILE: return ValidProfile(m.profile) ? kProfilePicture + m.profile : 0;
    case KIND_SIDE_BUTTON:
        if (m.arrow == 3) return kArrowLeftPicture;
        return m.arrow == 4 ? kArrowRightPicture : 0;
    case KIND_LEVEL:
        return ValidProfile(m.profile) && m.level >= 0 && m.level <= 3 ? kLevelPicture + m.level : 0;
    case KIND_MODE: return m.battle ? kBattlePicture : kNormalPicture;
    case KIND_POLLING_RATE: return m.polling >= 0 && m.polling <= 3 ? kPollingPicture + m.polling : 0;
    case KIND_LOCK: return m.locked ? kLockPicture : kUnlockPicture;
    default: return 0;
    }
}

std::array<int, 4> DigitIds(std::uint32_t step, bool fullStep) {
    std::uint32_t v = step >= 1 && step <= 57 ? StepToDpi(step, fullStep) : 0;
    std::array<int, 4> ids{};
    for (int pos = 3; pos >= 0; --pos) {
        ids[static_cast<std::size_t>(pos)] =
            (v / 10 == 0 && v % 10 == 0) ? kBlankDigitId : kFirstDigitId + static_cast<int>(v % 10);
        v /= 10;
    }
    return ids;
}

}  // namespace pallix::osd

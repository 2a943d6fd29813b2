#include "common/PointerSettings.h"

namespace pallix {

const char* PointerResultName(PointerResult r) {
    switch (r) {
    case PointerResult::Applied: return "applied";
    case PointerResult::OwnWindowsOnly: return "own windows only";
    case PointerResult::Unsupported: return "unsupported";
    case PointerResult::Failed: return "failed";
    }
    return "?";
}

const char* PointerSettingName(PointerSetting s) {
    switch (s) {
    case PointerSetting::Speed: return "speed";
    case PointerSetting::DoubleClick: return "double-click";
    case PointerSetting::Wheel: return "wheel lines";
    }
    return "?";
}

}  // namespace pallix

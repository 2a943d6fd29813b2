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

}  // namespace pallix

#include "platform/pointer/CompositePointerSettings.h"

namespace pallix {

namespace {

int Rank(PointerResult r) {
    switch (r) {
    case PointerResult::Applied: return 3;
    case PointerResult::OwnWindowsOnly: return 2;
    case PointerResult::Failed: return 1;
    case PointerResult::Unsupported: return 0;
    }
    return 0;
}

}  // namespace

PointerResult BetterPointerResult(PointerResult a, PointerResult b) { return Rank(a) >= Rank(b) ? a : b; }

CompositePointerSettings::CompositePointerSettings(std::vector<std::unique_ptr<PointerSettings>> backends)
    : backends_(std::move(backends)) {}

std::optional<int> CompositePointerSettings::Read(Getter get, std::optional<int> remembered) {
    for (auto& b : backends_)
        if (auto v = ((*b).*get)()) return v;
    return remembered;
}

PointerResult CompositePointerSettings::Write(Setter set, int value, bool valid, std::optional<int>& remembered,
                                              PointerSetting setting) {
    if (!valid) return PointerResult::Failed;
    remembered = value;
    auto& last = last_[static_cast<int>(setting)];
    last.clear();
    PointerResult best = PointerResult::Unsupported;
    for (auto& b : backends_) {
        last.push_back(((*b).*set)(value));
        best = BetterPointerResult(best, last.back());
    }
    return best;
}

PointerResult CompositePointerSettings::Reach(PointerSetting setting) {
    PointerResult best = PointerResult::Unsupported;
    for (auto& b : backends_) best = BetterPointerResult(best, b->Reach(setting));
    return best;
}

const std::vector<PointerResult>& CompositePointerSettings::LastResults(PointerSetting setting) const {
    return last_[static_cast<int>(setting)];
}

std::optional<int> CompositePointerSettings::Speed() { return Read(&PointerSettings::Speed, speed_); }
std::optional<int> CompositePointerSettings::DoubleClickTime() {
    return Read(&PointerSettings::DoubleClickTime, doubleClick_);
}
std::optional<int> CompositePointerSettings::WheelScrollLines() {
    return Read(&PointerSettings::WheelScrollLines, wheel_);
}

PointerResult CompositePointerSettings::SetSpeed(int speed) {
    return Write(&PointerSettings::SetSpeed, speed, ValidSpeed(speed), speed_, PointerSetting::Speed);
}
PointerResult CompositePointerSettings::SetDoubleClickTime(int ms) {
    return Write(&PointerSettings::SetDoubleClickTime, ms, ValidDoubleClickTime(ms), doubleClick_,
                 PointerSetting::DoubleClick);
}
PointerResult CompositePointerSettings::SetWheelScrollLines(int lines) {
    return Write(&PointerSettings::SetWheelScrollLines, lines, ValidWheelLines(lines), wheel_, PointerSetting::Wheel);
}

}  // namespace pallix

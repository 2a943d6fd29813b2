#pragma once
// A pointer-settings backend that remembers what it was told and answers with
// whatever the test gave it.
#include <optional>
#include <vector>

#include "common/PointerSettings.h"

namespace pallix::test {

class RecordingPointerSettings final : public PointerSettings {
public:
    std::optional<int> speed, doubleClick, wheel;  // what reads answer
    PointerResult result = PointerResult::Applied;   // what writes and Reach answer
    const char* name = "recording";
    std::vector<int> setSpeeds, setDoubleClicks, setWheels;

    std::optional<int> Speed() override { return speed; }
    std::optional<int> DoubleClickTime() override { return doubleClick; }
    std::optional<int> WheelScrollLines() override { return wheel; }
    PointerResult SetSpeed(int v) override { return Record(setSpeeds, v); }
    PointerResult SetDoubleClickTime(int v) override { return Record(setDoubleClicks, v); }
    PointerResult SetWheelScrollLines(int v) override { return Record(setWheels, v); }
    PointerResult Reach(PointerSetting) override { return result; }
    const char* Name() const override { return name; }

private:
    PointerResult Record(std::vector<int>& into, int v) {
        into.push_back(v);
        return result;
    }
};

}  // namespace pallix::test

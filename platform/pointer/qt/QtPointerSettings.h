#pragma once
// Double-click time and wheel lines for the program's own windows, through Qt's
// style hints. Needs a QGuiApplication. The desktop is not changed.
#include "common/PointerSettings.h"

namespace pallix {

class QtPointerSettings final : public PointerSettings {
public:
    std::optional<int> Speed() override { return std::nullopt; }
    std::optional<int> DoubleClickTime() override;
    std::optional<int> WheelScrollLines() override;
    PointerResult SetSpeed(int) override { return PointerResult::Unsupported; }
    PointerResult SetDoubleClickTime(int ms) override;
    PointerResult SetWheelScrollLines(int lines) override;
    PointerResult Reach(PointerSetting setting) override;
    const char* Name() const override { return "this program's own windows"; }
};

}  // namespace pallix

#pragma once
// Double-click time and wheel lines for the program's own windows, through Qt's
// style hints. Needs a QGuiApplication. The desktop is not changed.
#include "common/PointerSettings.h"

namespace pallix {

// Qt has no "one page" wheel setting; this many lines stand for it (Qt's scroll
// bars never move more than a page per notch).
inline constexpr int kQtOnePageLines = 10000;

class QtPointerSettings final : public PointerSettings {
public:
    std::optional<int> Speed() override { return std::nullopt; }
    std::optional<int> DoubleClickTime() override;
    std::optional<int> WheelScrollLines() override;
    PointerResult SetSpeed(int) override { return PointerResult::Unsupported; }
    PointerResult SetDoubleClickTime(int ms) override;
    PointerResult SetWheelScrollLines(int lines) override;
};

}  // namespace pallix

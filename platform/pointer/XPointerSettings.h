#pragma once
// The X server's pointer control (acceleration). Only the speed exists there; on
// desktops whose input driver is libinput the server accepts it but ignores it.
#include <memory>

#include "common/PointerSettings.h"

struct _XDisplay;

namespace pallix {

class XPointerSettings final : public PointerSettings {
public:
    // nullptr when no X server can be reached.
    static std::unique_ptr<XPointerSettings> Create();
    ~XPointerSettings() override;

    std::optional<int> Speed() override;
    std::optional<int> DoubleClickTime() override { return std::nullopt; }
    std::optional<int> WheelScrollLines() override { return std::nullopt; }
    PointerResult SetSpeed(int speed) override;
    PointerResult SetDoubleClickTime(int) override { return PointerResult::Unsupported; }
    PointerResult SetWheelScrollLines(int) override { return PointerResult::Unsupported; }
    PointerResult Reach(PointerSetting setting) override {
        return setting == PointerSetting::Speed ? PointerResult::Applied : PointerResult::Unsupported;
    }
    const char* Name() const override { return "the X server's pointer control"; }

private:
    explicit XPointerSettings(_XDisplay* display) : display_(display) {}
    _XDisplay* display_;
};

}  // namespace pallix

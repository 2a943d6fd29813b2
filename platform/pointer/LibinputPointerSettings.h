#pragma once
// The speed of mice driven by the X server's libinput driver (its "libinput Accel
// Speed" device property, -1..1), which is how X11 desktops with libinput (Plasma
// on X11, and most others today) set it; the server's old pointer control does
// not reach those mice. Touchpads keep their own.
#include <memory>
#include <vector>

#include "common/PointerSettings.h"

struct _XDisplay;

namespace pallix {

class LibinputPointerSettings final : public PointerSettings {
public:
    // nullptr when no X server with XInput 2 can be reached.
    static std::unique_ptr<LibinputPointerSettings> Create();
    ~LibinputPointerSettings() override;

    // Whether any mouse here is libinput's.
    bool HasMice();

    std::optional<int> Speed() override;
    std::optional<int> DoubleClickTime() override { return std::nullopt; }
    std::optional<int> WheelScrollLines() override { return std::nullopt; }
    PointerResult SetSpeed(int speed) override;
    PointerResult SetDoubleClickTime(int) override { return PointerResult::Unsupported; }
    PointerResult SetWheelScrollLines(int) override { return PointerResult::Unsupported; }
    PointerResult Reach(PointerSetting setting) override;
    const char* Name() const override { return "the X server's libinput driver"; }

private:
    explicit LibinputPointerSettings(_XDisplay* display);
    std::vector<int> Mice();  // device ids, looked up afresh: mice come and go

    _XDisplay* display_;
    unsigned long speedAtom_ = 0, tappingAtom_ = 0, floatAtom_ = 0;
};

}  // namespace pallix

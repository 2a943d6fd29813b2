#pragma once
// GNOME's mouse settings (org.gnome.desktop.peripherals.mouse): speed and
// double-click time; GNOME has no wheel-lines setting.
#include <memory>

#include "common/PointerSettings.h"

struct _GSettings;

namespace pallix {

class GnomePointerSettings final : public PointerSettings {
public:
    // nullptr unless the schema is installed and writes would reach the desktop (a
    // real settings backend and a session bus; without one they are silently lost).
    static std::unique_ptr<GnomePointerSettings> Create();
    ~GnomePointerSettings() override;

    std::optional<int> Speed() override;
    std::optional<int> DoubleClickTime() override;
    std::optional<int> WheelScrollLines() override { return std::nullopt; }
    PointerResult SetSpeed(int speed) override;
    PointerResult SetDoubleClickTime(int ms) override;
    PointerResult SetWheelScrollLines(int) override { return PointerResult::Unsupported; }
    PointerResult Reach(PointerSetting setting) override {
        return setting == PointerSetting::Wheel ? PointerResult::Unsupported : PointerResult::Applied;
    }
    const char* Name() const override { return "GNOME"; }

private:
    explicit GnomePointerSettings(_GSettings* settings) : settings_(settings) {}
    _GSettings* settings_;
};

// True when the schema with these keys is installed; never aborts when it is not.
bool GnomeMouseSchemaInstalled();

}  // namespace pallix

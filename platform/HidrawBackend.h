#pragma once
// Mice plugged into this computer, through hidapi's hidraw backend. Arrival and
// removal come from a udev monitor where udevd runs, and otherwise from inotify
// on /dev.
#include "device/HidBackend.h"

namespace pallix {

class HidrawBackend : public HidBackend {
public:
    HidrawBackend();
    ~HidrawBackend() override;

    std::string Name() const override { return "hidraw"; }
    bool Owns(const std::string& path) const override;
    std::vector<HidDeviceInfo> Enumerate() override;
    std::unique_ptr<HidDevice> Open(const std::string& path) override;
    std::unique_ptr<HidWatch> Watch() override;
};

}  // namespace pallix

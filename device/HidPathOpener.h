#pragma once
// Opens a HID interface by its path, through whichever backend owns that path.
// CIcRK44 opens and closes the device for every single report through this.
#include <memory>
#include <string>
#include <vector>

#include "device/HidBackend.h"

namespace pallix {

class HidPathOpener {
public:
    virtual ~HidPathOpener() = default;
    // nullptr when the path cannot be opened.
    virtual std::unique_ptr<HidDevice> Open(const std::string& path) = 0;
};

class BackendPathOpener : public HidPathOpener {
public:
    explicit BackendPathOpener(std::vector<std::shared_ptr<HidBackend>> backends) : backends_(std::move(backends)) {}

    std::unique_ptr<HidDevice> Open(const std::string& path) override {
        for (const auto& backend : backends_)
            if (backend->Owns(path)) return backend->Open(path);
        return nullptr;
    }

private:
    std::vector<std::shared_ptr<HidBackend>> backends_;
};

}  // namespace pallix

#include "platform/HidBackends.h"

#include <cstdlib>
#include <string>

#include "platform/HidrawBackend.h"
#include "platform/VirtualHidBackend.h"

namespace pallix {

std::vector<std::shared_ptr<HidBackend>> MakeDefaultHidBackends() {
    const char* env = std::getenv("PALLIX_HID_BACKENDS");
    const std::string only = env ? env : "";
    std::vector<std::shared_ptr<HidBackend>> backends;
    if (only.empty() || only == "hidraw") backends.push_back(std::make_shared<HidrawBackend>());
    if (only.empty() || only == "virtual") backends.push_back(std::make_shared<VirtualHidBackend>());
    return backends;
}

}  // namespace pallix

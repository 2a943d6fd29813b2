#pragma once
// The backends a program registers with CHidClient: real mice and virtual ones.
#include <memory>
#include <vector>

#include "device/HidBackend.h"

namespace pallix {

// hidraw first, then the virtual mice. PALLIX_HID_BACKENDS=virtual (or =hidraw)
// keeps only that one, so tests and demos see nothing but their own mice.
std::vector<std::shared_ptr<HidBackend>> MakeDefaultHidBackends();

}  // namespace pallix

#pragma once
// A CIcRK44 on a scripted mouse, with every pause recorded instead of slept.
#include <memory>
#include <numeric>
#include <vector>

#include "device/CIcRK44.h"
#include "tests/device/ScriptedMouse.h"

namespace pallix::test {

struct ScriptedFixture {
    std::shared_ptr<ScriptedMouse> mouse = std::make_shared<ScriptedMouse>();
    std::vector<int> sleeps;
    CIcRK44 memory{mouse, [this](int ms) { sleeps.push_back(ms); }};

    ScriptedFixture() {
        memory.ResetCache();
        memory.SetDevicePath(mouse->path);
    }
    int Slept() const { return std::accumulate(sleeps.begin(), sleeps.end(), 0); }
    void ClearLogs() {
        mouse->log.clear();
        sleeps.clear();
    }
    // Makes the cache and the mouse agree on one byte.
    void Known(int address, int value) {
        memory.StoreClean(address, value);
        mouse->memory[static_cast<std::size_t>(address)] = static_cast<std::uint8_t>(value);
    }
};

}  // namespace pallix::test

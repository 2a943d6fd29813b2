#pragma once
// What the monitor does with the mouse's input reports: event reports are relayed to
// the configuration program and the display, launcher presses start the bound
// program, profile switches apply the profile's pointer settings; side-button presses
// show an arrow on the display.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "common/PointerSettings.h"
#include "common/Posting.h"
#include "common/SettingsStore.h"
#include "device/InputNode.h"

namespace pallix::monitor {

class DeviceEventHandler {
public:
    struct Hooks {
        // Starts the program at an existing path; 1 when started.
        std::function<int(const std::string& path)> launch;
        // The pointer settings to apply a profile to; created on first use.
        std::function<PointerSettings&()> pointer;
        // The monitor's own folder, for finding launcher programs.
        std::string ownFolder;
    };

    DeviceEventHandler(SettingsStore& store, Poster& poster, Hooks hooks);

    // One input report from a node of a recognised mouse, as the node gave it (id
    // byte first where its reports are numbered). Returns true when it was a device
    // event report. `held` carries the side buttons held from one report of this
    // node to the next.
    bool OnInputReport(const InputNode& node, const std::uint8_t* data, std::size_t length, std::uint8_t& held);

    // The launcher slot rule: slot = profile * 9 + button; button slot 8 and
    // profiles above 4 start nothing. Returns 1 when a program was started.
    int Launch(std::uint32_t slot);

private:
    void OnEvent(const std::uint8_t* report);
    void OnSideButtons(std::uint8_t now, std::uint8_t& previous);

    SettingsStore& store_;
    Poster& poster_;
    Hooks hooks_;
};

}  // namespace pallix::monitor

#pragma once
// What the device commands of pallixctl share: picking and opening the mouse,
// loading its configuration and running transfers on a real 10 ms step timer, the
// same pacing as the configuration program.
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "cli/Command.h"
#include "device/CIcRK44.h"
#include "device/DefaultTables.h"
#include "device/TransferEngine.h"

namespace pallix::cli {

struct DeviceOptions {
    std::string devicePath;  // empty: the first mouse found
    bool json = false;
    bool quiet = false;      // leave out the transfer light signals
    Args positional;
};

// Takes --device PATH, --quiet and (when allowed) --json out of args. nullopt after
// printing an error.
std::optional<DeviceOptions> ParseDeviceOptions(const Args& args, bool allowJson);

// Strict decimal number in lo..hi, or nullopt.
std::optional<int> ParseInt(const std::string& text, int lo, int hi);

// Calls Step() every 10 ms (fixed rate, like a window timer) until the transfer ends.
void RunStepTimer(CTransferEngine& engine);

class DeviceSession {
public:
    // Finds, opens and checks the mouse; prints why not and returns nullptr.
    static std::unique_ptr<DeviceSession> Open(const DeviceOptions& options);

    // The 267-byte load; prints the failure.
    bool Load();
    // Applies the profile's pending bytes and prints what was written. False (after
    // printing why) when something could not be written.
    bool Apply(int profile);
    bool Restore(int profile);
    // Stores a compiled script in the button's macro slot (directory entry with
    // `mode`); prints what was written. False (after printing why) on a failure.
    bool StoreMacro(int profile, int button, std::span<const std::uint8_t> script, int mode);

    CIcRK44& Memory() { return *memory_; }
    CTransferEngine& Engine() { return *engine_; }
    const std::string& Path() const { return path_; }
    int Model() const { return memory_->Model(); }
    int ProfileCount() const;
    int CurrentProfile() const;

private:
    DeviceSession() = default;
    bool Finish(const char* what, const char* failure);

    std::string path_;
    std::unique_ptr<CIcRK44> memory_;
    CDefaultTables tables_;
    std::unique_ptr<CTransferEngine> engine_;
};

}  // namespace pallix::cli

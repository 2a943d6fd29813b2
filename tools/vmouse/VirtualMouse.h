#pragma once
// The mouse's firmware as far as the host can see it: the configuration memory,
// the feature-report protocol and the reports it sends when something happens on
// the mouse. No I/O here; MouseServer connects it to sockets and files.
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "device/MemoryMap.h"
#include "tools/vmouse/Interfaces.h"

namespace pallix::vmouse {

using Memory = std::array<std::uint8_t, memmap::kMemorySize>;

// Misbehaviour on request; each counter counts down to 0 (off).
struct Faults {
    int wrongEcho = 0;    // read responses that echo a wrong address
    int failSet = 0;      // set-feature reports that fail
    int failGet = 0;      // get-feature reports that fail
    int vanishAfter = 0;  // feature reports until the mouse unplugs itself
};

struct ControlRecord {
    std::uint8_t p1 = 0, p2 = 0, p3 = 0;
};

class VirtualMouse {
public:
    VirtualMouse(int model, const Memory& memory);

    int Model() const { return model_; }
    const Memory& MemoryImage() const { return memory_; }
    // True once since the last call when the memory changed.
    bool TakeMemoryChanged();
    Faults& FaultsRef() { return faults_; }

    // Feature reports in the 9-byte form (report id first). False: the report fails.
    bool SetFeature(std::span<const std::uint8_t> report);
    std::optional<Bytes> GetFeature(std::uint8_t reportId, std::size_t length);
    // Counts one feature report toward the vanish fault; true when it is due now.
    bool CountReportForVanish();

    const std::vector<ControlRecord>& Controls() const { return controls_; }
    int CurrentProfile() const;
    int ActiveLevel(int profile) const;

    // Events on the mouse; each returns the input reports it sends, or an error text.
    struct Report {
        Channel channel = Channel::kEvents;
        Bytes bytes;  // as the interface sends it: numbered reports start with their id
        int interfaceNumber = -1;  // >= 0: this interface rather than the channel's
    };
    struct Event {
        std::vector<Report> reports;
        std::string error;
    };
    Event SwitchProfile(int profile);  // 0-based
    Event SwitchLevel(int level);      // 0-based
    Event SwitchRate(int hz);
    Event SwitchLock(bool locked);
    Event Launch(int profile, int buttonSlot);  // 0-based
    Event SideButton(int button);               // 4 or 5: press and release
    // Pointer motion with these buttons held (bit 0 = button 1 ... bit 4 = button 5).
    Event Move(int dx, int dy, int buttons);

    // A fresh memory image: the model's defaults and the signature bytes.
    static Memory FactoryMemory(int model);

private:
    int ProfileCount() const;
    Bytes LevelReport(std::uint8_t type, int profile, int level) const;

    int model_;
    Memory memory_;
    bool memoryChanged_ = false;
    Faults faults_;
    std::array<std::uint8_t, 9> response_{};
    std::vector<ControlRecord> controls_;
};

}  // namespace pallix::vmouse

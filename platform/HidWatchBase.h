#pragma once
// Arrival/removal by comparing snapshots: a rescan of the backend runs shortly after
// activity on one of the watch's descriptors (udev, inotify); a poll that comes more
// than a few seconds after the last rescan rescans anyway. Polls come only from
// activity, so a mouse a watch missed is found by the programs' own searches.
#include <chrono>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "device/HidBackend.h"

namespace pallix {

class HidWatchBase : public HidWatch {
public:
    explicit HidWatchBase(HidBackend& backend, int periodicMs = 2000);
    ~HidWatchBase() override;
    HidWatchBase(const HidWatchBase&) = delete;
    HidWatchBase& operator=(const HidWatchBase&) = delete;

    std::vector<int> Fds() const override;
    std::vector<HidChange> Poll() override;

protected:
    // Reads what is pending on fd; true when there was something.
    using Drain = std::function<bool(int fd)>;
    // The watch closes fd when it owns it. Activity schedules a rescan debounceMs later.
    void AddFd(int fd, int debounceMs, bool owned = true, Drain drain = {});
    // Takes the snapshot later changes are measured against; derived classes call
    // it once their descriptors are in place.
    void TakeBaseline();

private:
    using Clock = std::chrono::steady_clock;
    struct Source {
        int fd;
        int debounceMs;
        bool owned;
        Drain drain;
    };
    struct Seen {
        bool isMouse = false;
        bool accessDenied = false;
    };
    std::map<std::string, Seen> Snapshot();

    HidBackend& backend_;
    std::chrono::milliseconds periodic_;
    std::vector<Source> sources_;
    std::map<std::string, Seen> present_;
    std::optional<Clock::time_point> due_;
    Clock::time_point nextPeriodic_;
};

}  // namespace pallix

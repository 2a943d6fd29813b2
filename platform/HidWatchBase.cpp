#include "platform/HidWatchBase.h"

#include <fcntl.h>
#include <unistd.h>

namespace pallix {

namespace {

bool ReadAll(int fd) {
    bool any = false;
    char buf[4096];
    while (read(fd, buf, sizeof buf) > 0) any = true;
    return any;
}

}  // namespace

HidWatchBase::HidWatchBase(HidBackend& backend, int periodicMs)
    : backend_(backend), periodic_(periodicMs), nextPeriodic_(Clock::now() + periodic_) {}

HidWatchBase::~HidWatchBase() {
    for (const Source& s : sources_)
        if (s.owned) close(s.fd);
}

void HidWatchBase::AddFd(int fd, int debounceMs, bool owned, Drain drain) {
    if (fd < 0) return;
    // Draining reads until nothing is left: that must never block the UI thread.
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
    sources_.push_back({fd, debounceMs, owned, drain ? std::move(drain) : Drain(ReadAll)});
}

void HidWatchBase::TakeBaseline() { present_ = Snapshot(); }

std::vector<int> HidWatchBase::Fds() const {
    std::vector<int> fds;
    for (const Source& s : sources_) fds.push_back(s.fd);
    return fds;
}

std::map<std::string, HidWatchBase::Seen> HidWatchBase::Snapshot() {
    std::map<std::string, Seen> now;
    for (const HidDeviceInfo& info : backend_.Enumerate()) now[info.path] = {info.isMouse, info.accessDenied};
    return now;
}

std::vector<HidChange> HidWatchBase::Poll() {
    const auto now = Clock::now();
    for (const Source& s : sources_) {
        if (!s.drain(s.fd)) continue;
        const auto when = now + std::chrono::milliseconds(s.debounceMs);
        if (!due_ || when < *due_) due_ = when;
    }
    const bool rescan = (due_ && now >= *due_) || now >= nextPeriodic_;
    if (!rescan) return {};
    due_.reset();
    nextPeriodic_ = now + periodic_;

    std::map<std::string, Seen> current = Snapshot();
    std::vector<HidChange> changes;
    for (const auto& [path, seen] : present_)
        if (!current.count(path)) changes.push_back({HidChange::kRemoval, path, seen.isMouse});
    for (const auto& [path, seen] : current) {
        const auto before = present_.find(path);
        // Access granted to an interface that was closed to us (a udev rule applied):
        // for the programs it has only now arrived.
        const bool opened = before != present_.end() && before->second.accessDenied && !seen.accessDenied;
        if (before == present_.end() || opened) changes.push_back({HidChange::kArrival, path, seen.isMouse});
    }
    present_ = std::move(current);
    return changes;
}

}  // namespace pallix

#include "monitor/EventDrivenWatchScheduler.h"

namespace pallix::monitor {

EventDrivenWatchScheduler::EventDrivenWatchScheduler() {
    followUp_.setSingleShot(true);
    connect(&followUp_, &QTimer::timeout, this, [this] { Wake(false); });
}

EventDrivenWatchScheduler::~EventDrivenWatchScheduler() { Stop(); }

bool EventDrivenWatchScheduler::Start(const std::vector<int>& fds, int /*intervalMs*/, std::function<void()> wake) {
    Stop();
    if (!wake) return false;
    wake_ = std::move(wake);
    for (int fd : fds) {
        auto* n = new QSocketNotifier(fd, QSocketNotifier::Read, this);
        connect(n, &QSocketNotifier::activated, this, [this] { Wake(true); });
        notifiers_.push_back(n);
    }
    return true;
}

void EventDrivenWatchScheduler::Stop() {
    followUp_.stop();
    // Stop may run inside a notifier's own signal: never delete one there.
    for (QSocketNotifier* n : notifiers_) {
        n->setEnabled(false);
        n->deleteLater();
    }
    notifiers_.clear();
    wake_ = nullptr;
}

void EventDrivenWatchScheduler::Wake(bool followUp) {
    if (followUp) followUp_.start(kFollowUpMs);
    if (auto wake = wake_) wake();
}

}  // namespace pallix::monitor

#include "platform/qt/EventDrivenWatchScheduler.h"

#include "device/CHidClient.h"

namespace pallix {

EventDrivenWatchScheduler::EventDrivenWatchScheduler() {
    followUp_.setSingleShot(true);
    connect(&followUp_, &QTimer::timeout, this, [this] { Wake(false); });
}

EventDrivenWatchScheduler::~EventDrivenWatchScheduler() { Stop(); }

bool EventDrivenWatchScheduler::Start(const std::vector<int>& fds, std::function<void()> wake) {
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
    // The callback may stop us (a receiver that unregisters); keep it alive meanwhile.
    if (auto wake = wake_) wake();
}

void AttachQtHidWatch(CHidClient& client) { client.SetWatchScheduler(std::make_shared<EventDrivenWatchScheduler>()); }

}  // namespace pallix

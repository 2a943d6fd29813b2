#include "platform/qt/QtHidWatchScheduler.h"

#include "device/CHidClient.h"

namespace pallix {

QtHidWatchScheduler::QtHidWatchScheduler(QObject* parent) : QObject(parent) {
    connect(&timer_, &QTimer::timeout, this, &QtHidWatchScheduler::Wake);
}

QtHidWatchScheduler::~QtHidWatchScheduler() { Stop(); }

bool QtHidWatchScheduler::Start(const std::vector<int>& fds, int intervalMs, std::function<void()> wake) {
    Stop();
    if (!wake) return false;
    wake_ = std::move(wake);
    for (int fd : fds) {
        auto* n = new QSocketNotifier(fd, QSocketNotifier::Read, this);
        connect(n, &QSocketNotifier::activated, this, &QtHidWatchScheduler::Wake);
        notifiers_.push_back(n);
    }
    timer_.start(intervalMs > 0 ? intervalMs : 100);
    return true;
}

void QtHidWatchScheduler::Stop() {
    timer_.stop();
    // Stop may run inside a notifier's own signal: never delete one there.
    for (QSocketNotifier* n : notifiers_) {
        n->setEnabled(false);
        n->deleteLater();
    }
    notifiers_.clear();
    wake_ = nullptr;
}

void QtHidWatchScheduler::Wake() {
    // The callback may stop us (a receiver that unregisters); keep it alive meanwhile.
    if (auto wake = wake_) wake();
}

void AttachQtHidWatch(CHidClient& client) { client.SetWatchScheduler(std::make_shared<QtHidWatchScheduler>()); }

}  // namespace pallix

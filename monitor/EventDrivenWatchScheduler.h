#pragma once
// Runs CHidClient's device watches only when something happens: on activity of a
// watch descriptor, and once more a little later so that a debounced rescan is not
// missed. Unlike the regular scheduler it keeps no periodic timer, so an idle
// monitor is never woken.
#include <vector>

#include <QObject>
#include <QSocketNotifier>
#include <QTimer>

#include "device/HidBackend.h"

namespace pallix::monitor {

// Longer than any watch's debounce (the /dev watch waits 250 ms).
inline constexpr int kFollowUpMs = 300;

class EventDrivenWatchScheduler : public QObject, public HidWatchScheduler {
    Q_OBJECT
public:
    EventDrivenWatchScheduler();
    ~EventDrivenWatchScheduler() override;

    bool Start(const std::vector<int>& fds, int intervalMs, std::function<void()> wake) override;
    void Stop() override;

private:
    void Wake(bool followUp);

    std::vector<QSocketNotifier*> notifiers_;
    QTimer followUp_;
    std::function<void()> wake_;
};

}  // namespace pallix::monitor

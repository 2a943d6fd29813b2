#pragma once
// Runs CHidClient's device watches on the Qt event loop of the calling thread, and
// only when something happens: on activity of a watch descriptor, and once more a
// little later so that a debounced rescan is not missed. There is no periodic
// timer, so an idle program is never woken by it. Arrival and removal reach the
// registered receiver on that (UI) thread.
#include <vector>

#include <QObject>
#include <QSocketNotifier>
#include <QTimer>

#include "device/HidBackend.h"

namespace pallix {

// Longer than any watch's debounce (the /dev watch waits 250 ms).
inline constexpr int kFollowUpMs = 300;

class EventDrivenWatchScheduler : public QObject, public HidWatchScheduler {
    Q_OBJECT
public:
    EventDrivenWatchScheduler();
    ~EventDrivenWatchScheduler() override;

    bool Start(const std::vector<int>& fds, std::function<void()> wake) override;
    void Stop() override;

private:
    void Wake(bool followUp);

    std::vector<QSocketNotifier*> notifiers_;  // children, deleted later
    QTimer followUp_;
    std::function<void()> wake_;
};

class CHidClient;
// Gives the client a scheduler on the current thread's event loop.
void AttachQtHidWatch(CHidClient& client);

}  // namespace pallix

#pragma once
// Runs CHidClient's device watches on the Qt event loop of the calling thread, so
// arrival and removal reach the registered receiver on that (UI) thread.
#include <vector>

#include <QObject>
#include <QSocketNotifier>
#include <QTimer>

#include "device/HidBackend.h"

namespace pallix {

class QtHidWatchScheduler : public QObject, public HidWatchScheduler {
    Q_OBJECT
public:
    explicit QtHidWatchScheduler(QObject* parent = nullptr);
    ~QtHidWatchScheduler() override;

    bool Start(const std::vector<int>& fds, int intervalMs, std::function<void()> wake) override;
    void Stop() override;

private:
    void Wake();

    std::vector<QSocketNotifier*> notifiers_;  // children, deleted later
    QTimer timer_;
    std::function<void()> wake_;
};

class CHidClient;
// Gives the client a scheduler on the current thread's event loop.
void AttachQtHidWatch(CHidClient& client);

}  // namespace pallix

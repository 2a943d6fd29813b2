#pragma once
// Tells when a notification area may have appeared: an XEmbed tray announcing
// itself on the X screen (a MANAGER client message), or a StatusNotifier watcher or
// host registering on the session bus. At login the panel often starts after the
// monitor, so the icon has to be added then. A slow poll covers anything missed.
#include <QAbstractNativeEventFilter>
#include <QObject>
#include <QTimer>

namespace pallix::monitor {

inline constexpr int kTrayRecheckMs = 10000;

class TrayHostWatch : public QObject, public QAbstractNativeEventFilter {
    Q_OBJECT
public:
    TrayHostWatch();
    ~TrayHostWatch() override;

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

    // A StatusNotifier watcher on the session bus, or (on X) an XEmbed tray owning
    // the screen's system-tray selection. Asked before Qt's tray code is touched at
    // all: Qt picks its StatusNotifier or XEmbed way once, the first time, and keeps
    // that choice for the life of the process.
    static bool HostPresent();

signals:
    void hostMayHaveAppeared();

private:
    QTimer recheck_;
};

}  // namespace pallix::monitor

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

signals:
    void hostMayHaveAppeared();

private:
    QTimer recheck_;
};

}  // namespace pallix::monitor

#include "monitor/TrayHostWatch.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusServiceWatcher>

#include <xcb/xcb.h>

namespace pallix::monitor {

namespace {
const QString kWatcherService = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString kWatcherPath = QStringLiteral("/StatusNotifierWatcher");
}  // namespace

TrayHostWatch::TrayHostWatch() {
    QCoreApplication::instance()->installNativeEventFilter(this);
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (bus.isConnected()) {
        auto* watcher = new QDBusServiceWatcher(kWatcherService, bus, QDBusServiceWatcher::WatchForRegistration, this);
        connect(watcher, &QDBusServiceWatcher::serviceRegistered, this, &TrayHostWatch::hostMayHaveAppeared);
        // A watcher without a host shows nothing; the host registers a little later.
        bus.connect(kWatcherService, kWatcherPath, kWatcherService, QStringLiteral("StatusNotifierHostRegistered"),
                    this, SIGNAL(hostMayHaveAppeared()));
    }
    connect(&recheck_, &QTimer::timeout, this, &TrayHostWatch::hostMayHaveAppeared);
    recheck_.start(kTrayRecheckMs);
}

TrayHostWatch::~TrayHostWatch() {
    if (QCoreApplication::instance()) QCoreApplication::instance()->removeNativeEventFilter(this);
}

bool TrayHostWatch::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    // An XEmbed tray announces itself with a MANAGER client message to the root
    // window. Client messages are rare, so any of them just asks for a check.
    if (eventType == "xcb_generic_event_t" &&
        (static_cast<xcb_generic_event_t*>(message)->response_type & 0x7F) == XCB_CLIENT_MESSAGE)
        QTimer::singleShot(0, this, &TrayHostWatch::hostMayHaveAppeared);
    return false;
}

}  // namespace pallix::monitor

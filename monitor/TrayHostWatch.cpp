#include "monitor/TrayHostWatch.h"

#include <cstdlib>
#include <string>

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusServiceWatcher>
#include <QGuiApplication>
#include <qguiapplication_platform.h>

#include <X11/Xlib.h>
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

bool TrayHostWatch::HostPresent() {
    const QDBusConnection bus = QDBusConnection::sessionBus();
    if (bus.isConnected() && bus.interface() && bus.interface()->isServiceRegistered(kWatcherService)) return true;
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !x11->connection() || !x11->display()) return false;
    xcb_connection_t* c = x11->connection();
    const std::string selection = "_NET_SYSTEM_TRAY_S" + std::to_string(XDefaultScreen(x11->display()));
    xcb_intern_atom_reply_t* atom =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 1, static_cast<std::uint16_t>(selection.size()), selection.c_str()), nullptr);
    if (!atom) return false;
    const xcb_atom_t name = atom->atom;
    std::free(atom);
    if (name == XCB_ATOM_NONE) return false;  // nobody ever asked for it: no tray
    xcb_get_selection_owner_reply_t* owner =
        xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, name), nullptr);
    const bool owned = owner && owner->owner != XCB_WINDOW_NONE;
    std::free(owner);
    return owned;
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

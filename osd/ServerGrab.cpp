#include "osd/ServerGrab.h"

#include <QGuiApplication>
#include <qguiapplication_platform.h>

#include <xcb/xcb.h>

namespace pallix::osd {

ServerGrab::ServerGrab() {
    auto* app = qGuiApp;
    auto* x11 = app ? app->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !x11->connection()) return;
    connection_ = x11->connection();
    xcb_grab_server(connection_);
}

ServerGrab::~ServerGrab() {
    if (!connection_) return;
    xcb_ungrab_server(connection_);
    xcb_flush(connection_);
}

}  // namespace pallix::osd

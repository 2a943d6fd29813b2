#include "osd/NotificationType.h"

#include <cstdlib>
#include <cstring>

#include <QGuiApplication>
#include <qguiapplication_platform.h>

#include <xcb/xcb.h>

namespace pallix::osd {

namespace {

xcb_atom_t Atom(xcb_connection_t* c, const char* name) {
    xcb_intern_atom_reply_t* reply =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, static_cast<std::uint16_t>(std::strlen(name)), name), nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    std::free(reply);
    return atom;
}

}  // namespace

void MarkAsNotification(std::uintptr_t window) {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    xcb_connection_t* c = x11 ? x11->connection() : nullptr;
    if (!c || !window) return;
    const xcb_atom_t property = Atom(c, "_NET_WM_WINDOW_TYPE");
    const xcb_atom_t type = Atom(c, "_NET_WM_WINDOW_TYPE_NOTIFICATION");
    if (property == XCB_ATOM_NONE || type == XCB_ATOM_NONE) return;
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, static_cast<xcb_window_t>(window), property, XCB_ATOM_ATOM, 32, 1,
                        &type);
    xcb_flush(c);
}

}  // namespace pallix::osd

#include "dialogs/macroeditor/X11AutoRepeat.h"

#include <QGuiApplication>

// Xlib after Qt: its macros (None, KeyPress, Bool) would break Qt's headers.
#include <X11/XKBlib.h>

namespace pallix {

DetectableAutoRepeat::DetectableAutoRepeat() {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    Display* display = x11 ? x11->display() : nullptr;
    if (!display) return;
    Bool supported = False;
    wasOn_ = XkbGetDetectableAutoRepeat(display, &supported);
    if (!supported) return;
    active_ = XkbSetDetectableAutoRepeat(display, True, &supported) && supported;
    if (active_) display_ = display;
}

DetectableAutoRepeat::~DetectableAutoRepeat() {
    if (!active_ || wasOn_) return;
    Bool supported = False;
    XkbSetDetectableAutoRepeat(static_cast<Display*>(display_), False, &supported);
    XFlush(static_cast<Display*>(display_));
}

}  // namespace pallix

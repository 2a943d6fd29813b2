#include "platform/pointer/XErrorTrap.h"

#include <X11/Xlib.h>

namespace pallix {

namespace {

bool g_xError = false;
int RecordXError(Display*, XErrorEvent*) {
    g_xError = true;
    return 0;
}

}  // namespace

XErrorTrap::XErrorTrap(Display* display)
    : display_(display), previous_(reinterpret_cast<int (*)(Display*, void*)>(XSetErrorHandler(RecordXError))) {
    g_xError = false;
}

XErrorTrap::~XErrorTrap() { XSetErrorHandler(reinterpret_cast<XErrorHandler>(previous_)); }

bool XErrorTrap::Failed() {
    XSync(display_, False);
    return g_xError;
}

}  // namespace pallix

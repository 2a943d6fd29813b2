#pragma once
// Marks an X window as a notification (_NET_WM_WINDOW_TYPE_NOTIFICATION), the type
// that belongs on an override-redirect popup of this kind: compositors choose its
// shadow and fading by it. Qt knows no such window type. Does nothing off X.
#include <cstdint>

namespace pallix::osd {

void MarkAsNotification(std::uintptr_t window);

}  // namespace pallix::osd

#pragma once
// Which key a Qt key event stands for, as the virtual-key code the key table knows.
// On X11 the scan code (evdev code + 8) names the key's position, so the result does
// not depend on the keyboard layout; events without one (synthetic ones) fall back
// to Qt's key, read as on a US layout.
#include <cstdint>

class QKeyEvent;

namespace pallix {

struct RecordedKey {
    std::uint32_t vk = 0;        // 0: no virtual key for this event
    std::uint32_t identity = 0;  // tells the sides of Shift, Ctrl and Alt apart
    bool left = true;            // the left-hand key of a modifier pair
};

// From the position: an evdev key code (scan code - 8).
RecordedKey KeyOfEvdevCode(int evdev);
// From Qt's key and the keypad flag.
RecordedKey KeyOfQtKey(int qtKey, bool keypad);
RecordedKey KeyOfEvent(const QKeyEvent& event);

}  // namespace pallix

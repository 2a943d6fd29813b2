#include "dialogs/macroeditor/QtVirtualKey.h"

#include <QKeyEvent>

#include "macro/KeyConversion.h"

namespace pallix {
namespace {

using namespace pallix::macro;

RecordedKey Plain(std::uint32_t vk) { return {vk, vk, true}; }
// The shared modifier code, the side's own code as the identity.
RecordedKey Side(std::uint32_t vk, std::uint32_t sideVk, bool left) { return {vk, sideVk, left}; }

constexpr char kLetterRows[] = "QWERTYUIOP\0\0\0\0ASDFGHJKL\0\0\0\0\0ZXCVBNM";

}  // namespace

RecordedKey KeyOfEvdevCode(int evdev) {
    if (evdev >= 2 && evdev <= 10) return Plain(static_cast<std::uint32_t>('1' + evdev - 2));
    if (evdev >= 16 && evdev <= 50) {
        const char c = kLetterRows[evdev - 16];
        if (c) return Plain(static_cast<std::uint32_t>(c));
    }
    if (evdev >= 59 && evdev <= 68) return Plain(VK_F1 + static_cast<std::uint32_t>(evdev - 59));
    switch (evdev) {
    case 1: return Plain(VK_ESCAPE);
    case 11: return Plain('0');
    case 12: return Plain(VK_OEM_MINUS);
    case 13: return Plain(VK_OEM_PLUS);
    case 14: return Plain(VK_BACK);
    case 15: return Plain(VK_TAB);
    case 26: return Plain(VK_OEM_4);
    case 27: return Plain(VK_OEM_6);
    case 28: case 96: return Plain(VK_RETURN);
    case 29: return Side(VK_CONTROL, VK_LCONTROL, true);
    case 97: return Side(VK_CONTROL, VK_RCONTROL, false);
    case 42: return Side(VK_SHIFT, VK_LSHIFT, true);
    case 54: return Side(VK_SHIFT, VK_RSHIFT, false);
    case 56: return Side(VK_MENU, VK_LMENU, true);
    case 100: return Side(VK_MENU, VK_RMENU, false);
    case 39: return Plain(VK_OEM_1);
    case 40: return Plain(VK_OEM_7);
    case 41: return Plain(VK_OEM_3);
    case 43: return Plain(VK_OEM_5);
    case 51: return Plain(VK_OEM_COMMA);
    case 52: return Plain(VK_OEM_PERIOD);
    case 53: return Plain(VK_OEM_2);
    case 55: return Plain(VK_MULTIPLY);
    case 57: return Plain(VK_SPACE);
    case 58: return Plain(VK_CAPITAL);
    case 69: return Plain(VK_NUMLOCK);
    case 70: return Plain(VK_SCROLL);
    case 71: return Plain(VK_NUMPAD0 + 7);
    case 72: return Plain(VK_NUMPAD0 + 8);
    case 73: return Plain(VK_NUMPAD0 + 9);
    case 74: return Plain(VK_SUBTRACT);
    case 75: return Plain(VK_NUMPAD0 + 4);
    case 76: return Plain(VK_NUMPAD0 + 5);
    case 77: return Plain(VK_NUMPAD0 + 6);
    case 78: return Plain(VK_ADD);
    case 79: return Plain(VK_NUMPAD0 + 1);
    case 80: return Plain(VK_NUMPAD0 + 2);
    case 81: return Plain(VK_NUMPAD0 + 3);
    case 82: return Plain(VK_NUMPAD0);
    case 83: return Plain(VK_DECIMAL);
    case 87: return Plain(VK_F1 + 10);
    case 88: return Plain(VK_F12);
    case 98: return Plain(VK_DIVIDE);
    case 99: return Plain(VK_SNAPSHOT);
    case 102: return Plain(VK_HOME);
    case 103: return Plain(VK_UP);
    case 104: return Plain(VK_PRIOR);
    case 105: return Plain(VK_LEFT);
    case 106: return Plain(VK_RIGHT);
    case 107: return Plain(VK_END);
    case 108: return Plain(VK_DOWN);
    case 109: return Plain(VK_NEXT);
    case 110: return Plain(VK_INSERT);
    case 111: return Plain(VK_DELETE);
    case 119: return Plain(VK_PAUSE);
    case 125: return Plain(VK_LWIN);
    case 126: return Plain(VK_RWIN);
    default: return {};
    }
}

RecordedKey KeyOfQtKey(int key, bool keypad) {
    if (keypad) {
        if (key >= Qt::Key_0 && key <= Qt::Key_9) return Plain(VK_NUMPAD0 + static_cast<std::uint32_t>(key - Qt::Key_0));
        switch (key) {
        case Qt::Key_Asterisk: return Plain(VK_MULTIPLY);
        case Qt::Key_Plus: return Plain(VK_ADD);
        case Qt::Key_Minus: return Plain(VK_SUBTRACT);
        case Qt::Key_Period: case Qt::Key_Comma: return Plain(VK_DECIMAL);
        case Qt::Key_Slash: return Plain(VK_DIVIDE);
        case Qt::Key_Enter: return Plain(VK_RETURN);
        default: break;
        }
    }
    if (key >= Qt::Key_A && key <= Qt::Key_Z) return Plain(static_cast<std::uint32_t>('A' + key - Qt::Key_A));
    if (key >= Qt::Key_0 && key <= Qt::Key_9) return Plain(static_cast<std::uint32_t>('0' + key - Qt::Key_0));
    if (key >= Qt::Key_F1 && key <= Qt::Key_F12) return Plain(VK_F1 + static_cast<std::uint32_t>(key - Qt::Key_F1));
    switch (key) {
    case Qt::Key_Escape: return Plain(VK_ESCAPE);
    case Qt::Key_Tab: case Qt::Key_Backtab: return Plain(VK_TAB);
    case Qt::Key_Backspace: return Plain(VK_BACK);
    case Qt::Key_Return: case Qt::Key_Enter: return Plain(VK_RETURN);
    case Qt::Key_Space: return Plain(VK_SPACE);
    case Qt::Key_Minus: case Qt::Key_Underscore: return Plain(VK_OEM_MINUS);
    case Qt::Key_Equal: case Qt::Key_Plus: return Plain(VK_OEM_PLUS);
    case Qt::Key_BracketLeft: case Qt::Key_BraceLeft: return Plain(VK_OEM_4);
    case Qt::Key_BracketRight: case Qt::Key_BraceRight: return Plain(VK_OEM_6);
    case Qt::Key_Backslash: case Qt::Key_Bar: return Plain(VK_OEM_5);
    case Qt::Key_Semicolon: case Qt::Key_Colon: return Plain(VK_OEM_1);
    case Qt::Key_Apostrophe: case Qt::Key_QuoteDbl: return Plain(VK_OEM_7);
    case Qt::Key_QuoteLeft: case Qt::Key_AsciiTilde: return Plain(VK_OEM_3);
    case Qt::Key_Comma: case Qt::Key_Less: return Plain(VK_OEM_COMMA);
    case Qt::Key_Period: case Qt::Key_Greater: return Plain(VK_OEM_PERIOD);
    case Qt::Key_Slash: case Qt::Key_Question: return Plain(VK_OEM_2);
    case Qt::Key_CapsLock: return Plain(VK_CAPITAL);
    case Qt::Key_Print: case Qt::Key_SysReq: return Plain(VK_SNAPSHOT);
    case Qt::Key_ScrollLock: return Plain(VK_SCROLL);
    case Qt::Key_Pause: return Plain(VK_PAUSE);
    case Qt::Key_Insert: return Plain(VK_INSERT);
    case Qt::Key_Delete: return Plain(VK_DELETE);
    case Qt::Key_Home: return Plain(VK_HOME);
    case Qt::Key_End: return Plain(VK_END);
    case Qt::Key_PageUp: return Plain(VK_PRIOR);
    case Qt::Key_PageDown: return Plain(VK_NEXT);
    case Qt::Key_Left: return Plain(VK_LEFT);
    case Qt::Key_Right: return Plain(VK_RIGHT);
    case Qt::Key_Up: return Plain(VK_UP);
    case Qt::Key_Down: return Plain(VK_DOWN);
    case Qt::Key_NumLock: return Plain(VK_NUMLOCK);
    // Without a scan code the side is unknown: the left key, the usual one.
    case Qt::Key_Shift: return Side(VK_SHIFT, VK_LSHIFT, true);
    case Qt::Key_Control: return Side(VK_CONTROL, VK_LCONTROL, true);
    case Qt::Key_Alt: return Side(VK_MENU, VK_LMENU, true);
    case Qt::Key_AltGr: return Side(VK_MENU, VK_RMENU, false);
    case Qt::Key_Meta: case Qt::Key_Super_L: return Plain(VK_LWIN);
    case Qt::Key_Super_R: return Plain(VK_RWIN);
    default: return {};
    }
}

RecordedKey KeyOfEvent(const QKeyEvent& event) {
    const quint32 scan = event.nativeScanCode();
    // With a position, the position alone decides: the layout's symbol on a key the
    // table does not know (the 102nd key, say) must not pass for another key.
    if (scan > 8) return KeyOfEvdevCode(static_cast<int>(scan) - 8);
    return KeyOfQtKey(event.key(), event.modifiers().testFlag(Qt::KeypadModifier));
}

}  // namespace pallix

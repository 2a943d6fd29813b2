#include "macro/KeyConversion.h"

#include "macro/InstructionSet.h"

namespace pallix::macro {

std::uint8_t KeyCodeOfVirtualKey(std::uint32_t vk) {
    if (vk >= 'A' && vk <= 'Z') return static_cast<std::uint8_t>(0x04 + vk - 'A');
    if (vk >= '1' && vk <= '9') return static_cast<std::uint8_t>(0x1E + vk - '1');
    if (vk == '0') return 0x27;
    if (vk >= VK_F1 && vk <= VK_F12) return static_cast<std::uint8_t>(0x3A + vk - VK_F1);
    if (vk >= VK_NUMPAD0 + 1 && vk <= VK_NUMPAD9) return static_cast<std::uint8_t>(0x59 + vk - VK_NUMPAD0 - 1);
    switch (vk) {
    case VK_RETURN: return 0x28;
    case VK_ESCAPE: return 0x29;
    case VK_BACK: return 0x2A;
    case VK_TAB: return 0x2B;
    case VK_SPACE: return 0x2C;
    case VK_OEM_MINUS: return 0x2D;
    case VK_OEM_PLUS: return 0x2E;
    case VK_OEM_4: return 0x2F;
    case VK_OEM_6: return 0x30;
    case VK_OEM_5: return 0x31;
    case VK_OEM_1: return 0x33;
    case VK_OEM_7: return 0x34;
    case VK_OEM_3: return 0x35;
    case VK_OEM_COMMA: return 0x36;
    case VK_OEM_PERIOD: return 0x37;
    case VK_OEM_2: return 0x38;
    case VK_CAPITAL: return 0x39;
    case VK_SNAPSHOT: return 0x46;
    case VK_SCROLL: return 0x47;
    case VK_PAUSE: return 0x48;
    case VK_INSERT: return 0x49;
    case VK_HOME: return 0x4A;
    case VK_PRIOR: return 0x4B;
    case VK_DELETE: return 0x4C;
    case VK_END: return 0x4D;
    case VK_NEXT: return 0x4E;
    case VK_RIGHT: return 0x4F;
    case VK_LEFT: return 0x50;
    case VK_DOWN: return 0x51;
    case VK_UP: return 0x52;
    case VK_NUMLOCK: return 0x53;
    case VK_DIVIDE: return 0x54;
    case VK_MULTIPLY: return 0x55;
    case VK_SUBTRACT: return 0x56;
    case VK_ADD: return 0x57;
    case VK_NUMPAD0: return 0x62;
    case VK_DECIMAL: return 0x63;
    case VK_LWIN: return KEY_LEFT_WIN;
    case VK_RWIN: return KEY_RIGHT_WIN;
    default: return 0;
    }
}

std::uint8_t CKeyConverter::Modifier(Sides& sides, std::uint32_t leftVk, std::uint8_t leftCode,
                                     std::uint8_t rightCode, bool keyDown) {
    if (keyDown) {
        if (isDown_ && isDown_(leftVk)) {
            sides.left = true;
            return leftCode;
        }
        sides.right = true;
        return rightCode;
    }
    if (sides.left) {
        sides.left = false;
        return leftCode;
    }
    sides.right = false;
    return rightCode;
}

std::uint8_t CKeyConverter::Convert(std::uint32_t vk, bool keyDown) {
    switch (vk) {
    case VK_SHIFT: return Modifier(shift_, VK_LSHIFT, KEY_LEFT_SHIFT, KEY_RIGHT_SHIFT, keyDown);
    case VK_CONTROL: return Modifier(control_, VK_LCONTROL, KEY_LEFT_CTRL, KEY_RIGHT_CTRL, keyDown);
    case VK_MENU: return Modifier(alt_, VK_LMENU, KEY_LEFT_ALT, KEY_RIGHT_ALT, keyDown);
    default: return KeyCodeOfVirtualKey(vk);
    }
}

}  // namespace pallix::macro

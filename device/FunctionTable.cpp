#include "device/FunctionTable.h"

#include <cctype>

#include "device/CIcRK44.h"
#include "device/MemoryMap.h"

namespace pallix {

namespace {

// Mask bit number of a mouse-button function, or -1 when not exactly one bit.
int MaskBit(std::uint8_t mask) {
    for (int bit = 0; bit < 8; ++bit)
        if (mask == (1u << bit)) return bit;
    return -1;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

}  // namespace

int IdentifyFunction(const ButtonFunction& f) {
    for (int i = 0; i < kStandardFunctionCount; ++i) {
        const ButtonFunction& row = kStandardFunctions[static_cast<std::size_t>(i)].function;
        if (row.type != f.type) continue;
        switch (f.type) {
        case kTypeMouseButton:
            if (row.params[0] == f.params[0]) return i;
            break;
        case kTypeFourParam:
        case kTypeDoubleClick:
            if (row.params == f.params) return i;
            break;
        default:
            return i;
        }
    }
    return -1;
}

bool IsFactoryFunction(const ButtonFunction& f, int button) {
    switch (f.type) {
    case kTypeMouseButton: return MaskBit(f.params[0]) == button;
    case kTypeSensitivityUp: return button == 5;
    case kTypeSensitivityDown: return button == 6;
    case kTypeButtonOff: return button == 7;
    default: return false;
    }
}

bool IsClick(const ButtonFunction& f) { return f.type == kTypeMouseButton && f.params[0] == 1; }

int FindFunctionByName(std::string_view name) {
    for (int i = 0; i < kStandardFunctionCount; ++i)
        if (EqualsIgnoringCase(name, kStandardFunctions[static_cast<std::size_t>(i)].name)) return i;
    return -1;
}

ButtonFunction CachedButtonFunction(const CIcRK44& memory, int profile, int button) {
    ButtonFunction f;
    f.type = static_cast<std::uint8_t>(memory.Entry(memmap::ButtonTypeAddress(profile, button)).value & 0xFF);
    for (int k = 0; k < memmap::kButtonParamCount; ++k)
        f.params[static_cast<std::size_t>(k)] =
            static_cast<std::uint8_t>(memory.Entry(memmap::ButtonParamAddress(profile, button, k)).value & 0xFF);
    return f;
}

}  // namespace pallix

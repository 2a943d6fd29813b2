#pragma once
// How a button's function is stored (type byte + four parameter bytes) and the
// eleven standard functions the function chooser offers, in chooser order.
#include <array>
#include <cstdint>

namespace pallix {

enum ButtonType : std::uint8_t {
    kTypeMouseButton = 1,
    kTypeFourParam = 2,
    kTypeDoubleClick = 4,
    kTypeMacro = 6,
    kTypeSensitivityUp = 9,
    kTypeSensitivityDown = 10,
    kTypeLaunch = 15,
    kTypeButtonOff = 96,
};

struct ButtonFunction {
    std::uint8_t type = 0;
    std::array<std::uint8_t, 4> params{};
    friend bool operator==(const ButtonFunction&, const ButtonFunction&) = default;
};

struct StandardFunction {
    const char* name;
    ButtonFunction function;
};

enum StandardFunctionIndex : int {
    kFnMacroKey = 0,
    kFnClick,
    kFnButtonOff,
    kFnRightButton,
    kFnDoubleClick,
    kFnBackward,
    kFnForward,
    kFnScrollButton,
    kFnSensitivityUp,
    kFnSensitivityDown,
    kFnLaunch,
    kStandardFunctionCount,
};

inline constexpr std::array<StandardFunction, kStandardFunctionCount> kStandardFunctions{{
    {"MACRO KEY", {kTypeMacro, {0, 0, 0, 0}}},
    {"CLICK", {kTypeMouseButton, {1, 0, 0, 0}}},
    {"BUTTON OFF", {kTypeButtonOff, {0, 0, 0, 0}}},
    {"RIGHT BUTTON", {kTypeMouseButton, {2, 0, 0, 0}}},
    {"DOUBLE CLICK", {kTypeDoubleClick, {1, 2, 6, 2}}},
    {"BACKWARD", {kTypeMouseButton, {8, 0, 0, 0}}},
    {"FORWARD", {kTypeMouseButton, {16, 0, 0, 0}}},
    {"SCROLL BUTTON", {kTypeMouseButton, {4, 0, 0, 0}}},
    {"SENSITIVITY-UP", {kTypeSensitivityUp, {0, 0, 0, 0}}},
    {"SENSITIVITY-DOWN", {kTypeSensitivityDown, {0, 0, 0, 0}}},
    {"LAUNCH", {kTypeLaunch, {0, 0, 0, 0}}},
}};

// Factory function of each button (index into kStandardFunctions).
inline constexpr std::array<int, 8> kFactoryFunctions{
    kFnClick, kFnRightButton, kFnScrollButton, kFnBackward,
    kFnForward, kFnSensitivityUp, kFnSensitivityDown, kFnButtonOff,
};

}  // namespace pallix

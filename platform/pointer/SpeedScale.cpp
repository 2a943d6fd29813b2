#include "platform/pointer/SpeedScale.h"

#include <algorithm>
#include <cmath>

#include "common/PointerSettings.h"

namespace pallix {

namespace {

constexpr int kNeutral = 10;

int ClampSpeed(long v) { return static_cast<int>(std::clamp<long>(v, kPointerSpeedMin, kPointerSpeedMax)); }

}  // namespace

// 1..10 spread over -1..0 and 10..20 over 0..1, so both ends of the scale are reached.
double SpeedToLibinput(int speed) {
    speed = ClampSpeed(speed);
    return speed <= kNeutral ? (speed - kNeutral) / 9.0 : (speed - kNeutral) / 10.0;
}

int LibinputToSpeed(double gnome) {
    if (!std::isfinite(gnome)) return kNeutral;
    gnome = std::clamp(gnome, -1.0, 1.0);
    return ClampSpeed(std::lround(gnome <= 0 ? kNeutral + 9.0 * gnome : kNeutral + 10.0 * gnome));
}

// The X server's own default, 2/1, is the middle of the scale.
constexpr int kXDenominator = 5;

XAcceleration SpeedToXAcceleration(int speed) { return {ClampSpeed(speed), kXDenominator}; }

int XAccelerationToSpeed(int numerator, int denominator) {
    if (numerator <= 0 || denominator <= 0) return kNeutral;
    return ClampSpeed(std::lround(kXDenominator * static_cast<double>(numerator) / denominator));
}

}  // namespace pallix

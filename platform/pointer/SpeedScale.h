#pragma once
// Pointer speed 1-20 (10 is neutral) on the scales the desktops use. Each pair maps
// every speed there and back to itself.
namespace pallix {

// libinput's acceleration speed, as GNOME's "speed", KWin's "pointerAcceleration" and the
// X libinput driver take it: -1 (slowest) .. 0 (default) .. 1 (fastest).
double SpeedToLibinput(int speed);
int LibinputToSpeed(double accel);

// The X server's acceleration as a fraction: speed s moves s/5 times as fast once
// the threshold is passed, so 10 is the server's default of 2 and 5 means none.
struct XAcceleration {
    int numerator = 1;
    int denominator = 1;
};
XAcceleration SpeedToXAcceleration(int speed);
int XAccelerationToSpeed(int numerator, int denominator);  // clamped to 1-20

}  // namespace pallix

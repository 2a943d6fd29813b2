#pragma once
// Every pause of the device code goes through a Sleeper, so the retry and pacing
// rules run instantly (or are recorded) in tests.
#include <chrono>
#include <functional>
#include <thread>

namespace pallix {

using Sleeper = std::function<void(int milliseconds)>;

inline void SleepMilliseconds(int milliseconds) {
    if (milliseconds > 0) std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

}  // namespace pallix

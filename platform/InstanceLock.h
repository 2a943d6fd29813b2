#pragma once
// Named per-user locks that keep a program to one instance. The kernel releases a
// lock when its holder ends, however it ends.
#include <string>
#include <string_view>

namespace pallix {

inline constexpr const char* kPallixInstanceLock = "Quelta PALLIX Ostrel";
inline constexpr const char* kMonitorInstanceLock = "PALLIX Monitor";

// The process holding the named lock, found without touching the lock (so a holder
// starting up meanwhile is not turned away): 0 when nobody holds it, -1 when the
// kernel's lock table cannot tell.
int InstanceLockHolder(std::string_view name);

class InstanceLock {
public:
    // Tries once, without waiting. The name is a plain file name.
    explicit InstanceLock(std::string_view name);
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // True when this object holds the lock; false when another holder has it or the
    // lock file could not be opened.
    bool IsHeld() const { return fd_ >= 0; }
    // True when the lock was refused because somebody else holds it.
    bool HeldElsewhere() const { return heldElsewhere_; }

private:
    int fd_ = -1;
    bool heldElsewhere_ = false;
};

}  // namespace pallix

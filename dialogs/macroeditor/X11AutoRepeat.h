#pragma once
// While one lives, the X server reports a held key to this program as repeated
// presses with no release between them (XKB detectable auto-repeat), so a repeat
// cannot pass for a release and a new press. Off X11, or where the server does
// not offer it, nothing changes.
namespace pallix {

class DetectableAutoRepeat {
public:
    DetectableAutoRepeat();
    ~DetectableAutoRepeat();
    DetectableAutoRepeat(const DetectableAutoRepeat&) = delete;
    DetectableAutoRepeat& operator=(const DetectableAutoRepeat&) = delete;

    bool Active() const { return active_; }

private:
    void* display_ = nullptr;
    bool active_ = false;
    bool wasOn_ = false;
};

}  // namespace pallix

#pragma once
// Holds every other X client off while it lives, so a change of the window made of
// several requests (size, shape, picture) is seen by nobody - no compositor, no
// screen - half done. Does nothing on other platforms.
struct xcb_connection_t;

namespace pallix::osd {

class ServerGrab {
public:
    ServerGrab();
    ~ServerGrab();
    ServerGrab(const ServerGrab&) = delete;
    ServerGrab& operator=(const ServerGrab&) = delete;

private:
    xcb_connection_t* connection_ = nullptr;
};

}  // namespace pallix::osd

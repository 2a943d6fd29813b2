#pragma once
// Xlib's default handler ends the process on any protocol error; while one of
// these lives, errors are collected instead.
struct _XDisplay;

namespace pallix {

class XErrorTrap {
public:
    explicit XErrorTrap(_XDisplay* display);
    ~XErrorTrap();
    XErrorTrap(const XErrorTrap&) = delete;
    XErrorTrap& operator=(const XErrorTrap&) = delete;
    // Waits for the server's answers; whether any request since failed.
    bool Failed();

private:
    _XDisplay* display_;
    int (*previous_)(_XDisplay*, void*);
};

}  // namespace pallix

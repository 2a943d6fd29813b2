#pragma once
// How a sender reaches a published window: the handle is read from the settings
// store at the moment of posting, 0 and -1 mean "nobody to tell", and a post never
// waits for the receiver.
#include <cstdint>
#include <string_view>

#include "common/Messages.h"
#include "common/SettingsStore.h"

namespace pallix {

// A window handle as published: a 32-bit value, never 0 or -1 for a real window.
using WindowHandle = std::uint32_t;

constexpr bool IsPublishedHandle(std::uint32_t value) {
    return value != 0 && value != kDwordMissing;
}

enum class PostResult {
    Posted,    // handed to the receiver's queue
    NoWindow,  // no handle published (0, -1, missing) or nothing to relay to
    NotLive,   // the handle names no window (any more)
    Busy,      // the receiver's queue is full; the post was dropped
    Failed,    // any other error
};

const char* ToString(PostResult result);

// Delivers one message to a window handle without waiting.
class Poster {
public:
    virtual ~Poster() = default;
    virtual PostResult Post(WindowHandle target, const Message& message) = 0;
    // Whether the handle names an existing window; must not disturb that window.
    virtual bool IsLiveWindow(WindowHandle target) = 0;
};

// The configuration program's rule: post to whatever handle is published.
PostResult PostToWindow(SettingsStore& store, Poster& poster, std::string_view valueName,
                        const Message& message);

// The monitor's rule: as PostToWindow, but a handle that names no live window is
// skipped before posting.
PostResult PostToLiveWindow(SettingsStore& store, Poster& poster, std::string_view valueName,
                            const Message& message);

struct RelayResult {
    PostResult dialog;  // WM_DEVICE_EVENT to the window "Current Dialog" names
    PostResult osd;     // WM_OSD_NOTIFY to "OSD Handle"
};

// The monitor's relay of one device event: first to the configuration program's
// current dialog, then the same codes to the on-screen display.
RelayResult RelayDeviceEvent(SettingsStore& store, Poster& poster, std::uint32_t wParam,
                             std::uint32_t lParam);

// A window publishes its handle when it opens ...
int PublishHandle(SettingsStore& store, std::string_view valueName, WindowHandle handle);

// ... and withdraws it when it closes, the way its value is withdrawn: "Process
// Handle" and "Current Dialog" are deleted, the dialogs' handles become -1, "OSD
// Handle" becomes 0, "Monitor Handle" stays. Other names become -1.
int WithdrawHandle(SettingsStore& store, std::string_view valueName);

}  // namespace pallix

#include "common/Posting.h"

namespace pallix {

namespace {

enum class HandleCheck { None, Live };

PostResult PostByName(SettingsStore& store, Poster& poster, std::string_view valueName,
                      const Message& message, HandleCheck check) {
    // Never cached: the receiver may have closed or been replaced since the last post.
    const std::uint32_t handle = store.ReadDword(valueName);
    if (!IsPublishedHandle(handle)) return PostResult::NoWindow;
    if (check == HandleCheck::Live && !poster.IsLiveWindow(handle)) return PostResult::NotLive;
    return poster.Post(handle, message);
}

}  // namespace

const char* ToString(PostResult result) {
    switch (result) {
    case PostResult::Posted: return "posted";
    case PostResult::NoWindow: return "no window";
    case PostResult::NotLive: return "not live";
    case PostResult::Busy: return "busy";
    case PostResult::Failed: return "failed";
    }
    return "?";
}

PostResult PostToWindow(SettingsStore& store, Poster& poster, std::string_view valueName,
                        const Message& message) {
    return PostByName(store, poster, valueName, message, HandleCheck::None);
}

PostResult PostToLiveWindow(SettingsStore& store, Poster& poster, std::string_view valueName,
                            const Message& message) {
    return PostByName(store, poster, valueName, message, HandleCheck::Live);
}

RelayResult RelayDeviceEvent(SettingsStore& store, Poster& poster, std::uint32_t wParam,
                             std::uint32_t lParam) {
    RelayResult result{PostResult::NoWindow, PostResult::NoWindow};
    // "Current Dialog" 4, missing or unknown: the configuration program gets nothing;
    // never fall back to its main window.
    if (const char* dialog = CurrentDialogHandleName(store.ReadDword(kCurrentDialog)))
        result.dialog = PostToLiveWindow(store, poster, dialog, {WM_DEVICE_EVENT, wParam, lParam});
    result.osd = PostToLiveWindow(store, poster, kOsdHandle, {WM_OSD_NOTIFY, wParam, lParam});
    return result;
}

int PublishHandle(SettingsStore& store, std::string_view valueName, WindowHandle handle) {
    return store.WriteDword(valueName, handle);
}

int WithdrawHandle(SettingsStore& store, std::string_view valueName) {
    if (valueName == kProcessHandle || valueName == kCurrentDialog)
        return store.DeleteValue(valueName);
    if (valueName == kOsdHandle) return store.WriteDword(valueName, 0);
    if (valueName == kMonitorHandle) return 1;
    return store.WriteDword(valueName, kDwordMissing);
}

}  // namespace pallix

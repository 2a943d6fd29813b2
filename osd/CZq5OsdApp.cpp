// The library's application object: loading the library into a process that runs a
// QApplication creates the display window; unloading it destroys the window, which
// withdraws "OSD Handle".
#include <QApplication>
#include <QPointer>
#include <QThread>

#include "osd/COsdWnd.h"
#include "osd/OsdQuery.h"

namespace pallix::osd {
namespace {

class CZq5OsdApp {
public:
    CZq5OsdApp() {
        // Widgets need the host's QApplication on the thread that loads us.
        auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
        if (!app || app->thread() != QThread::currentThread()) return;
        window_ = new COsdWnd;
    }
    ~CZq5OsdApp() {
        // At process exit after the QApplication is gone, only the handle is withdrawn.
        if (window_ && QCoreApplication::instance()) delete window_.data();
        else if (window_) WithdrawStaleHandle();
    }
    CZq5OsdApp(const CZq5OsdApp&) = delete;
    CZq5OsdApp& operator=(const CZq5OsdApp&) = delete;

    COsdWnd* window() const { return window_.data(); }

private:
    static void WithdrawStaleHandle() {
        SqliteSettingsStore store;
        WithdrawHandle(store, kOsdHandle);
    }

    QPointer<COsdWnd> window_;
};

CZq5OsdApp theApp;

}  // namespace
}  // namespace pallix::osd

extern "C" __attribute__((visibility("default"))) int Qx7OsdGetState(Qx7OsdState* state) {
    const auto* window = pallix::osd::theApp.window();
    if (!window || !state) return 0;
    *state = window->state();
    return 1;
}

extern "C" __attribute__((visibility("default"))) std::uint32_t Qx7OsdWindowHandle() {
    const auto* window = pallix::osd::theApp.window();
    return window ? window->handle() : 0;
}

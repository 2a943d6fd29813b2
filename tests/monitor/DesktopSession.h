#pragma once
// A private X desktop for a test: Xvfb, a session bus of its own, optionally a
// window manager, a compositor and a tray host, each a real process. While it lives,
// DISPLAY and DBUS_SESSION_BUS_ADDRESS name it and QT_QPA_PLATFORM and
// WAYLAND_DISPLAY are unset, so the programs a test starts run on it through xcb.
// The test's own Xlib connection looks at the screen and the window tree.
// Qt before Xlib, whose macros (None, Bool, FocusIn...) clash with Qt's names.
#include <QImage>
#include <QRect>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "tests/support/WaitFor.h"

extern char** environ;

namespace pallix::test {

inline bool HaveProgram(const std::string& name) {
    for (const char* dir : {"/usr/bin", "/usr/local/bin", "/bin"})
        if (access((std::string(dir) + "/" + name).c_str(), X_OK) == 0) return true;
    return false;
}

enum class Wm { Bare, Openbox, Xfwm4 };
enum class Compositor { Off, Xcompmgr, WmOwn };

inline const char* WmName(Wm wm) { return wm == Wm::Openbox ? "openbox" : wm == Wm::Xfwm4 ? "xfwm4" : "no-wm"; }
inline const char* CompositorName(Compositor c) {
    return c == Compositor::Xcompmgr ? "xcompmgr" : c == Compositor::WmOwn ? "wm-compositor" : "no-compositor";
}

class DesktopSession {
public:
    DesktopSession(Wm wm = Wm::Bare, Compositor compositor = Compositor::Off) {
        for (const char* tool : {"Xvfb", "dbus-daemon"})
            if (!HaveProgram(tool)) missing_ += std::string(" ") + tool;
        if (wm != Wm::Bare && !HaveProgram(WmName(wm))) missing_ += std::string(" ") + WmName(wm);
        if (compositor == Compositor::Xcompmgr && !HaveProgram("xcompmgr")) missing_ += " xcompmgr";
        if (!missing_.empty()) return;
        char folder[] = "/tmp/pallix-desktop-XXXXXX";
        if (!mkdtemp(folder)) return;
        folder_ = folder;
        if (!StartX() || !StartBus()) return;
        SaveAndSet("DISPLAY", display_.c_str());
        SaveAndSet("DBUS_SESSION_BUS_ADDRESS", bus_.c_str());
        SaveAndSet("QT_QPA_PLATFORM", nullptr);
        SaveAndSet("WAYLAND_DISPLAY", nullptr);
        x_ = XOpenDisplay(display_.c_str());
        if (!x_) return;
        if (wm == Wm::Openbox) Spawn({"openbox"});
        if (wm == Wm::Xfwm4)
            Spawn({"xfwm4", compositor == Compositor::WmOwn ? "--compositor=on" : "--compositor=off"});
        if (wm != Wm::Bare && !WaitFor([&] { return HasRootProperty("_NET_SUPPORTING_WM_CHECK"); }, std::chrono::seconds(10)))
            return;
        if (compositor == Compositor::Xcompmgr) Spawn({"xcompmgr", "-n"});
        if (compositor != Compositor::Off &&
            !WaitFor([&] { return SelectionOwned("_NET_WM_CM_S0"); }, std::chrono::seconds(10)))
            return;
        ready_ = true;
    }

    ~DesktopSession() {
        for (auto it = children_.rbegin(); it != children_.rend(); ++it) Stop(*it);
        if (x_) XCloseDisplay(x_);
        Stop(busPid_);
        Stop(xPid_);
        for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
            if (it->second) setenv(it->first.c_str(), it->second->c_str(), 1);
            else unsetenv(it->first.c_str());
        }
        std::error_code ec;
        if (!folder_.empty()) std::filesystem::remove_all(folder_, ec);
    }
    DesktopSession(const DesktopSession&) = delete;
    DesktopSession& operator=(const DesktopSession&) = delete;

    // Empty when everything started; else the missing programs or what failed.
    std::string Problem() const {
        if (!missing_.empty()) return "needs" + missing_;
        return ready_ ? std::string() : "the desktop did not start";
    }
    Display* X() const { return x_; }

    // Starts a program on this desktop, stopped (SIGTERM) with the session.
    pid_t Spawn(std::vector<std::string> argv) {
        const pid_t pid = SpawnWith(argv, -1);
        if (pid > 0) children_.push_back(pid);
        return pid;
    }

    // The system-tray host, at the top right, as a panel started at login would be.
    bool StartTray() {
        if (!HaveProgram("trayer")) return false;
        Spawn({"trayer", "--edge", "top", "--align", "right", "--widthtype", "pixel", "--width", "120", "--height",
               "32", "--transparent", "false", "--tint", "0x303030", "--SetDockType", "true"});
        return WaitFor([&] { return SelectionOwned("_NET_SYSTEM_TRAY_S0"); }, std::chrono::seconds(10));
    }

    QImage Grab(const QRect& r) const {
        XImage* image = XGetImage(x_, DefaultRootWindow(x_), r.x(), r.y(), static_cast<unsigned>(r.width()),
                                  static_cast<unsigned>(r.height()), AllPlanes, ZPixmap);
        if (!image) return {};
        QImage out(r.size(), QImage::Format_RGB32);
        for (int y = 0; y < r.height(); ++y)
            for (int x = 0; x < r.width(); ++x)
                out.setPixel(x, y, static_cast<QRgb>(XGetPixel(image, x, y)) | 0xFF000000u);
        XDestroyImage(image);
        return out;
    }
    QRect Screen() const {
        return {0, 0, DisplayWidth(x_, DefaultScreen(x_)), DisplayHeight(x_, DefaultScreen(x_))};
    }

    // Every window, at any depth, whose WM_CLASS class is name.
    std::vector<Window> WindowsOfClass(const std::string& name) const {
        std::vector<Window> found;
        Collect(DefaultRootWindow(x_), name, found);
        return found;
    }
    Window Parent(Window w) const {
        Window root = 0, parent = 0, *children = nullptr;
        unsigned count = 0;
        if (!XQueryTree(x_, w, &root, &parent, &children, &count)) return 0;
        if (children) XFree(children);
        return parent;
    }
    bool IsMapped(Window w) const {
        XWindowAttributes a{};
        return XGetWindowAttributes(x_, w, &a) && a.map_state == IsViewable;
    }
    bool IsOverrideRedirect(Window w) const {
        XWindowAttributes a{};
        return XGetWindowAttributes(x_, w, &a) && a.override_redirect;
    }
    // The first _NET_WM_WINDOW_TYPE atom's name; empty when there is none.
    std::string WindowType(Window w) const {
        Atom type = 0;
        int format = 0;
        unsigned long items = 0, after = 0;
        unsigned char* data = nullptr;
        std::string name;
        if (XGetWindowProperty(x_, w, XInternAtom(x_, "_NET_WM_WINDOW_TYPE", False), 0, 1, False, XA_ATOM, &type,
                               &format, &items, &after, &data) == Success &&
            items == 1 && format == 32) {
            char* text = XGetAtomName(x_, *reinterpret_cast<Atom*>(data));
            if (text) name = text;
            if (text) XFree(text);
        }
        if (data) XFree(data);
        return name;
    }
    // The window's rectangle on the screen.
    QRect Geometry(Window w) const {
        XWindowAttributes a{};
        if (!XGetWindowAttributes(x_, w, &a)) return {};
        int x = 0, y = 0;
        Window child = 0;
        XTranslateCoordinates(x_, w, DefaultRootWindow(x_), 0, 0, &x, &y, &child);
        return {x, y, a.width, a.height};
    }
    Window Focus() const {
        Window w = 0;
        int revert = 0;
        XGetInputFocus(x_, &w, &revert);
        return w;
    }
    bool SelectionOwned(const char* selection) const {
        return XGetSelectionOwner(x_, XInternAtom(x_, selection, False)) != None;
    }

private:
    bool StartX() {
        int fds[2];
        if (pipe(fds) != 0) return false;
        xPid_ = SpawnWith({"Xvfb", "-displayfd", "3", "-noreset", "-nolisten", "tcp", "-screen", "0", "1280x800x24"},
                          fds[1]);
        close(fds[1]);
        std::string number;
        char c = 0;
        while (read(fds[0], &c, 1) == 1 && c != '\n') number += c;
        close(fds[0]);
        if (number.empty()) return false;
        display_ = ":" + number;
        return true;
    }
    bool StartBus() {
        const std::string socket = folder_ + "/bus";
        bus_ = "unix:path=" + socket;
        busPid_ = SpawnWith({"dbus-daemon", "--session", "--nofork", "--nopidfile", "--address=" + bus_}, -1);
        return WaitFor([&] { return std::filesystem::exists(socket); }, std::chrono::seconds(10));
    }
    // displayFd: becomes the child's fd 3 (for Xvfb -displayfd).
    static pid_t SpawnWith(std::vector<std::string> argv, int displayFd) {
        std::vector<char*> raw;
        for (auto& a : argv) raw.push_back(a.data());
        raw.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        if (displayFd >= 0) posix_spawn_file_actions_adddup2(&actions, displayFd, 3);
        pid_t pid = -1;
        if (posix_spawnp(&pid, raw[0], &actions, nullptr, raw.data(), environ) != 0) pid = -1;
        posix_spawn_file_actions_destroy(&actions);
        return pid;
    }
    static void Stop(pid_t pid) {
        if (pid <= 0) return;
        kill(pid, SIGTERM);
        if (!WaitFor([&] { return waitpid(pid, nullptr, WNOHANG) == pid; }, std::chrono::seconds(3))) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
    }
    void SaveAndSet(const char* name, const char* value) {
        const char* old = std::getenv(name);
        saved_.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
        if (value) setenv(name, value, 1);
        else unsetenv(name);
    }
    bool HasRootProperty(const char* name) const {
        Atom type = 0;
        int format = 0;
        unsigned long items = 0, after = 0;
        unsigned char* data = nullptr;
        const bool has = XGetWindowProperty(x_, DefaultRootWindow(x_), XInternAtom(x_, name, False), 0, 1, False,
                                            AnyPropertyType, &type, &format, &items, &after, &data) == Success &&
                         type != None;
        if (data) XFree(data);
        return has;
    }
    void Collect(Window w, const std::string& name, std::vector<Window>& found) const {
        XClassHint hint{};
        if (XGetClassHint(x_, w, &hint)) {
            if (hint.res_class && name == hint.res_class) found.push_back(w);
            if (hint.res_name) XFree(hint.res_name);
            if (hint.res_class) XFree(hint.res_class);
        }
        Window root = 0, parent = 0, *children = nullptr;
        unsigned count = 0;
        if (!XQueryTree(x_, w, &root, &parent, &children, &count)) return;
        for (unsigned i = 0; i < count; ++i) Collect(children[i], name, found);
        if (children) XFree(children);
    }

    std::string missing_;
    std::string folder_;
    std::string display_, bus_;
    pid_t xPid_ = -1, busPid_ = -1;
    std::vector<pid_t> children_;
    std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
    Display* x_ = nullptr;
    bool ready_ = false;
};

}  // namespace pallix::test

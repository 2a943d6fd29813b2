// The monitor and its display on real X desktops: Xvfb with a window manager, a
// compositor and a tray host as real processes, against pallix-vmouse. What the
// user would see is read back from the screen.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <QImage>

#include "osd/OsdPictures.h"
#include "osd/OsdQuery.h"
#include "resources/Artwork.h"
#include "tests/monitor/MonitorProcess.h"
#include "tests/support/RunProgram.h"
#include "tests/support/TempEnv.h"
#include "tests/support/VmouseProcess.h"
// Last: it brings in Xlib.
#include "tests/monitor/DesktopSession.h"

namespace pallix::test {
namespace {

using namespace std::chrono_literals;

std::string ReadText(const std::filesystem::path& path) {
    std::ifstream in(path);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

// The picture's place by the display's rule: centred, 50 pixels above the bottom.
QRect PicturePlace(const QRect& screen, const QSize& size) {
    return {(screen.width() - size.width()) / 2, screen.height() - size.height() - 50, size.width(), size.height()};
}

bool Near(QRgb a, QRgb b, int tolerance) {
    return std::abs(qRed(a) - qRed(b)) <= tolerance && std::abs(qGreen(a) - qGreen(b)) <= tolerance &&
           std::abs(qBlue(a) - qBlue(b)) <= tolerance;
}

// Share of the picture's own pixels (not cut out) that the screen shows as the
// picture, within tolerance (a compositor blends the display's 220/255 opacity).
double ShownShare(const QImage& screen, const QImage& picture, int tolerance) {
    int own = 0, shown = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            const QRgb p = picture.pixel(x, y);
            if ((p & 0xFFFFFFu) == (osd::kCutOutColour & 0xFFFFFFu)) continue;
            ++own;
            if (Near(screen.pixel(x, y), p, tolerance)) ++shown;
        }
    return own ? static_cast<double>(shown) / own : 0.0;
}

// Kept for a person to look at when PALLIX_SCREENSHOT_DIR names a folder.
void KeepScreenshot(const DesktopSession& desktop, const std::string& name) {
    const char* folder = std::getenv("PALLIX_SCREENSHOT_DIR");
    if (!folder || !*folder) return;
    std::filesystem::create_directories(folder);
    desktop.Grab(desktop.Screen()).save(QString::fromStdString(std::string(folder) + "/" + name + ".png"));
}

class DesktopTest : public ::testing::Test {
protected:
    void SetUp() override { setenv("PALLIX_HID_BACKENDS", "virtual", 1); }
    void TearDown() override {
        // A program the monitor started outlives it, as it should: close it here.
        PostToLiveWindow(store, poster, kProcessHandle, {WM_CLOSE, 0, 0});
        unsetenv("PALLIX_HID_BACKENDS");
    }

    std::unique_ptr<MonitorProcess> StartMonitor(std::vector<std::string> args = {"/Automation"}) {
        auto monitor = std::make_unique<MonitorProcess>(std::move(args));
        EXPECT_TRUE(probe.WaitFor(store, [](const Qx7OsdState&) { return true; }, 8000ms)) << "display never answered";
        return monitor;
    }
    std::optional<Qx7OsdState> Shown(int pictureId) {
        return probe.WaitFor(store, [=](const Qx7OsdState& s) { return s.visible && s.pictureId == pictureId; });
    }
    // The monitor's icon, once a tray has embedded it (its parent is then the tray's).
    std::optional<Window> EmbeddedIcon(const DesktopSession& desktop) {
        for (Window w : desktop.WindowsOfClass("Qx7Monitor"))
            if (desktop.Parent(w) != DefaultRootWindow(desktop.X()) && desktop.IsMapped(w)) return w;
        return std::nullopt;
    }
    std::string FakeLog() const { return ReadText(env.Root() / "home" / "fake-pallix.log"); }

    TempEnv env;
    SqliteSettingsStore store;
    MailboxPoster poster;
    OsdProbe probe;
};

TEST_F(DesktopTest, TrayIconComesWhenTheTrayStartsAfterTheMonitor) {
    DesktopSession desktop(Wm::Openbox);
    if (!desktop.Problem().empty()) GTEST_SKIP() << desktop.Problem();
    if (!HaveProgram("trayer")) GTEST_SKIP() << "needs trayer";
    auto monitor = StartMonitor();
    std::this_thread::sleep_for(500ms);
    ASSERT_FALSE(EmbeddedIcon(desktop));
    // The panel of a login session, starting late; far sooner than the slow recheck.
    ASSERT_TRUE(desktop.StartTray());
    ASSERT_TRUE(WaitFor([&] { return EmbeddedIcon(desktop).has_value(); }, 3s)) << "no icon in the late tray";
    std::this_thread::sleep_for(300ms);
    KeepScreenshot(desktop, "tray-icon-after-late-trayer");
}

TEST_F(DesktopTest, LeftClickOnTheTrayIconStartsOrShowsTheProgram) {
    DesktopSession desktop(Wm::Openbox);
    if (!desktop.Problem().empty()) GTEST_SKIP() << desktop.Problem();
    if (!HaveProgram("xdotool")) GTEST_SKIP() << "needs xdotool";
    if (!desktop.StartTray()) GTEST_SKIP() << "needs trayer";
    store.WriteString(kLocateAppValue, std::string(PALLIX_BUILD_DIR) + "/tests/monitor/fake-pallix");
    auto monitor = StartMonitor();
    std::optional<Window> icon;
    ASSERT_TRUE(WaitFor([&] { return (icon = EmbeddedIcon(desktop)).has_value(); }, 5s));
    const QPoint centre = desktop.Geometry(*icon).center();
    auto click = [&](const char* button) {
        return RunProgram({"/usr/bin/xdotool", "mousemove", std::to_string(centre.x()), std::to_string(centre.y()),
                           "click", button});
    };
    ASSERT_EQ(click("1"), 0);
    ASSERT_TRUE(WaitFor([&] { return FakeLog().find("started 0\n") != std::string::npos; }, 5s)) << FakeLog();
    ASSERT_TRUE(WaitFor([&] { return IsPublishedHandle(store.ReadDword(kProcessHandle)); }, 5s));
    // Running now: the next click asks it to show itself, and starts nothing. (Not
    // so soon that it makes a double-click with the first.)
    std::this_thread::sleep_for(800ms);
    ASSERT_EQ(click("1"), 0);
    const std::string show = std::to_string(WM_COMMAND) + " " + std::to_string(ID_SHOW) + " 0\n";
    ASSERT_TRUE(WaitFor([&] { return FakeLog().find(show) != std::string::npos; }, 5s)) << FakeLog();
    std::this_thread::sleep_for(300ms);
    EXPECT_EQ(FakeLog().find("started", FakeLog().find("started") + 1), std::string::npos) << "started twice";
    // The right button still opens the menu (a new window of the monitor's).
    const auto before = desktop.WindowsOfClass("Qx7Monitor").size();
    ASSERT_EQ(click("3"), 0);
    EXPECT_TRUE(WaitFor([&] {
        for (Window w : desktop.WindowsOfClass("Qx7Monitor"))
            if (desktop.IsMapped(w) && desktop.Geometry(w).height() > 60) return true;
        return false;
    }, 3s)) << "no menu; windows before: " << before;
    KeepScreenshot(desktop, "tray-menu");
}

// Every frame seen during an in-place replacement shows one whole picture at its
// own place: never the new size with the old picture or unpainted strips.
TEST_F(DesktopTest, NewPictureReplacesAVisibleOneInOneStep) {
    DesktopSession desktop;
    if (!desktop.Problem().empty()) GTEST_SKIP() << desktop.Problem();
    auto monitor = StartMonitor();
    const QImage lock = OsdArtwork().Image(osd::kLockPicture).convertToFormat(QImage::Format_RGB32);
    const QImage rate = OsdArtwork().Image(osd::kPollingPicture + 3).convertToFormat(QImage::Format_RGB32);
    const QRect lockAt = PicturePlace(desktop.Screen(), lock.size());
    const QRect rateAt = PicturePlace(desktop.Screen(), rate.size());
    const QRect area = lockAt.united(rateAt);
    const QImage empty = desktop.Grab(area);
    auto expected = [&](const QImage& picture, const QRect& at) {
        QImage frame = empty;
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                if ((picture.pixel(x, y) & 0xFFFFFFu) != (osd::kCutOutColour & 0xFFFFFFu))
                    frame.setPixel(at.x() - area.x() + x, at.y() - area.y() + y, picture.pixel(x, y));
        return frame;
    };
    const QImage lockFrame = expected(lock, lockAt), rateFrame = expected(rate, rateAt);
    auto post = [&](std::uint32_t code, std::uint32_t value) {
        return PostToLiveWindow(store, poster, kOsdHandle, {WM_OSD_NOTIFY, code, value});
    };
    ASSERT_EQ(post(OSD_LOCK, 1), PostResult::Posted);
    ASSERT_TRUE(WaitFor([&] { return desktop.Grab(area) == lockFrame; }, 3s));
    int frames = 0, mixed = 0;
    for (int round = 0; round < 10; ++round) {
        const bool toRate = round % 2 == 0;
        ASSERT_EQ(toRate ? post(OSD_POLLING_RATE, 0) : post(OSD_LOCK, 1), PostResult::Posted);
        const QImage& target = toRate ? rateFrame : lockFrame;
        const auto end = std::chrono::steady_clock::now() + 150ms;
        bool reached = false;
        while (std::chrono::steady_clock::now() < end) {
            const QImage frame = desktop.Grab(area);
            ++frames;
            if (frame == target) reached = true;
            else if (frame != lockFrame && frame != rateFrame) {
                if (++mixed <= 3 && std::getenv("PALLIX_SCREENSHOT_DIR"))
                    frame.save(QString::fromStdString(std::string(std::getenv("PALLIX_SCREENSHOT_DIR")) +
                                                      "/osd-replacement-mixed-" + std::to_string(mixed) + ".png"));
            }
        }
        ASSERT_TRUE(reached) << "round " << round;
    }
    EXPECT_EQ(mixed, 0) << mixed << " of " << frames << " frames showed neither whole picture";
}

TEST_F(DesktopTest, LevelSwitchWithOnlyTheMonitorShowsTheMouseDpi) {
    DesktopSession desktop(Wm::Openbox);
    if (!desktop.Problem().empty()) GTEST_SKIP() << desktop.Problem();
    VmouseProcess mouse("m1");  // 0x1802: 100 dpi per step; level 2 is 800 dpi
    auto monitor = StartMonitor();
    ASSERT_NE(mouse.Send({"level", "2"}), "");
    const auto shown = probe.WaitFor(store, [](const Qx7OsdState& s) {
        return s.visible && s.pictureId == osd::kLevelPicture + 1 && s.digitIds[1] != 0;
    });
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->fullStep, 1);
    const std::array<int, 4> eightHundred{osd::kBlankDigitId, osd::kFirstDigitId + 8, osd::kFirstDigitId,
                                          osd::kFirstDigitId};
    EXPECT_TRUE(std::equal(eightHundred.begin(), eightHundred.end(), shown->digitIds))
        << shown->digitIds[0] << " " << shown->digitIds[1] << " " << shown->digitIds[2] << " " << shown->digitIds[3];
    std::this_thread::sleep_for(200ms);
    KeepScreenshot(desktop, "osd-level-800-monitor-only");
}

TEST_F(DesktopTest, OnWaylandTheMonitorUsesXWaylandButWhatItStartsDoesNot) {
    DesktopSession desktop;
    if (!desktop.Problem().empty()) GTEST_SKIP() << desktop.Problem();
    setenv("WAYLAND_DISPLAY", "wayland-pallix-none", 1);  // DesktopSession restores it
    const auto seen = env.Root() / "launched-env";
    const auto script = env.Root() / "show-env.sh";
    std::ofstream(script) << "#!/bin/sh\nenv > " << seen.string() << "\n";
    std::filesystem::permissions(script, std::filesystem::perms::owner_all);
    store.WriteString("PF0T1 AP", script.string());
    VmouseProcess mouse("m1");
    auto monitor = StartMonitor();
    // The display runs, on the X server.
    EXPECT_FALSE(desktop.WindowsOfClass("Qx7Monitor").empty());
    ASSERT_NE(mouse.Send({"launch", "1", "1"}), "");
    ASSERT_TRUE(WaitFor([&] { return ReadText(seen).find("WAYLAND_DISPLAY=wayland-pallix-none") != std::string::npos; }, 5s));
    EXPECT_EQ(ReadText(seen).find("QT_QPA_PLATFORM"), std::string::npos) << ReadText(seen);
}

TEST_F(DesktopTest, TrayIconRegistersWithAStatusNotifierWatcherThatStartsLater) {
    DesktopSession desktop;
    if (!desktop.Problem().empty()) GTEST_SKIP() << desktop.Problem();
    auto monitor = StartMonitor();
    std::this_thread::sleep_for(500ms);
    const auto items = env.Root() / "registered-items";
    desktop.Spawn({std::string(PALLIX_BUILD_DIR) + "/tests/monitor/fake-tray-watcher", items.string()});
    ASSERT_TRUE(WaitFor([&] { return ReadText(items).find("item ") != std::string::npos; }, 3s))
        << "registered: '" << ReadText(items) << "'";
}

TEST_F(DesktopTest, PointerMovedOntoThePictureHidesIt) {
    DesktopSession desktop(Wm::Openbox);
    if (!desktop.Problem().empty()) GTEST_SKIP() << desktop.Problem();
    if (!HaveProgram("xdotool")) GTEST_SKIP() << "needs xdotool";
    auto monitor = StartMonitor();
    ASSERT_EQ(RunProgram({"/usr/bin/xdotool", "mousemove", "5", "5"}), 0);
    ASSERT_EQ(PostToLiveWindow(store, poster, kOsdHandle, {WM_OSD_NOTIFY, OSD_LOCK, 1}), PostResult::Posted);
    ASSERT_TRUE(Shown(osd::kLockPicture));
    const QImage lock = OsdArtwork().Image(osd::kLockPicture);
    const QPoint centre = PicturePlace(desktop.Screen(), lock.size()).center();
    ASSERT_EQ(RunProgram({"/usr/bin/xdotool", "mousemove", std::to_string(centre.x()), std::to_string(centre.y())}), 0);
    // Well before its three seconds are up.
    const auto state = probe.WaitFor(store, [](const Qx7OsdState& s) { return !s.visible; }, 1000ms);
    ASSERT_TRUE(state);
    EXPECT_EQ(state->visible, 0);
}

struct DesktopKind {
    Wm wm;
    Compositor compositor;
};
void PrintTo(const DesktopKind& kind, std::ostream* out) { *out << WmName(kind.wm) << ", " << CompositorName(kind.compositor); }

class DisplayOverFullscreenTest : public DesktopTest, public ::testing::WithParamInterface<DesktopKind> {};

TEST_P(DisplayOverFullscreenTest, ShowsAboveAFocusedFullscreenWindowAndLeavesItTheFocus) {
    DesktopSession desktop(GetParam().wm, GetParam().compositor);
    if (!desktop.Problem().empty()) GTEST_SKIP() << desktop.Problem();
    const auto focusLog = env.Root() / "game-focus.log";
    desktop.Spawn({std::string(PALLIX_BUILD_DIR) + "/tests/osd/fullscreen-window", focusLog.string()});
    auto hasFocus = [&] { return ReadText(focusLog).find("focus in") != std::string::npos; };
    // A window manager that has just started may not hand it the focus: the player
    // clicks into the game then.
    if (!WaitFor(hasFocus, 2s) && HaveProgram("xdotool"))
        RunProgram({"/usr/bin/xdotool", "mousemove", "640", "300", "click", "1"});
    ASSERT_TRUE(WaitFor(hasFocus, 8s)) << "the fullscreen window never got the focus";
    const Window focused = desktop.Focus();
    VmouseProcess mouse("m1");
    auto monitor = StartMonitor();

    ASSERT_NE(mouse.Send({"lock", "on"}), "");
    ASSERT_TRUE(Shown(osd::kLockPicture));
    const QImage picture = OsdArtwork().Image(osd::kLockPicture).convertToFormat(QImage::Format_RGB32);
    const QRect place = PicturePlace(desktop.Screen(), picture.size());
    const int tolerance = GetParam().compositor == Compositor::Off ? 0 : 48;
    // A compositor paints on its own clock: give it a few frames.
    double share = 0;
    WaitFor([&] { return (share = ShownShare(desktop.Grab(place), picture, tolerance)) > 0.97; }, 2s);
    KeepScreenshot(desktop, std::string("osd-over-fullscreen-") + WmName(GetParam().wm) + "-" +
                                CompositorName(GetParam().compositor));
    EXPECT_GT(share, 0.97) << "the display is hidden behind the fullscreen window";

    EXPECT_EQ(desktop.Focus(), focused);
    EXPECT_EQ(ReadText(focusLog).find("focus out"), std::string::npos) << ReadText(focusLog);
    // Outside the window manager's stacking, typed as a notification for compositors.
    bool found = false;
    for (Window w : desktop.WindowsOfClass("Qx7Monitor")) {
        if (!desktop.IsMapped(w) || desktop.Geometry(w) != place) continue;
        found = true;
        EXPECT_TRUE(desktop.IsOverrideRedirect(w));
        EXPECT_EQ(desktop.WindowType(w), "_NET_WM_WINDOW_TYPE_NOTIFICATION");
    }
    EXPECT_TRUE(found) << "no display window at the picture's place";
    // A second picture on top of the first still leaves the focus alone.
    ASSERT_NE(mouse.Send({"rate", "500"}), "");
    ASSERT_TRUE(Shown(osd::kPollingPicture + 2));
    std::this_thread::sleep_for(200ms);
    EXPECT_EQ(desktop.Focus(), focused);
    EXPECT_EQ(ReadText(focusLog).find("focus out"), std::string::npos) << ReadText(focusLog);
}

INSTANTIATE_TEST_SUITE_P(WindowManagers, DisplayOverFullscreenTest,
                         ::testing::Values(DesktopKind{Wm::Openbox, Compositor::Off},
                                           DesktopKind{Wm::Openbox, Compositor::Xcompmgr},
                                           DesktopKind{Wm::Xfwm4, Compositor::Off},
                                           DesktopKind{Wm::Xfwm4, Compositor::WmOwn}),
                         [](const auto& info) {
                             std::string name = std::string(WmName(info.param.wm)) + "_" +
                                                CompositorName(info.param.compositor);
                             for (char& c : name)
                                 if (c == '-') c = '_';
                             return name;
                         });

}  // namespace
}  // namespace pallix::test

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
    void TearDown() override { unsetenv("PALLIX_HID_BACKENDS"); }

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

struct DesktopKind {
    Wm wm;
    Compositor compositor;
};

class DisplayOverFullscreenTest : public DesktopTest, public ::testing::WithParamInterface<DesktopKind> {};

TEST_P(DisplayOverFullscreenTest, ShowsAboveAFocusedFullscreenWindowAndLeavesItTheFocus) {
    DesktopSession desktop(GetParam().wm, GetParam().compositor);
    if (!desktop.Problem().empty()) GTEST_SKIP() << desktop.Problem();
    const auto focusLog = env.Root() / "game-focus.log";
    desktop.Spawn({std::string(PALLIX_BUILD_DIR) + "/tests/osd/fullscreen-window", focusLog.string()});
    ASSERT_TRUE(WaitFor([&] { return ReadText(focusLog).find("focus in") != std::string::npos; }, 10s))
        << "the fullscreen window never got the focus";
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

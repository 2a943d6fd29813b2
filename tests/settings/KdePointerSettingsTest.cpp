// KDE Plasma's pointer settings against a private session bus: a stand-in for
// KWin's input devices (KWin itself cannot run here), the real dbus-monitor
// watching the change notices, gdbus reading KWin's state back as another program
// would, and kdeglobals on a real file in a temporary folder.
#include "platform/pointer/KdePointerSettings.h"

#include <csignal>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "platform/pointer/DesktopPointerSettings.h"
#include "platform/pointer/PointerReport.h"
#include "tests/settings/PrivateBus.h"
#include "tests/settings/Process.h"
#include "tests/support/TempEnv.h"

namespace pallix {
namespace {

namespace fs = std::filesystem;

class KdeSessionTest : public ::testing::Test {
protected:
    // One bus for the whole suite: GLib keeps its session bus for the life of the process.
    static void SetUpTestSuite() {
        env_ = new test::TempEnv;
        dir_ = env_->Root().string();
        bus_ = new test::PrivateBus(dir_);
        setenv("DBUS_SESSION_BUS_ADDRESS", bus_->Address().c_str(), 1);
        setenv("XDG_CONFIG_DIRS", (dir_ + "/xdg").c_str(), 1);
        fs::create_directories(dir_ + "/xdg");
        monitor_ = test::StartProcess({"/usr/bin/dbus-monitor", "--session", "interface='org.kde.kconfig.notify'",
                                       "interface='org.kde.KGlobalSettings'"},
                                      dir_ + "/signals.log", dir_ + "/monitor.err");
        StartKWin();
        test::WaitForText(dir_ + "/signals.log", "NameAcquired");
    }
    static void TearDownTestSuite() {
        StopKWin();
        kill(monitor_, SIGTERM);
        test::WaitProcess(monitor_);
        delete bus_;
        delete env_;
    }
    static void StartKWin() {
        kwin_ = test::StartProcess({FAKE_KWIN, "event3:keyboard:0", "event4:mouse:0", "event5:touchpad:0.3",
                                    "event6:mouse:-0.5", "event7:fixed:0"},
                                   dir_ + "/kwin.out", dir_ + "/kwin.err");
        test::WaitForText(dir_ + "/kwin.out", "ready");
    }
    static void StopKWin() {
        if (kwin_ <= 0) return;
        kill(kwin_, SIGTERM);
        test::WaitProcess(kwin_);
        kwin_ = -1;
    }

    void SetUp() override {
        if (!test::PrivateBus::Available() || access("/usr/bin/dbus-monitor", X_OK) != 0 ||
            access("/usr/bin/gdbus", X_OK) != 0)
            GTEST_SKIP() << "dbus-daemon, dbus-monitor or gdbus missing";
        ASSERT_FALSE(bus_->Address().empty());
        setenv("XDG_CURRENT_DESKTOP", "KDE", 1);
        for (const char* f : {"kdeglobals", "kdeglobals.lock"}) fs::remove(Globals().parent_path() / f);
        fs::remove(fs::path(dir_) / "xdg" / "kdeglobals");
        kde = KdePointerSettings::Create();
        ASSERT_TRUE(kde);
    }

    static fs::path Globals() { return env_->Root() / "config" / "kdeglobals"; }
    static std::string Acceleration(const std::string& sysName) {
        return test::RunProcess({"/usr/bin/gdbus", "call", "--session", "--dest", "org.kde.KWin", "--object-path",
                                 "/org/kde/KWin/InputDevice/" + sysName, "--method", "org.freedesktop.DBus.Properties.Get",
                                 "org.kde.KWin.InputDevice", "pointerAcceleration"},
                                dir_)
            .out;
    }
    static std::string Signals() { return test::ReadWholeFile(dir_ + "/signals.log"); }
    static std::size_t Count(const std::string& text, const std::string& what) {
        std::size_t n = 0;
        for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
        return n;
    }

    std::unique_ptr<KdePointerSettings> kde;

    static inline test::TempEnv* env_ = nullptr;
    static inline test::PrivateBus* bus_ = nullptr;
    static inline std::string dir_;
    static inline pid_t monitor_ = -1, kwin_ = -1;
};

TEST_F(KdeSessionTest, SpeedReachesEveryMouseThroughKWinButNoTouchpad) {
    EXPECT_EQ(kde->Reach(PointerSetting::Speed), PointerResult::Applied);
    EXPECT_EQ(kde->Speed(), 10);  // the first mouse, at KWin's neutral 0
    EXPECT_EQ(kde->SetSpeed(15), PointerResult::Applied);
    EXPECT_EQ(Acceleration("event4"), "(<0.5>,)\n");
    EXPECT_EQ(Acceleration("event6"), "(<0.5>,)\n");
    EXPECT_EQ(Acceleration("event5"), "(<0.29999999999999999>,)\n");
    EXPECT_EQ(kde->Speed(), 15);
    EXPECT_EQ(kde->SetSpeed(1), PointerResult::Applied);
    EXPECT_EQ(Acceleration("event4"), "(<-1.0>,)\n");
    EXPECT_EQ(kde->SetSpeed(21), PointerResult::Failed);
    EXPECT_EQ(Acceleration("event4"), "(<-1.0>,)\n");
    kde->SetSpeed(10);
}

TEST_F(KdeSessionTest, DoubleClickAndWheelGoToKdeglobalsAndAreAnnounced) {
    const std::string before = "# kept\n[General]\nColorScheme=BreezeDark\n\n[KDE]\nSingleClick=false\n"
                               "DoubleClickInterval[de]=1\n\n[Icons]\nTheme=breeze\n";
    std::ofstream(Globals()) << before;
    fs::permissions(Globals(), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(kde->DoubleClickTime(), kKdeDefaultDoubleClickMs);
    EXPECT_EQ(kde->WheelScrollLines(), kKdeDefaultWheelLines);
    const std::size_t announcedBefore = Count(Signals(), "member=ConfigChanged");

    EXPECT_EQ(kde->SetDoubleClickTime(700), PointerResult::Applied);
    EXPECT_EQ(kde->SetWheelScrollLines(kWheelOnePage), PointerResult::Applied);
    EXPECT_EQ(test::ReadWholeFile(Globals().string()),
              "# kept\n[General]\nColorScheme=BreezeDark\n\n[KDE]\nSingleClick=false\n"
              "DoubleClickInterval[de]=1\nDoubleClickInterval=700\nWheelScrollLines=10000\n\n[Icons]\nTheme=breeze\n");
    EXPECT_EQ(fs::status(Globals()).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_FALSE(fs::exists(Globals().string() + ".lock"));
    EXPECT_EQ(kde->DoubleClickTime(), 700);
    EXPECT_EQ(kde->WheelScrollLines(), kWheelOnePage);

    // Both notices for each change, with the signatures KDE's programs expect.
    const std::string log = test::WaitForText(dir_ + "/signals.log", "array of bytes \"WheelScrollLines\"\n");
    EXPECT_EQ(Count(log, "member=ConfigChanged"), announcedBefore + 2) << log;
    EXPECT_NE(log.find("path=/kdeglobals; interface=org.kde.kconfig.notify; member=ConfigChanged"), std::string::npos);
    EXPECT_NE(log.find("string \"KDE\"\n         array [\n            array of bytes \"DoubleClickInterval\"\n"),
              std::string::npos)
        << log;
    EXPECT_NE(log.find("path=/KGlobalSettings; interface=org.kde.KGlobalSettings; member=notifyChange\n   int32 3\n   int32 0"),
              std::string::npos)
        << log;

    // The same value again changes nothing and wakes nobody.
    const auto written = fs::last_write_time(Globals());
    EXPECT_EQ(kde->SetWheelScrollLines(kWheelOnePage), PointerResult::Applied);
    EXPECT_EQ(fs::last_write_time(Globals()), written);
    EXPECT_EQ(kde->SetWheelScrollLines(4), PointerResult::Applied);
    EXPECT_EQ(kde->WheelScrollLines(), 4);
    std::string after;
    for (int i = 0; i < 200 && Count(after, "member=ConfigChanged") < announcedBefore + 3; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        after = Signals();
    }
    EXPECT_EQ(Count(after, "member=ConfigChanged"), announcedBefore + 3);
}

TEST_F(KdeSessionTest, ALinkedKdeglobalsStaysALink) {
    const fs::path real = env_->Root() / "dotfiles-kdeglobals";
    std::ofstream(real) << "[KDE]\nDoubleClickInterval=300\n";
    fs::create_symlink(real, Globals());
    EXPECT_EQ(kde->DoubleClickTime(), 300);
    EXPECT_EQ(kde->SetDoubleClickTime(600), PointerResult::Applied);
    EXPECT_TRUE(fs::is_symlink(Globals()));
    EXPECT_EQ(test::ReadWholeFile(real.string()), "[KDE]\nDoubleClickInterval=600\n");
    fs::remove(Globals());
    fs::remove(real);
}

TEST_F(KdeSessionTest, WhatAnAdministratorLockedFails) {
    std::ofstream(fs::path(dir_) / "xdg" / "kdeglobals") << "[KDE][$i]\nDoubleClickInterval=250\n";
    std::ofstream(Globals()) << "[KDE]\nDoubleClickInterval=900\n";
    EXPECT_EQ(kde->DoubleClickTime(), 250);
    EXPECT_EQ(kde->Reach(PointerSetting::DoubleClick), PointerResult::Failed);
    EXPECT_EQ(kde->SetDoubleClickTime(700), PointerResult::Failed);
    EXPECT_EQ(test::ReadWholeFile(Globals().string()), "[KDE]\nDoubleClickInterval=900\n");
    EXPECT_EQ(kde->DoubleClickTime(), 250);
}

TEST_F(KdeSessionTest, TheDesktopIsPlasmaAndTheReportSaysSo) {
    auto desktop = MakeDesktopPointerSettings();
    ASSERT_GE(desktop->BackendCount(), 1u);
    EXPECT_STREQ(desktop->Backend(0).Name(), "KDE Plasma");
    for (std::size_t i = 1; i < desktop->BackendCount(); ++i) EXPECT_STRNE(desktop->Backend(i).Name(), "GNOME");
    PointerReport report = ReportPointerSettings(*desktop);
    for (const auto& r : report) {
        EXPECT_FALSE(r.tried);
        EXPECT_EQ(r.result, PointerResult::Applied) << PointerSettingName(r.setting);
        ASSERT_FALSE(r.via.empty());
        EXPECT_EQ(r.via.front(), "KDE Plasma");
    }
    EXPECT_EQ(desktop->SetDoubleClickTime(450), PointerResult::Applied);
    report = ReportPointerSettings(*desktop);
    EXPECT_TRUE(report[1].tried);
    EXPECT_EQ(report[1].value, 450);
    EXPECT_NE(FormatPointerReport(report).find("double-click  450 ms     applied (KDE Plasma)"), std::string::npos)
        << FormatPointerReport(report);
}

TEST_F(KdeSessionTest, NotPlasmaNotThisBackend) {
    for (const char* desktop : {"GNOME", "ubuntu:GNOME", "XFCE", "KDEX", ""}) {
        setenv("XDG_CURRENT_DESKTOP", desktop, 1);
        EXPECT_FALSE(KdePointerSettings::Create()) << desktop;
    }
    setenv("XDG_CURRENT_DESKTOP", "neon:kde", 1);
    EXPECT_TRUE(KdePointerSettings::Create());
}

// The monitor's rule through pallixctl, as another process: profile 3's stored
// values reach KWin and kdeglobals, and each setting says so.
TEST_F(KdeSessionTest, PallixctlAppliesAProfileAndReportsEachSetting) {
    const auto ctl = [&](std::vector<std::string> args) {
        args.insert(args.begin(), {PALLIXCTL, "settings"});
        return test::RunProcess(args, dir_);
    };
    ASSERT_EQ(ctl({"set", "PF3 Motion Speed", "14"}).exitCode, 0);
    ASSERT_EQ(ctl({"set", "PF3 Double-Click_speed", "800"}).exitCode, 0);
    ASSERT_EQ(ctl({"set", "PF3 Wheel Scroll Lines", "11"}).exitCode, 0);
    const auto applied = ctl({"pointer", "apply", "3"});
    EXPECT_EQ(applied.exitCode, 0) << applied.err;
    EXPECT_NE(applied.out.find("profile 3: speed 14, double-click 800 ms, wheel one page\n"), std::string::npos)
        << applied.out;
    EXPECT_NE(applied.out.find("speed         14         applied (KDE Plasma"), std::string::npos) << applied.out;
    EXPECT_NE(applied.out.find("double-click  800 ms     applied (KDE Plasma)\n"), std::string::npos) << applied.out;
    EXPECT_NE(applied.out.find("wheel lines   one page   applied (KDE Plasma)\n"), std::string::npos) << applied.out;
    EXPECT_EQ(Acceleration("event4"), "(<0.40000000000000002>,)\n");
    EXPECT_EQ(test::ReadWholeFile(Globals().string()), "[KDE]\nDoubleClickInterval=800\nWheelScrollLines=10000\n");

    // Without changing anything: what each setting would get.
    const auto report = ctl({"pointer"});
    EXPECT_EQ(report.exitCode, 0);
    EXPECT_NE(report.out.find("double-click  800 ms     applied (KDE Plasma)\n"), std::string::npos) << report.out;
    EXPECT_EQ(ctl({"pointer", "apply", "6"}).exitCode, 2);
}

// Plasma on X11: KWin has no input devices on the bus; the speed is then not KDE's.
TEST_F(KdeSessionTest, WithoutKWinsDevicesTheSpeedIsUnsupported) {
    StopKWin();
    EXPECT_EQ(kde->Reach(PointerSetting::Speed), PointerResult::Unsupported);
    EXPECT_EQ(kde->SetSpeed(12), PointerResult::Unsupported);
    EXPECT_EQ(kde->Speed(), std::nullopt);
    EXPECT_EQ(kde->SetWheelScrollLines(5), PointerResult::Applied);
    StartKWin();
}

}  // namespace
}  // namespace pallix

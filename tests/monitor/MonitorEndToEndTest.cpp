// The monitor as a real process against pallix-vmouse: test-owned mailboxes stand in
// for the configuration program's windows, fake-pallix for the program itself.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "osd/OsdQuery.h"
#include "tests/support/VmouseProcess.h"
#include "tests/monitor/MonitorProcess.h"
#include "tests/support/TempEnv.h"

namespace pallix::test {
namespace {

using namespace std::chrono_literals;

std::vector<Message> Drain(Mailbox& mailbox) {
    std::vector<Message> out;
    while (auto m = mailbox.Receive()) out.push_back(*m);
    return out;
}

std::vector<Message> WaitMessages(Mailbox& mailbox, std::size_t count, std::chrono::milliseconds limit = 3000ms) {
    std::vector<Message> out;
    Eventually(
        [&] {
            for (auto& m : Drain(mailbox)) out.push_back(m);
            return out.size() >= count;
        },
        limit);
    return out;
}

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

class MonitorTest : public ::testing::Test {
protected:
    void SetUp() override { setenv("PALLIX_HID_BACKENDS", "virtual", 1); }
    void TearDown() override { unsetenv("PALLIX_HID_BACKENDS"); }

    // Starts the monitor and waits until its display answers (the monitor then runs
    // its loop, with the device table built).
    std::unique_ptr<MonitorProcess> StartMonitor(std::vector<std::string> args = {"/Automation"},
                                                 const std::string& errorsTo = {}) {
        auto monitor = std::make_unique<MonitorProcess>(std::move(args), errorsTo);
        EXPECT_TRUE(probe.WaitFor(store, [](const Qx7OsdState&) { return true; }, 5000ms)) << "display never answered";
        return monitor;
    }

    std::optional<Qx7OsdState> Shown(int pictureId) {
        return probe.WaitFor(store, [=](const Qx7OsdState& s) { return s.visible && s.pictureId == pictureId; });
    }

    std::string FakeLog() const { return ReadFile(env.Root() / "home" / "fake-pallix.log"); }

    TempEnv env;
    SqliteSettingsStore store;
    MailboxPoster poster;
    OsdProbe probe;
};

TEST_F(MonitorTest, ProfileSwitchReachesTheCurrentDialogAndShowsTheProfile) {
    VmouseProcess mouse("m1");
    Mailbox main, configure;
    PublishHandle(store, kProcessHandle, main.Handle());
    PublishHandle(store, kConfigureHandle, configure.Handle());
    store.WriteDword(kCurrentDialog, kDialogPerformance);
    auto monitor = StartMonitor();

    ASSERT_NE(mouse.Send({"profile", "3"}), "");
    auto got = WaitMessages(configure, 1);
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].message, WM_DEVICE_EVENT);
    EXPECT_EQ(got[0].wParam, OSD_PROFILE_LEVEL);
    const ProfileLevel word = UnpackProfileLevel(got[0].lParam);
    EXPECT_TRUE(word.profileChanged);
    EXPECT_EQ(word.profile, 2u);
    EXPECT_EQ(got[0].lParam & 0xFF00000Cu, 0u);
    auto shown = Shown(302);
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->kind, osd::KIND_PROFILE);
    EXPECT_TRUE(Drain(main).empty());

    // A modal prompt (4) keeps the event from the program; the display still shows it.
    store.WriteDword(kCurrentDialog, kDialogPrompt);
    ASSERT_NE(mouse.Send({"profile", "5"}), "");
    EXPECT_TRUE(Shown(304));
    // The macro editor closed (-1): dropped, not redirected to the main window.
    store.WriteDword(kCurrentDialog, kDialogMacroEditor);
    WithdrawHandle(store, kMacroEditHandle);
    ASSERT_NE(mouse.Send({"profile", "1"}), "");
    EXPECT_TRUE(Shown(300));
    // Back on the main window.
    store.WriteDword(kCurrentDialog, kDialogMain);
    ASSERT_NE(mouse.Send({"level", "2"}), "");
    got = WaitMessages(main, 1);
    ASSERT_EQ(got.size(), 1u);
    EXPECT_FALSE(UnpackProfileLevel(got[0].lParam).profileChanged);
    EXPECT_EQ(UnpackProfileLevel(got[0].lParam).level, 1u);
    EXPECT_TRUE(Drain(configure).empty());
}

TEST_F(MonitorTest, LevelShowsItsPictureWithFourDigitsInBothStepScales) {
    VmouseProcess mouse("m1");
    auto monitor = StartMonitor();
    struct Case {
        std::string step;  // hex
        bool fullStep;
        std::array<int, 4> digits;
    };
    const Case cases[] = {
        {"09", true, {315, 314, 305, 305}},   // 900
        {"09", false, {315, 313, 305, 305}},  // (9 * 90 + 50) / 100 = 8: 800
        {"39", true, {310, 312, 305, 305}},   // 57: 5700
        {"3a", true, {315, 315, 315, 315}},   // 58: blank
        {"00", false, {315, 315, 315, 315}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.step + (c.fullStep ? " at 100 dpi" : " at 90 dpi"));
        ASSERT_EQ(PostToLiveWindow(store, poster, kOsdHandle, {WM_OSD_NOTIFY, OSD_STEP_SCALE, c.fullStep ? 1u : 0u}),
                  PostResult::Posted);
        // Level 2 (index 1) of profile 2: a4 02 11 <step1> <step2> 00 00.
        ASSERT_NE(mouse.Send({"raw", "a4", "02", "11", "01", c.step, "00", "00"}), "");
        auto s = probe.WaitFor(store, [&](const Qx7OsdState& st) {
            return st.visible && st.pictureId == 317 && std::equal(c.digits.begin(), c.digits.end(), st.digitIds);
        });
        ASSERT_TRUE(s);
        EXPECT_EQ(s->kind, osd::KIND_LEVEL);
        EXPECT_EQ(s->fullStep, c.fullStep ? 1 : 0);
        EXPECT_EQ(s->digitIds[0], c.digits[0]);
        EXPECT_EQ(s->digitIds[1], c.digits[1]);
    }
    // The mouse's own level switch carries the level's steps from its memory.
    ASSERT_NE(mouse.Send({"level", "4"}), "");
    auto s = probe.WaitFor(store, [](const Qx7OsdState& st) { return st.visible && st.pictureId == 319; });
    ASSERT_TRUE(s);
    EXPECT_NE(s->digitIds[3], 0);
}

TEST_F(MonitorTest, LockRateAndSideButtonsShowTheirPictures) {
    VmouseProcess mouse("m1");
    Mailbox main;
    PublishHandle(store, kProcessHandle, main.Handle());
    store.WriteDword(kCurrentDialog, kDialogMain);
    auto monitor = StartMonitor();
    const struct {
        std::vector<std::string> words;
        int picture;
        int kind;
    } cases[] = {
        {{"lock", "on"}, 324, osd::KIND_LOCK},   {{"lock", "off"}, 325, osd::KIND_LOCK},
        {{"rate", "250"}, 327, osd::KIND_POLLING_RATE}, {{"rate", "1000"}, 329, osd::KIND_POLLING_RATE},
        {{"side", "4"}, 320, osd::KIND_SIDE_BUTTON}, {{"side", "5"}, 321, osd::KIND_SIDE_BUTTON},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.words[0] + " " + c.words[1]);
        ASSERT_NE(mouse.Send(c.words), "");
        auto s = Shown(c.picture);
        ASSERT_TRUE(s);
        EXPECT_EQ(s->kind, c.kind);
    }
    // Movement with the left button held is no side button, whatever its bytes.
    const auto before = probe.Query(store);
    ASSERT_TRUE(before);
    ASSERT_NE(mouse.Send({"move", "8", "0", "1"}), "");
    ASSERT_NE(mouse.Send({"move", "0", "-3"}), "");
    std::this_thread::sleep_for(300ms);
    const auto after = probe.Query(store);
    ASSERT_TRUE(after);
    EXPECT_EQ(after->shownCount, before->shownCount);
    // Lock and rate were relayed to the program too; side buttons go to the display only.
    const auto got = WaitMessages(main, 4);
    ASSERT_EQ(got.size(), 4u);
    EXPECT_EQ(got[0], (Message{WM_DEVICE_EVENT, OSD_LOCK, 1}));
    EXPECT_EQ(got[1], (Message{WM_DEVICE_EVENT, OSD_LOCK, 0}));
    EXPECT_EQ(got[2], (Message{WM_DEVICE_EVENT, OSD_POLLING_RATE, 2}));
    EXPECT_EQ(got[3], (Message{WM_DEVICE_EVENT, OSD_POLLING_RATE, 0}));
}

TEST_F(MonitorTest, EventsAndSideButtonsAreFoundOnWhicheverInterfaceCarriesThem) {
    VmouseProcess mouse("m1", {"--layout", "events-last"});  // events on interface 2, ahead of a pointer
    auto monitor = StartMonitor();
    ASSERT_NE(mouse.Send({"profile", "2"}), "");
    EXPECT_TRUE(probe.WaitFor(store, [](const Qx7OsdState& s) { return s.visible && s.kind == osd::KIND_PROFILE; }));
    ASSERT_NE(mouse.Send({"raw", "@2", "03", "10", "00", "00", "00", "00", "00"}), "");  // button 5, second pointer
    EXPECT_TRUE(Shown(321));
}

TEST_F(MonitorTest, LauncherStartsTheBoundProgramAndIgnoresSlotEightAndBeyondProfileFive) {
    VmouseProcess mouse("m1");
    const auto mark = env.Root() / "mark";
    auto script = [&](const std::string& name, const std::string& text) {
        const auto path = env.Root() / name;
        std::ofstream(path) << "#!/bin/sh\necho " << text << " >> " << mark.string() << "\n";
        std::filesystem::permissions(path, std::filesystem::perms::owner_all);
        return path.string();
    };
    store.WriteString("PF1T3 AP", script("p2b3.sh", "p2b3"));
    store.WriteString("PF0T9 AP", script("p1b9.sh", "p1b9"));     // slot 8: never started
    store.WriteString("PF4T8 AP", script("p5b8.sh", "p5b8"));
    // A bare name is looked for in the installation folder, never in the current one.
    store.WriteString(kPathValue, env.Root().string());
    store.WriteString("PF2T1 AP", "p3b1.sh");
    script("p3b1.sh", "p3b1");
    auto monitor = StartMonitor();

    ASSERT_NE(mouse.Send({"launch", "2", "3"}), "");
    ASSERT_TRUE(Eventually([&] { return ReadFile(mark) == "p2b3\n"; })) << ReadFile(mark);
    ASSERT_NE(mouse.Send({"raw", "a4", "00", "00", "00", "00", "08", "00"}), "");  // profile 1, slot 8
    ASSERT_NE(mouse.Send({"raw", "a4", "00", "00", "00", "00", "2d", "00"}), "");  // 45: profile 6
    ASSERT_NE(mouse.Send({"raw", "a4", "00", "00", "00", "00", "ab", "00"}), "");  // bit 7 ignored: 43
    ASSERT_TRUE(Eventually([&] { return ReadFile(mark) == "p2b3\np5b8\n"; })) << ReadFile(mark);
    ASSERT_NE(mouse.Send({"launch", "3", "1"}), "");
    ASSERT_TRUE(Eventually([&] { return ReadFile(mark) == "p2b3\np5b8\np3b1\n"; })) << ReadFile(mark);
    std::this_thread::sleep_for(200ms);
    EXPECT_EQ(ReadFile(mark), "p2b3\np5b8\np3b1\n");
}

TEST_F(MonitorTest, MouseOfTheOtherModelIsNeverPresent) {
    VmouseProcess old("old", {"--model", "0x1801"});
    auto monitor = StartMonitor();
    ASSERT_NE(old.Send({"profile", "2"}), "");
    ASSERT_NE(old.Send({"side", "4"}), "");
    // Plugged in again: a re-scan, still not present.
    ASSERT_NE(old.Send({"unplug"}), "");
    ASSERT_NE(old.Send({"plug"}), "");
    std::this_thread::sleep_for(600ms);
    ASSERT_NE(old.Send({"lock", "on"}), "");
    std::this_thread::sleep_for(200ms);
    auto s = probe.Query(store);
    ASSERT_TRUE(s);
    EXPECT_EQ(s->shownCount, 0u);
    EXPECT_EQ(s->kind, -1);
}

TEST_F(MonitorTest, MouseArrivingLaterAndReplugged) {
    auto monitor = StartMonitor();
    VmouseProcess mouse("late");
    // Re-scan 300 ms after the arrival notice.
    ASSERT_TRUE(Eventually([&] {
        mouse.Send({"lock", "on"});
        auto s = probe.Query(store);
        return s && s->visible && s->pictureId == 324;
    }));
    ASSERT_NE(mouse.Send({"unplug"}), "");
    ASSERT_NE(mouse.Send({"plug"}), "");
    ASSERT_TRUE(Eventually([&] {
        mouse.Send({"lock", "off"});
        auto s = probe.Query(store);
        return s && s->visible && s->pictureId == 325;
    }));
}

std::size_t Occurrences(const std::string& text, const std::string& part) {
    std::size_t n = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
}

TEST_F(MonitorTest, MouseClosedToTheUserIsLoggedOnceAndUsedOnceOpened) {
    VmouseProcess closed("closed", {"--deny-access"});
    const auto log = env.Root() / "monitor.err";
    auto monitor = StartMonitor({"/Automation"}, log.string());
    const std::string closedLine = "Qx7Monitor: The mouse was found at vhid:closed, but this user may not open it.";
    ASSERT_TRUE(Eventually([&] { return ReadFile(log).find(closedLine) != std::string::npos; }));
    EXPECT_NE(ReadFile(log).find("sudo udevadm control --reload && sudo udevadm trigger"), std::string::npos);

    // Another closed mouse makes the monitor look again: only the new one is reported.
    VmouseProcess other("other", {"--deny-access"});
    ASSERT_TRUE(Eventually([&] { return ReadFile(log).find("vhid:other") != std::string::npos; }));
    std::this_thread::sleep_for(400ms);
    EXPECT_EQ(Occurrences(ReadFile(log), closedLine), 1u) << ReadFile(log);
    EXPECT_EQ(Occurrences(ReadFile(log), "found at vhid:other"), 1u) << ReadFile(log);

    // Access granted: the mouse is present without being plugged in again.
    ASSERT_TRUE(closed.Send({"deny", "off"}));
    ASSERT_TRUE(Eventually([&] {
        closed.Send({"lock", "on"});
        auto s = probe.Query(store);
        return s && s->visible && s->pictureId == 324;
    }));
    EXPECT_EQ(Occurrences(ReadFile(log), closedLine), 1u) << ReadFile(log);
}

TEST_F(MonitorTest, SecondStartShowsOrStartsTheProgramAndExitClosesBoth) {
    store.WriteString(kLocateAppValue, FakePallixBinary());
    auto monitor = StartMonitor();

    // No program running: the second monitor starts it and ends.
    MonitorProcess second({"/Automation"});
    EXPECT_EQ(second.WaitExit(), 0);
    ASSERT_TRUE(Eventually([&] { return FakeLog().find("started 0\n") != std::string::npos; }));
    ASSERT_TRUE(Eventually([&] { return IsPublishedHandle(store.ReadDword(kProcessHandle)); }));

    // Running: the next one asks it to show itself.
    MonitorProcess third(std::vector<std::string>{});
    EXPECT_EQ(third.WaitExit(), 0);
    const std::string show = std::to_string(WM_COMMAND) + " " + std::to_string(ID_SHOW) + " 0\n";
    ASSERT_TRUE(Eventually([&] { return FakeLog().find(show) != std::string::npos; })) << FakeLog();
    EXPECT_EQ(FakeLog().find("started", FakeLog().find("started") + 1), std::string::npos) << "started twice";

    // Exit: WM_CLOSE to the program, then the monitor ends and withdraws the display.
    ASSERT_EQ(PostToLiveWindow(store, poster, kMonitorHandle, {WM_COMMAND, 2100, 0}), PostResult::Posted);
    EXPECT_EQ(monitor->WaitExit(), 0);
    ASSERT_TRUE(Eventually([&] { return FakeLog().find("ended\n") != std::string::npos; })) << FakeLog();
    EXPECT_NE(FakeLog().find(std::to_string(WM_CLOSE) + " 0 0\n"), std::string::npos);
    EXPECT_EQ(store.ReadDword(kOsdHandle), 0u);
}

TEST_F(MonitorTest, WithoutAutomationTheProgramComesUpHalfASecondLater) {
    store.WriteString(kLocateAppValue, "/nonexistent/Pallix");  // falls back to the search
    // The search looks for "Pallix" in the "Path" folder.
    const auto folder = env.Root() / "install";
    std::filesystem::create_directories(folder);
    std::filesystem::copy_file(FakePallixBinary(), folder / "Pallix");
    store.WriteString(kPathValue, folder.string());
    const auto begin = std::chrono::steady_clock::now();
    auto monitor = StartMonitor(std::vector<std::string>{});
    ASSERT_TRUE(Eventually([&] { return FakeLog().find("started") != std::string::npos; }));
    EXPECT_GE(std::chrono::steady_clock::now() - begin, 450ms);
    ASSERT_EQ(PostToLiveWindow(store, poster, kMonitorHandle, {WM_COMMAND, 2100, 0}), PostResult::Posted);
    EXPECT_EQ(monitor->WaitExit(), 0);
    EXPECT_TRUE(Eventually([&] { return FakeLog().find("ended\n") != std::string::npos; }));
}

TEST_F(MonitorTest, TerminationSignalEndsLikeExitButLeavesTheProgramRunning) {
    store.WriteString(kLocateAppValue, FakePallixBinary());
    auto monitor = StartMonitor(std::vector<std::string>{});  // starts fake-pallix after 500 ms
    ASSERT_TRUE(Eventually([&] { return IsPublishedHandle(store.ReadDword(kProcessHandle)); }));
    monitor->Signal(SIGTERM);
    EXPECT_EQ(monitor->WaitExit(), 0);
    EXPECT_EQ(store.ReadDword(kOsdHandle), 0u);
    const WindowHandle program = store.ReadDword(kProcessHandle);
    EXPECT_TRUE(poster.IsLiveWindow(program));
    ASSERT_EQ(PostToLiveWindow(store, poster, kProcessHandle, {WM_CLOSE, 0, 0}), PostResult::Posted);
    EXPECT_TRUE(Eventually([&] { return FakeLog().find("ended\n") != std::string::npos; }));
}

TEST_F(MonitorTest, OsdToggleIsKeptAcrossRestarts) {
    VmouseProcess mouse("m1");
    {
        auto monitor = StartMonitor();
        ASSERT_EQ(PostToLiveWindow(store, poster, kMonitorHandle, {WM_COMMAND, 2002, 0}), PostResult::Posted);
        ASSERT_TRUE(probe.WaitFor(store, [](const Qx7OsdState& s) { return !s.enabled; }));
        EXPECT_EQ(store.ReadDword(kDisableOsdValue), 1u);
        ASSERT_NE(mouse.Send({"lock", "on"}), "");
        std::this_thread::sleep_for(300ms);
        EXPECT_EQ(probe.Query(store)->shownCount, 0u);
        ASSERT_EQ(PostToLiveWindow(store, poster, kMonitorHandle, {WM_CLOSE, 0, 0}), PostResult::Posted);
        EXPECT_EQ(monitor->WaitExit(), 0);
    }
    auto monitor = StartMonitor();
    ASSERT_TRUE(probe.WaitFor(store, [](const Qx7OsdState& s) { return !s.enabled; }));
    ASSERT_EQ(PostToLiveWindow(store, poster, kMonitorHandle, {WM_COMMAND, 2002, 0}), PostResult::Posted);
    ASSERT_TRUE(probe.WaitFor(store, [](const Qx7OsdState& s) { return s.enabled; }));
    EXPECT_EQ(store.ReadDword(kDisableOsdValue), 0u);
    ASSERT_NE(mouse.Send({"lock", "on"}), "");
    EXPECT_TRUE(Shown(324));
}

}  // namespace
}  // namespace pallix::test

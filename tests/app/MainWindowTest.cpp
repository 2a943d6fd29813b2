// The main window against pallix-vmouse: start-up, the profile page's commands and
// what they write, the device life cycle and the monitor's messages.
#include <fstream>

#include "device/ButtonFunctions.h"
#include "device/DefaultTables.h"
#include "device/MemoryMap.h"
#include "macro/ScriptUpload.h"
#include "common/SettingNames.h"
#include <QAbstractButton>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>

#include "app/window/DeviceSelectDlg.h"

#include "skin/SkinControl.h"
#include "tests/app/AppFixture.h"

namespace pallix::test {
namespace {

using namespace pallix::app;
namespace mm = pallix::memmap;

TEST_F(AppTest, StartUpLoadsTheMouseAndShowsTheConfigurationPage) {
    auto& mouse = AddMouse("m1");
    StartWindow();
    ASSERT_TRUE(WaitForPage(kPageConfiguration));
    EXPECT_TRUE(Model().MemoryLoaded());
    EXPECT_EQ(Model().SelectedButton(), kNoButton);
    EXPECT_EQ(Model().CurrentProfile(), mm::CurrentProfileOf(mouse.Memory()[mm::kProfileByteAddress]));
    EXPECT_EQ(store_.ReadDword(kProcessHandle), window_->Mailbox().handle());
    EXPECT_EQ(store_.ReadDword(kCurrentDialog), 0u);
    EXPECT_TRUE(std::filesystem::is_directory(documents_ / "PALLIX Ostrel"));
    EXPECT_TRUE(WaitForOsd({WM_OSD_NOTIFY, OSD_MODEL, 0x1802}));
    EXPECT_TRUE(WaitForOsd({WM_OSD_NOTIFY, OSD_STEP_SCALE, 1}));
    EXPECT_TRUE(WaitForOsd({WM_OSD_NOTIFY, OSD_SET_PROFILE, static_cast<std::uint32_t>(Model().CurrentProfile())}));
    // One mouse: no selection blinking, only the load's own control reports.
    for (const auto& c : ControlsOf(mouse)) EXPECT_NE(c, (Bytes{3, 3, 2}));
    window_.reset();
    EXPECT_EQ(store_.ReadDword(kProcessHandle), kDwordMissing);
}

TEST_F(AppTest, FunctionChangeAndApplyWriteExactlyTheButtonsBytes) {
    auto& mouse = AddMouse("m1");
    StartWindow();
    ASSERT_TRUE(WaitForPage(kPageConfiguration));
    const int p = Model().CurrentProfile();
    Model().Command(IDC_MARKER_FIRST + 2);
    answers_.push_back({prompt::kResultOk, kFnBackward});
    Model().Command(IDC_FUNCTION);
    EXPECT_EQ(prompts_.back(), prompt::kFunctionChooser);
    EXPECT_TRUE(Model().ChangesPending());
    EXPECT_EQ(Model().Button(2).name, "BACKWARD");
    mouse.ClearTrace();
    Model().Command(IDC_APPLY);
    ASSERT_TRUE(WaitIdle());
    const auto expected = std::vector<std::pair<int, int>>{
        {mm::ButtonParamAddress(p, 2, 0), 8}};
    EXPECT_EQ(WritesOf(mouse), expected);  // the type byte stays 1 (mouse button)
    ASSERT_FALSE(ControlsOf(mouse).empty());
    EXPECT_EQ(ControlsOf(mouse).back(), (Bytes{0, 0, 0}));
    EXPECT_EQ(mouse.Memory()[static_cast<std::size_t>(mm::ButtonParamAddress(p, 2, 0))], 8);
    EXPECT_FALSE(Model().ChangesPending());
    EXPECT_EQ(Model().SelectedButton(), kNoButton);
}

TEST_F(AppTest, NineteenBytesApplyAtOnceTwentyOnTheTimer) {
    auto& mouse = AddMouse("m1");
    StartWindow();
    ASSERT_TRUE(WaitForPage(kPageConfiguration));
    const int p = Model().CurrentProfile();
    for (int count : {19, 20}) {
        SCOPED_TRACE(count);
        DirtyButtonParams(count, 1 + count);
        mouse.ClearTrace();
        Model().Command(IDC_APPLY);
        EXPECT_EQ(Model().Busy(), count >= 20);
        ASSERT_TRUE(WaitIdle());
        EXPECT_EQ(Model().Engine().Stepped(), count >= 20);
        EXPECT_EQ(WritesOf(mouse).size(), static_cast<std::size_t>(count));
        EXPECT_TRUE(WaitForOsd({WM_OSD_NOTIFY, OSD_SET_PROFILE, static_cast<std::uint32_t>(p)}));
    }
}

TEST_F(AppTest, RestoreProfileWritesTheDefaults) {
    auto& mouse = AddMouse("m1");
    StartWindow();
    ASSERT_TRUE(WaitForPage(kPageConfiguration));
    const int p = Model().CurrentProfile();
    store_.WriteString(MacroNameValueName(p, 3), "old");
    answers_.push_back({prompt::kResultCancel});
    Model().Command(IDC_RESTORE_PROFILE);
    EXPECT_FALSE(Model().Engine().Running());
    answers_.push_back({prompt::kResultOk});
    Model().Command(IDC_RESTORE_PROFILE);
    ASSERT_TRUE(WaitIdle());
    EXPECT_EQ(prompts_, (std::vector<int>{prompt::kResetWarning, prompt::kResetWarning}));
    CDefaultTables tables;
    tables.RewriteForModel(mm::kModel1802);
    const auto memory = mouse.Memory();
    for (const auto& [address, value] : tables.ProfileBlock(p))
        EXPECT_EQ(memory[static_cast<std::size_t>(address)], value) << address;
    std::string name;
    EXPECT_EQ(store_.ReadString(MacroNameValueName(p, 3), name), 0);
}

TEST_F(AppTest, BattleModeAsksWritesTheLightsAndTellsTheDisplay) {
    auto& mouse = AddMouse("m1");
    StartWindow();
    ASSERT_TRUE(WaitForPage(kPageConfiguration));
    const int p = Model().CurrentProfile();
    ASSERT_FALSE(Model().BattleMode());
    mouse.ClearTrace();
    answers_.push_back({prompt::kResultOk});
    Model().Command(IDC_LED_BATTLE);
    EXPECT_EQ(prompts_, (std::vector<int>{prompt::kBattleModeNotice}));
    EXPECT_TRUE(Model().BattleMode());
    const auto memory = mouse.Memory();
    for (int zone = 0; zone < 4; ++zone)
        EXPECT_EQ((memory[static_cast<std::size_t>(mm::LightingAddress(p, zone))] >> 4) & 3, 3);
    EXPECT_EQ(ControlsOf(mouse).back(), (Bytes{0, 0, 0}));
    EXPECT_TRUE(WaitForOsd({WM_OSD_NOTIFY, OSD_MODE, 1}));
    Model().Command(IDC_LED_NORMAL);
    EXPECT_EQ(prompts_.size(), 1u);
    EXPECT_EQ((mouse.Memory()[static_cast<std::size_t>(mm::LightingAddress(p, 1))] >> 4) & 3, 1);
    EXPECT_TRUE(WaitForOsd({WM_OSD_NOTIFY, OSD_MODE, 0}));
}

TEST_F(AppTest, MacroFromAFileLandsByteForByteInTheMouse) {
    auto& mouse = AddMouse("m1");
    StartWindow();
    ASSERT_TRUE(WaitForPage(kPageConfiguration));
    const int p = Model().CurrentProfile();
    std::vector<std::uint8_t> script;
    for (int i = 0; i < 40; ++i) script.push_back(static_cast<std::uint8_t>(i % 2 ? 0x01 : 0x04 + i));
    script.push_back(0xFF);
    std::vector<std::uint8_t> image{0x6D, 0x18, 0xA1, static_cast<std::uint8_t>(script.size()), 0, 10, 1, 0, 0};
    image.insert(image.end(), script.begin(), script.end());
    const auto folder = documents_ / "PALLIX Ostrel";
    // Named as copied from another system: the extension's case is not ours.
    std::ofstream(folder / "Burst.MAC", std::ios::binary).write(reinterpret_cast<const char*>(image.data()),
                                                                static_cast<std::streamsize>(image.size()));
    const auto expected = macro::UploadBytesOfMacro(folder, "Burst");
    ASSERT_EQ(expected.count, static_cast<int>(script.size()));

    Model().Command(IDC_MARKER_FIRST + 4);
    answers_.push_back({prompt::kResultOk, 0, "Burst", 0});
    Model().Command(IDC_MACRO);
    ASSERT_TRUE(WaitIdle());
    const auto memory = mouse.Memory();
    const std::size_t slot = static_cast<std::size_t>(mm::MacroSlot(p, 4));
    EXPECT_EQ(Bytes(memory.begin() + static_cast<long>(slot), memory.begin() + static_cast<long>(slot) + expected.count),
              Bytes(expected.Script().begin(), expected.Script().end()));
    EXPECT_EQ(memory[static_cast<std::size_t>(mm::DirectoryEntry(p, 4))], expected.count);
    EXPECT_EQ(Model().Button(4).name, "Burst");
    EXPECT_TRUE(messages_.empty());
    // A macro whose file is gone says it cannot be found, not that saving failed.
    Model().Command(IDC_MARKER_FIRST + 5);
    answers_.push_back({prompt::kResultOk, 0, "Gone", 0});
    Model().Command(IDC_MACRO);
    EXPECT_EQ(messages_, (std::vector<int>{2}));
    // The button's function travels with the next Apply.
    EXPECT_TRUE(Model().ChangesPending());
    Model().Command(IDC_APPLY);
    ASSERT_TRUE(WaitIdle());
    EXPECT_EQ(mouse.Memory()[static_cast<std::size_t>(mm::ButtonTypeAddress(p, 4))], kTypeMacro);
}

TEST_F(AppTest, TwoMiceOpenTheSelectionAndItsKeepAliveReports) {
    auto& a = AddMouse("a");
    auto& b = AddMouse("b");
    std::vector<std::string> shown;
    int pageBehind = kPageNoMouse;
    AddMouse("c", {"--model", "0x1801"});  // never listed: only 0x1802 is searched for
    StartWindowWithSelection([&](CMainFrameModel& model, const std::vector<std::string>& lines) {
        shown = lines;
        pageBehind = model.Page();
        QTest::qWait(350);
        model.SelectionPicked(1);
        QTest::qWait(700);
        return 1;
    });
    ASSERT_TRUE(WaitForPage(kPageConfiguration));
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(pageBehind, kPageNone) << "the choice never stands over the no-mouse page";
    EXPECT_EQ(shown[0].rfind("1802: ", 0), 0u);
    EXPECT_EQ(Model().Memory().DevicePath(), b.Path());
    const auto ca = ControlsOf(a);
    ASSERT_GE(ca.size(), 4u);
    EXPECT_EQ(ca[0], (Bytes{2, 0, 0}));
    EXPECT_EQ(ca[1], (Bytes{3, 3, 0}));
    EXPECT_EQ(ca[2], (Bytes{3, 3, 2}));
    EXPECT_EQ(ca.back(), (Bytes{3, 3, 3}));
    const auto cb = ControlsOf(b);
    ASSERT_GE(cb.size(), 4u);
    EXPECT_EQ(cb[0], (Bytes{2, 0, 0}));
    EXPECT_EQ(cb[1], (Bytes{3, 3, 0}));
    EXPECT_GE(std::count(cb.begin(), cb.end(), Bytes{3, 3, 2}), 2);
    EXPECT_TRUE(WritesOf(a).empty());
}

// The main window is out of sight while the choice is open: the dialog stands in
// the middle of the screen, not beside the window's hidden corner.
TEST_F(AppTest, SelectionDialogStandsInTheMiddleOfTheScreen) {
    QWidget away;
    away.setGeometry(-100, -100, 1, 1);
    away.show();
    CDeviceSelectDlg dialog({"1802: a", "1802: b"}, {}, &away);
    QTimer::singleShot(100, &dialog, &QDialog::reject);
    EXPECT_EQ(dialog.Run(), -1);
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_TRUE(screen.contains(dialog.frameGeometry())) << dialog.frameGeometry().x() << "," << dialog.frameGeometry().y();
    EXPECT_LE((dialog.frameGeometry().center() - screen.center()).manhattanLength(), 2);
}

TEST_F(AppTest, CancelInTheSelectionEndsTheProgram) {
    AddMouse("a");
    AddMouse("b");
    StartWindowWithSelection([](CMainFrameModel&, const std::vector<std::string>&) { return -1; });
    EXPECT_TRUE(window_->Closed());
    EXPECT_EQ(Model().DeviceCount(), 0);
}

TEST_F(AppTest, VanishingMidApplyShowsNoMouseAndFindsItAgain) {
    auto& mouse = AddMouse("m1");
    StartWindow();
    ASSERT_TRUE(WaitForPage(kPageConfiguration));
    DirtyButtonParams(30, 1);
    Model().Command(IDC_APPLY);
    ASSERT_TRUE(Model().Busy());
    QTest::qWait(50);
    ASSERT_TRUE(mouse.Send({"unplug"}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return Model().Page() == kPageNoMouse; }, 15000));
    EXPECT_FALSE(Model().DeviceReady());
    EXPECT_FALSE(Model().ChangesPending());
    EXPECT_EQ(store_.ReadDword(kCurrentDialog), 0u);
    ASSERT_TRUE(mouse.Send({"plug"}));
    ASSERT_TRUE(WaitForPage(kPageConfiguration, 12000));
    EXPECT_TRUE(Model().MemoryLoaded());
}

TEST_F(AppTest, DeviceEventsSwitchProfileLevelAndRate) {
    auto& mouse = AddMouse("m1");
    StartWindow();
    ASSERT_TRUE(WaitForPage(kPageConfiguration));
    ASSERT_GE(Model().ProfileCount(), 2);
    const int p = Model().CurrentProfile();
    const int other = (p + 1) % Model().ProfileCount();
    auto relay = [&](std::uint32_t code, std::uint32_t lParam) {
        EXPECT_EQ(RelayDeviceEvent(store_, poster_, code, lParam).dialog, PostResult::Posted);
    };
    relay(OSD_PROFILE_LEVEL, PackProfileLevel({0, static_cast<std::uint32_t>(other), true, 0, 0}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return Model().CurrentProfile() == other; }, 3000));
    const int control = mm::ControlAddress(other);
    const int level = (Model().Memory().Entry(control).value + 1) & 3;
    relay(OSD_PROFILE_LEVEL, PackProfileLevel({static_cast<std::uint32_t>(level), static_cast<std::uint32_t>(other), false, 0, 0}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return (Model().Memory().Entry(control).value & 3) == level; }, 3000));
    relay(OSD_POLLING_RATE, 3);
    ASSERT_TRUE(QTest::qWaitFor([&] { return ((Model().Memory().Entry(control).value >> 2) & 3) == 3; }, 3000));
    relay(OSD_POLLING_RATE, 2);  // not a rate the mouse uses
    relay(OSD_LOCK, 1);
    QTest::qWait(100);
    EXPECT_EQ((Model().Memory().Entry(control).value >> 2) & 3, 3);
    EXPECT_FALSE(Model().Memory().Entry(control).dirty);
    EXPECT_FALSE(Model().ChangesPending());
    mouse.ClearTrace();
    QTest::qWait(50);
    EXPECT_TRUE(WritesOf(mouse).empty());  // the mouse already has these bytes
}

TEST_F(AppTest, LauncherEventStartsTheBoundProgramOnlyForRealSlots) {
    AddMouse("m1");
    StartWindow();
    ASSERT_TRUE(WaitForPage(kPageConfiguration));
    auto script = [&](const std::string& name) {
        const auto path = env_.Root() / (name + ".sh");
        std::ofstream(path) << "#!/bin/sh\ntouch '" << (env_.Root() / (name + ".ran")).string() << "'\n";
        std::filesystem::permissions(path, std::filesystem::perms::owner_all);
        return path;
    };
    store_.WriteString(AppPathValueName(1, 2), script("p1b2").string());
    store_.WriteString(AppPathValueName(0, 8), script("p0b8").string());
    for (std::uint32_t slot : {8u, 45u, 9u * 1 + 2})
        RelayDeviceEvent(store_, poster_, OSD_LAUNCH, slot);
    EXPECT_TRUE(QTest::qWaitFor([&] { return std::filesystem::exists(env_.Root() / "p1b2.ran"); }, 5000));
    QTest::qWait(200);
    EXPECT_FALSE(std::filesystem::exists(env_.Root() / "p0b8.ran"));
}

TEST_F(AppTest, ProfileChangeWithPendingChangesAsksFirst) {
    auto& mouse = AddMouse("m1");
    StartWindow();
    ASSERT_TRUE(WaitForPage(kPageConfiguration));
    ASSERT_GE(Model().ProfileCount(), 2);
    const int p = Model().CurrentProfile();
    const int other = (p + 1) % Model().ProfileCount();
    Model().Command(IDC_MARKER_FIRST + 3);
    answers_.push_back({prompt::kResultOk, kFnForward});
    Model().Command(IDC_FUNCTION);
    ASSERT_TRUE(Model().ChangesPending());
    answers_.push_back({prompt::kResultCancel});
    Model().Command(IDC_PROFILE_FIRST + other);
    EXPECT_EQ(Model().CurrentProfile(), p);
    EXPECT_TRUE(Model().ChangesPending());
    answers_.push_back({prompt::kResultOk});
    Model().Command(IDC_PROFILE_FIRST + other);
    ASSERT_TRUE(WaitIdle());
    EXPECT_EQ(Model().CurrentProfile(), other);
    EXPECT_FALSE(Model().ChangesPending());
    EXPECT_EQ(mm::CurrentProfileOf(mouse.Memory()[mm::kProfileByteAddress]), other);
    EXPECT_EQ(mouse.Memory()[static_cast<std::size_t>(mm::ButtonParamAddress(p, 3, 0))], 16);
    EXPECT_TRUE(WaitForOsd({WM_OSD_NOTIFY, OSD_PROFILE_LEVEL, ((static_cast<std::uint32_t>(other) & 7) | 8) << 4}));
}

TEST_F(AppTest, LeftClickRuleStopsTakingTheLastClick) {
    AddMouse("m1");
    StartWindow();
    ASSERT_TRUE(WaitForPage(kPageConfiguration));
    Model().Command(IDC_MARKER_FIRST + 0);
    answers_.push_back({prompt::kResultOk, kFnButtonOff});
    answers_.push_back({prompt::kResultOk});
    Model().Command(IDC_FUNCTION);
    EXPECT_EQ(prompts_, (std::vector<int>{prompt::kFunctionChooser, prompt::kLeftButtonWarning}));
    EXPECT_TRUE(messages_.empty());
    EXPECT_EQ(Model().Button(0).name, "CLICK");
    EXPECT_FALSE(Model().ChangesPending());
}

// In a translated program the notice is the translated message 10, not the
// English picture box.
TEST_F(AppTest, LeftClickRuleSpeaksTheLanguageFile) {
    AddMouse("m1");
    translated_ = true;
    StartWindow();
    ASSERT_TRUE(WaitForPage(kPageConfiguration));
    Model().Command(IDC_MARKER_FIRST + 0);
    answers_.push_back({prompt::kResultOk, kFnButtonOff});
    Model().Command(IDC_FUNCTION);
    EXPECT_EQ(prompts_, (std::vector<int>{prompt::kFunctionChooser}));
    EXPECT_EQ(messages_, (std::vector<int>{10}));
    EXPECT_EQ(Model().Button(0).name, "CLICK");
    EXPECT_FALSE(Model().ChangesPending());
}

TEST_F(AppTest, NoMouseShowsTheNoMousePageAndRefusesHide) {
    StartWindow();
    EXPECT_EQ(Model().Page(), kPageNoMouse);
    Model().Command(IDC_HIDE);
    EXPECT_EQ(messages_, (std::vector<int>{1}));
    Model().Command(IDC_PERFORMANCE);
    EXPECT_EQ(messages_.back(), -1);  // a notice: that dialog is not there yet
}

}  // namespace
}  // namespace pallix::test

namespace pallix::test {
namespace {

using namespace pallix::app;
namespace mm = pallix::memmap;

TEST_F(AppTest, PageControlsFollowTheSelectionAndTheBusyTransfer) {
    AddMouse("m1");
    StartWindow();
    ASSERT_TRUE(WaitForPage(kPageConfiguration));
    auto enabled = [&](int id) { return FindControl(window_.get(), id)->isEnabled(); };
    EXPECT_FALSE(enabled(IDC_FUNCTION));
    EXPECT_FALSE(enabled(IDC_APPLY));
    auto* marker = qobject_cast<QAbstractButton*>(FindControl(window_.get(), IDC_MARKER_FIRST + 1));
    ASSERT_NE(marker, nullptr);
    marker->click();
    EXPECT_EQ(Model().SelectedButton(), 1);
    EXPECT_TRUE(enabled(IDC_FUNCTION));
    EXPECT_FALSE(enabled(IDC_RESTORE_BUTTON));  // button 2 has its factory function

    // The key-status panel names another button: selected without a repaint.
    ASSERT_EQ(poster_.Post(window_->Mailbox().handle(), {WM_KEY_HOVER, 1, 3}), PostResult::Posted);
    ASSERT_TRUE(QTest::qWaitFor([&] { return Model().SelectedButton() == 3; }, 3000));
    EXPECT_TRUE(enabled(IDC_RESTORE_BUTTON));

    DirtyButtonParams(24, 3);
    Model().Command(IDC_APPLY);
    ASSERT_TRUE(Model().Busy());
    EXPECT_FALSE(enabled(IDC_PERFORMANCE));
    EXPECT_FALSE(enabled(IDC_PROFILE_FIRST));
    EXPECT_EQ(store_.ReadDword(kCurrentDialog), 0u);
    ASSERT_TRUE(WaitIdle());
    EXPECT_TRUE(enabled(IDC_PERFORMANCE));
    EXPECT_TRUE(enabled(IDC_PROFILE_FIRST));
    EXPECT_FALSE(enabled(IDC_APPLY));
}

TEST_F(AppTest, ConfigurationDialogsRunWithTheirCurrentDialogNumber) {
    AddMouse("m1");
    StartWindow();
    ASSERT_TRUE(WaitForPage(kPageConfiguration));
    ASSERT_GE(Model().ProfileCount(), 2);
    const int other = (Model().CurrentProfile() + 1) % Model().ProfileCount();
    std::vector<std::uint32_t> seen;
    window_->configDialogHook = [&](int id, int& profile) -> std::optional<int> {
        seen.push_back(store_.ReadDword(kCurrentDialog));
        EXPECT_TRUE(Model().Busy());
        if (id == IDC_LIGHTING) profile = other;
        return 1;
    };
    for (int id : {IDC_PERFORMANCE, IDC_MACRO_EDITOR, IDC_LIGHTING}) Model().Command(id);
    EXPECT_EQ(seen, (std::vector<std::uint32_t>{1, 2, 3}));
    EXPECT_EQ(store_.ReadDword(kCurrentDialog), 0u);
    EXPECT_FALSE(Model().Busy());
    EXPECT_EQ(Model().CurrentProfile(), other);
    EXPECT_TRUE(messages_.empty());
}

}  // namespace
}  // namespace pallix::test

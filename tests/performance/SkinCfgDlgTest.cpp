// The performance dialog on a real virtual mouse: what reaches the mouse, what stays
// in the cache, the desktop pointer settings and the values kept per profile.
#include <gtest/gtest.h>

#include <QLineEdit>

#include "common/SettingNames.h"
#include "device/MemoryMap.h"
#include "dialogs/performance/SkinCfgDlg.h"
#include "platform/pointer/XPointerSettings.h"
#include "skin/BitmapSlider.h"
#include "tests/performance/DeviceDialogFixture.h"
#include "tests/settings/RecordingPointerSettings.h"

namespace pallix::test {
namespace {

using namespace memmap;

class Performance : public DeviceDialogFixture {
public:
    explicit Performance(int model) : DeviceDialogFixture(model, "perf") {
        pointer.speed = 10;
        pointer.doubleClick = 500;
        pointer.wheel = 3;
    }
    void Open(int profile = 0) {
        dlg.SetProfile(profile);
        dlg.show();
        Settle(10);
    }
    // As a released slider tells it: the thumb is already at `pos`.
    void Slide(int id, int pos) {
        dlg.Slider(id)->SetPos(pos);
        dlg.OnMailboxMessage(Message{WM_SLIDER_CHANGED, std::uint32_t(id), std::uint32_t(pos)});
    }
    void Type(const QString& text) { dlg.Entry()->setText(text); }
    const CacheEntry& Entry(int address) const { return memory.Entry(address); }

    RecordingPointerSettings pointer;
    CSkinCfgDlg dlg{memory, store, pointer, poster, nullptr, sleeper};
};

class Perf1801 : public Performance, public ::testing::Test {
public:
    Perf1801() : Performance(kModel1801) {}
};
class Perf1802 : public Performance, public ::testing::Test {
public:
    Perf1802() : Performance(kModel1802) {}
};

TEST_F(Perf1801, TopByteShowsTheTopOfTheScaleAndTypedValuesGoToBothCopies) {
    Known(SensitivityAddress(0, 0), 63);
    Known(SensitivityCopyAddress(0, 0), 63);  // the factory byte 129 shows the second copy
    Known(ControlAddress(0), 0x40);           // level 0
    Open();
    EXPECT_EQ(dlg.Entry()->text(), "5700");
    EXPECT_EQ(dlg.Slider(CSkinCfgDlg::IDC_SENSITIVITY_BAR)->GetPos(), 1);

    Type("5000");
    EXPECT_EQ(Entry(SensitivityAddress(0, 0)).value, 56);
    EXPECT_EQ(Entry(SensitivityCopyAddress(0, 0)).value, 56);
    EXPECT_TRUE(Entry(SensitivityCopyAddress(0, 0)).dirty);
    EXPECT_TRUE(Writes().empty()) << "typing stays in the cache";

    Type("150");
    EXPECT_EQ(Entry(SensitivityAddress(0, 0)).value, 1);
    dlg.OnCommand(CSkinCfgDlg::IDC_APPLY);
    EXPECT_EQ(dlg.Entry()->text(), "100");
    EXPECT_EQ((Writes()), (std::vector<Write>{{SensitivityAddress(0, 0), 1}, {SensitivityCopyAddress(0, 0), 1}}));
    EXPECT_EQ(MouseByte(SensitivityCopyAddress(0, 0)), 1);
    EXPECT_FALSE(Entry(SensitivityAddress(0, 0)).dirty);
    EXPECT_TRUE(dlg.isVisible());
}

TEST_F(Perf1802, ByteAboveTheScaleShowsItsTopAndTypingIsCapped) {
    Known(SensitivityAddress(0, 0), 56);
    Known(SensitivityCopyAddress(0, 0), 56);
    Known(ControlAddress(0), 0x40);
    Open();
    EXPECT_EQ(dlg.Scale().maxStep, 40);
    EXPECT_EQ(dlg.Entry()->text(), "4000");
    EXPECT_EQ(dlg.Slider(CSkinCfgDlg::IDC_SENSITIVITY_BAR)->GetPos(), 1);
    Type("4500");
    EXPECT_EQ(dlg.Entry()->text(), "4000");
    EXPECT_EQ(Entry(SensitivityAddress(0, 0)).value, 40);
    Type("05");
    EXPECT_EQ(dlg.Entry()->text(), "0");
}

TEST_F(Perf1801, SecondCopyIsShownWhenTheDeviceByteSaysSo) {
    Known(kDeviceSettingsAddress, 0x50 | 0x40);
    Known(ControlAddress(0), 0x41);  // level 1
    Known(SensitivityAddress(0, 1), 10);
    Known(SensitivityCopyAddress(0, 1), 20);
    Open();
    EXPECT_EQ(dlg.Level(), 1);
    EXPECT_EQ(dlg.Entry()->text(), QString::number(((90 * 20 + 50) / 100) * 100));
    EXPECT_FALSE(Entry(SensitivityAddress(0, 1)).dirty) << "showing a value changes nothing";
}

TEST_F(Perf1801, BarMovesBothCopies) {
    Known(ControlAddress(0), 0x40);
    Open();
    Slide(CSkinCfgDlg::IDC_SENSITIVITY_BAR, 57 + 1 - 30);  // step 30
    EXPECT_EQ(Entry(SensitivityAddress(0, 0)).value, (100 * 30 + 45) / 90);
    EXPECT_EQ(Entry(SensitivityCopyAddress(0, 0)).value, (100 * 30 + 45) / 90);
    EXPECT_EQ(dlg.Entry()->text(), "3000");
}

TEST_F(Perf1802, RateCode250IsTurnedInto500AtOpening) {
    Known(ControlAddress(0), 0x08);
    Open();
    EXPECT_EQ(Entry(ControlAddress(0)).value, 0x44);
    EXPECT_TRUE(Entry(ControlAddress(0)).dirty);
    EXPECT_EQ(dlg.PollingIndex(), 1);
    EXPECT_TRUE(Writes().empty());
}

TEST_F(Perf1802, LevelIsWrittenAtOnceAndCancelPutsItBack) {
    Known(ControlAddress(0), 0x44);
    Open();
    Slide(CSkinCfgDlg::IDC_LEVEL, 3);
    EXPECT_EQ(MouseByte(ControlAddress(0)), 0x46);
    EXPECT_EQ(Controls(), 1);
    EXPECT_EQ(dlg.Level(), 2);
    vmouse.ClearTrace();
    dlg.OnCommand(CSkinCfgDlg::IDCANCEL);
    EXPECT_EQ((Writes()), (std::vector<Write>{{ControlAddress(0), 0x44}}));
    EXPECT_EQ(MouseByte(ControlAddress(0)), 0x44);
    EXPECT_EQ(dlg.result(), CSkinCfgDlg::kResultCancel);
}

TEST_F(Perf1802, CancelWithoutChangesWritesNothing) {
    Open();
    dlg.OnCommand(CSkinCfgDlg::IDCANCEL);
    EXPECT_TRUE(Writes().empty());
    EXPECT_EQ(Controls(), 0);
}

TEST_F(Perf1801, RateButtonsWriteAtOnce) {
    Known(ControlAddress(0), 0x41);
    Open();
    EXPECT_EQ(dlg.PollingIndex(), 2);
    dlg.OnCommand(CSkinCfgDlg::IDC_RATE_1000);  // already selected
    EXPECT_TRUE(Writes().empty());
    dlg.OnCommand(CSkinCfgDlg::IDC_RATE_125);
    EXPECT_EQ((Writes()), (std::vector<Write>{{ControlAddress(0), 0x4D}}));
    EXPECT_EQ(dlg.PollingIndex(), 0);
    EXPECT_FALSE(Entry(ControlAddress(0)).dirty);
}

TEST_F(Perf1801, MouseEventsFollowTheShownProfileOnly) {
    Known(ControlAddress(0), 0x40);
    Open();
    dlg.OnMailboxMessage({WM_DEVICE_EVENT, 0, PackProfileLevel({2, 1, false, 0, 0})});
    EXPECT_EQ(dlg.Level(), 0) << "another profile's level";
    EXPECT_EQ(Entry(ControlAddress(0)).value, 0x40);
    dlg.OnMailboxMessage({WM_DEVICE_EVENT, 0, PackProfileLevel({3, 0, false, 0, 0})});
    EXPECT_EQ(dlg.Level(), 3);
    EXPECT_EQ(Entry(ControlAddress(0)).value, 0x43);
    EXPECT_FALSE(Entry(ControlAddress(0)).dirty);
    dlg.OnMailboxMessage({WM_DEVICE_EVENT, OSD_POLLING_RATE, 2});  // 250 Hz: ignored
    EXPECT_EQ(dlg.PollingIndex(), 2);
    dlg.OnMailboxMessage({WM_DEVICE_EVENT, OSD_POLLING_RATE, 3});
    EXPECT_EQ(dlg.PollingIndex(), 0);
    dlg.OnCommand(CSkinCfgDlg::IDCANCEL);
    EXPECT_TRUE(Writes().empty()) << "what the mouse did itself is not undone";
}

// After the mouse switched profiles, CANCEL puts each profile's own bytes back into
// its own block, never the first profile's bytes into the second.
TEST_F(Perf1802, CancelAfterAProfileSwitchRestoresEachProfileInPlace) {
    Known(ControlAddress(0), 0x40);
    Known(ControlAddress(1), 0x45);
    Open(0);
    Slide(CSkinCfgDlg::IDC_LEVEL, 4);
    store.WriteDword(MotionSpeedValueName(1), 16);
    dlg.OnMailboxMessage({WM_DEVICE_EVENT, 0, PackProfileLevel({1, 1, true, 0, 0})});
    EXPECT_EQ(dlg.Profile(), 1);
    EXPECT_EQ(dlg.Level(), 1);
    EXPECT_EQ(dlg.PollingIndex(), 1);
    EXPECT_EQ(pointer.setSpeeds.back(), 16) << "the new profile's pointer settings";
    Slide(CSkinCfgDlg::IDC_LEVEL, 3);
    EXPECT_EQ(MouseByte(ControlAddress(1)), 0x46);
    vmouse.ClearTrace();
    dlg.OnCommand(CSkinCfgDlg::IDCANCEL);
    EXPECT_EQ(MouseByte(ControlAddress(0)), 0x40);
    EXPECT_EQ(MouseByte(ControlAddress(1)), 0x45);
    EXPECT_EQ((Writes()), (std::vector<Write>{{ControlAddress(0), 0x40}, {ControlAddress(1), 0x45}}));
    EXPECT_EQ(dlg.Profile(), 1);
}

TEST_F(Perf1802, ResetWritesTheModelDefaultsAtOnce) {
    Known(ControlAddress(2), 0x4E);
    for (int l = 0; l < 4; ++l) Known(SensitivityAddress(2, l), 30);
    Open(2);
    dlg.OnCommand(CSkinCfgDlg::IDC_RESET);
    const std::vector<Write> expected{{ControlAddress(2), 65},          {SensitivityAddress(2, 0), 4},
                                      {SensitivityAddress(2, 1), 8},    {SensitivityAddress(2, 2), 12},
                                      {SensitivityAddress(2, 3), 20}};
    const auto writes = Writes();
    for (const Write& w : expected) EXPECT_NE(std::find(writes.begin(), writes.end(), w), writes.end()) << w.address;
    EXPECT_EQ(dlg.PollingIndex(), 2);
    EXPECT_EQ(dlg.Level(), 1);
    EXPECT_EQ(pointer.setSpeeds.back(), 10);
    EXPECT_EQ(pointer.setDoubleClicks.back(), 500);
    EXPECT_EQ(pointer.setWheels.back(), 3);
    EXPECT_TRUE(dlg.Slider(CSkinCfgDlg::IDC_LEVEL)->isEnabled());
}

TEST_F(Perf1801, PageScrollingShowsTheToggleAndTheSliderTurnsItOff) {
    pointer.wheel = kWheelOnePage;
    Open();
    EXPECT_TRUE(dlg.PageScroll());
    EXPECT_EQ(dlg.Slider(CSkinCfgDlg::IDC_SCROLL_SPEED)->GetPos(), 10);
    Slide(CSkinCfgDlg::IDC_SCROLL_SPEED, 4);
    EXPECT_FALSE(dlg.PageScroll());
    EXPECT_EQ(pointer.setWheels, std::vector<int>{4});
    dlg.OnCommand(CSkinCfgDlg::IDC_ONE_SCREEN);
    EXPECT_EQ(pointer.setWheels.back(), kWheelOnePage);
}

TEST_F(Perf1801, PointerSlidersHoldAtOnceAndTheEndStoresThemForTheProfile) {
    Open(3);
    Slide(CSkinCfgDlg::IDC_CURSOR_SPEED, 7);
    Slide(CSkinCfgDlg::IDC_DOUBLE_CLICK, 3);
    EXPECT_EQ(pointer.setSpeeds, std::vector<int>{14});
    EXPECT_EQ(pointer.setDoubleClicks, std::vector<int>{800});
    pointer.speed = 14;
    pointer.doubleClick = 300;
    dlg.OnCommand(CSkinCfgDlg::IDOK);
    EXPECT_EQ(dlg.result(), CSkinCfgDlg::kResultOk);
    EXPECT_EQ(store.ReadDword("PF4 Motion Speed"), 14u);
    EXPECT_EQ(store.ReadDword("PF4 Double-Click_speed"), 300u);
    EXPECT_EQ(store.ReadDword("PF4 Wheel Scroll Lines"), 3u);
    EXPECT_EQ(store.ReadDword("PF1 Motion Speed"), kDwordMissing);
}

// The slider's left end reads SLOW: the longest double-click time.
TEST_F(Perf1801, DoubleClickSliderRunsFromSlowToFast) {
    for (auto [ms, pos] : {std::pair{1000, 1}, {500, 6}, {100, 10}, {5000, 1}, {30, 10}}) {
        pointer.doubleClick = ms;
        dlg.OnCommand(CSkinCfgDlg::IDCANCEL);
        Open();
        EXPECT_EQ(dlg.Slider(CSkinCfgDlg::IDC_DOUBLE_CLICK)->GetPos(), pos) << ms << " ms";
    }
    pointer.doubleClick = 500;
    dlg.OnCommand(CSkinCfgDlg::IDCANCEL);
    Open();
    pointer.setDoubleClicks.clear();
    Slide(CSkinCfgDlg::IDC_DOUBLE_CLICK, 1);
    Slide(CSkinCfgDlg::IDC_DOUBLE_CLICK, 10);
    EXPECT_EQ(pointer.setDoubleClicks, (std::vector<int>{1000, 100}));
    dlg.OnCommand(CSkinCfgDlg::IDC_RESET);
    EXPECT_EQ(pointer.setDoubleClicks.back(), 500);
    EXPECT_EQ(dlg.Slider(CSkinCfgDlg::IDC_DOUBLE_CLICK)->GetPos(), 6);
}

// A setting the desktop does not take says so beside its slider; one it takes says nothing.
TEST_F(Perf1801, PointerSettingsThatDoNotReachTheDesktopSaySo) {
    Open();
    for (int id : {CSkinCfgDlg::IDC_DOUBLE_CLICK, CSkinCfgDlg::IDC_CURSOR_SPEED, CSkinCfgDlg::IDC_SCROLL_SPEED})
        EXPECT_TRUE(dlg.ReachNote(id).isEmpty()) << id;
    pointer.result = PointerResult::OwnWindowsOnly;
    Slide(CSkinCfgDlg::IDC_DOUBLE_CLICK, 4);
    EXPECT_EQ(dlg.ReachNote(CSkinCfgDlg::IDC_DOUBLE_CLICK), CSkinCfgDlg::ReachText(PointerResult::OwnWindowsOnly));
    EXPECT_TRUE(dlg.ReachNote(CSkinCfgDlg::IDC_CURSOR_SPEED).isEmpty());
    pointer.result = PointerResult::Unsupported;
    Slide(CSkinCfgDlg::IDC_SCROLL_SPEED, 5);
    EXPECT_EQ(dlg.ReachNote(CSkinCfgDlg::IDC_SCROLL_SPEED), CSkinCfgDlg::ReachText(PointerResult::Unsupported));
    dlg.OnCommand(CSkinCfgDlg::IDC_ONE_SCREEN);  // the toggle sets the same setting
    EXPECT_FALSE(dlg.ReachNote(CSkinCfgDlg::IDC_SCROLL_SPEED).isEmpty());
    pointer.result = PointerResult::Failed;
    Slide(CSkinCfgDlg::IDC_CURSOR_SPEED, 3);
    EXPECT_EQ(dlg.ReachNote(CSkinCfgDlg::IDC_CURSOR_SPEED), CSkinCfgDlg::ReachText(PointerResult::Failed));
    pointer.result = PointerResult::Applied;
    Slide(CSkinCfgDlg::IDC_DOUBLE_CLICK, 5);
    EXPECT_TRUE(dlg.ReachNote(CSkinCfgDlg::IDC_DOUBLE_CLICK).isEmpty());
    for (auto r : {PointerResult::OwnWindowsOnly, PointerResult::Unsupported, PointerResult::Failed})
        EXPECT_FALSE(CSkinCfgDlg::ReachText(r).isEmpty());
}

TEST_F(Perf1801, CancelPutsThePointerSettingsBack) {
    Open();
    Slide(CSkinCfgDlg::IDC_CURSOR_SPEED, 2);
    Slide(CSkinCfgDlg::IDC_SCROLL_SPEED, 8);
    pointer.speed = 4;
    pointer.wheel = 8;
    dlg.OnCommand(CSkinCfgDlg::IDCANCEL);
    EXPECT_EQ(pointer.setSpeeds.back(), 10);
    EXPECT_EQ(pointer.setWheels.back(), 3);
    EXPECT_TRUE(pointer.setDoubleClicks.empty());
}

TEST_F(Perf1802, HandleIsPublishedWhileOpenAndApplyTellsTheDisplay) {
    Known(ControlAddress(0), 0x42);
    Known(SensitivityAddress(0, 2), 12);
    Open();
    EXPECT_EQ(store.ReadDword(kConfigureHandle), dlg.Handle());
    EXPECT_NE(dlg.Handle(), 0u);
    dlg.OnCommand(CSkinCfgDlg::IDC_APPLY);
    Settle();
    ASSERT_EQ(osdMessages.size(), 1u);
    EXPECT_EQ(osdMessages[0], (Message{WM_OSD_NOTIFY, OSD_PROFILE_LEVEL, 2u | (12u << 8) | (12u << 16)}));
    EXPECT_EQ(Controls(), 0) << "nothing was dirty";
    dlg.OnCommand(CSkinCfgDlg::IDOK);
    EXPECT_EQ(store.ReadDword(kConfigureHandle), kDwordMissing);
}

TEST_F(Perf1802, DeviceEventsArriveThroughThePublishedMailbox) {
    Known(ControlAddress(0), 0x40);
    Open();
    EXPECT_EQ(RelayDeviceEvent(store, poster, 0, PackProfileLevel({2, 0, false, 0, 0})).dialog, PostResult::NoWindow)
        << "no Current Dialog published";
    store.WriteDword(kCurrentDialog, kDialogPerformance);
    EXPECT_EQ(RelayDeviceEvent(store, poster, 0, PackProfileLevel({2, 0, false, 0, 0})).dialog, PostResult::Posted);
    Settle();
    EXPECT_EQ(dlg.Level(), 2);
    dlg.OnCommand(CSkinCfgDlg::IDCANCEL);
}

TEST_F(Perf1801, LostMouseClosesWithoutWriting) {
    Known(ControlAddress(0), 0x40);
    Open();
    Type("900");
    dlg.CloseForLostMouse();
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_TRUE(Writes().empty());
}

// The X server's pointer control really changes, and the value is kept for the profile.
TEST(PerformanceDesktop, CursorSpeedReachesTheXServerAndIsStoredPerProfile) {
    auto x = XPointerSettings::Create();
    if (!x) GTEST_SKIP() << "no X server";
    const auto before = x->Speed();
    Performance f(kModel1801);
    auto desktop = XPointerSettings::Create();
    CSkinCfgDlg dlg(f.memory, f.store, *desktop, f.poster, nullptr, f.sleeper);
    dlg.SetProfile(1);
    dlg.show();
    dlg.Slider(CSkinCfgDlg::IDC_CURSOR_SPEED)->SetPos(8);
    dlg.OnMailboxMessage(Message{WM_SLIDER_CHANGED, CSkinCfgDlg::IDC_CURSOR_SPEED, 8});
    EXPECT_EQ(x->Speed(), 16);
    dlg.OnCommand(CSkinCfgDlg::IDOK);
    EXPECT_EQ(f.store.ReadDword("PF2 Motion Speed"), 16u);
    if (before) x->SetSpeed(*before);
}

}  // namespace
}  // namespace pallix::test

// The monitor's report handling in this process, over the real settings store and
// real mailboxes. The desktop's pointer settings are recorded, not changed: they are
// shared with everything else running on the display.
#include <gtest/gtest.h>

#include <fstream>
#include <map>

#include "common/SettingNames.h"

#include "monitor/DeviceEvents.h"
#include "platform/Mailbox.h"
#include "platform/MailboxPoster.h"
#include "platform/SqliteSettingsStore.h"
#include "tests/settings/RecordingPointerSettings.h"
#include "tests/support/TempEnv.h"
#include "tools/vmouse/Interfaces.h"

namespace pallix::monitor {
namespace {

// A node of the mouse as its descriptor makes it: interface 0 (pointer and memory) or
// 1 (keyboard, consumer, second pointer, events).
InputNode NodeOf(int number, bool served = true) {
    const auto descriptor = hid::ParseReportDescriptor(
        vmouse::InterfacesOf(vmouse::Layout::kStandard)[static_cast<std::size_t>(number)].reportDescriptor);
    InputNode node;
    node.path = "if" + std::to_string(number);
    node.events = served && hid::RolesOf(*descriptor).events;
    node.sideButtons = hid::SideButtonDecoder(*descriptor);
    return node;
}

class DeviceEventsTest : public ::testing::Test {
protected:
    DeviceEventsTest()
        : handler(store, poster,
                  {[this](const std::string& path) {
                       launched.push_back(path);
                       return 1;
                   },
                   [this]() -> PointerSettings& { return pointer; }, "/nowhere"}) {
        PublishHandle(store, kOsdHandle, osd.Handle());
    }

    // An event report, from the interface that carries them.
    bool Report(std::vector<std::uint8_t> bytes) { return From(events, bytes); }
    bool From(const InputNode& node, std::vector<std::uint8_t> bytes) {
        return handler.OnInputReport(node, bytes.data(), bytes.size(), held[node.path]);
    }

    std::vector<Message> Osd() {
        std::vector<Message> out;
        while (auto m = osd.Receive()) out.push_back(*m);
        return out;
    }

    test::TempEnv env;
    SqliteSettingsStore store;
    MailboxPoster poster;
    Mailbox osd, main;
    test::RecordingPointerSettings pointer;
    std::vector<std::string> launched;
    std::map<std::string, std::uint8_t> held;
    DeviceEventHandler handler;
    const InputNode pointer0 = NodeOf(0), events = NodeOf(1);
};

TEST_F(DeviceEventsTest, ProfileEventAppliesPointerSettingsOnlyWhileTheProgramRuns) {
    // Not running: shown, nothing applied.
    EXPECT_TRUE(Report({0xA4, 1, 0x20, 5, 6, 0, 0}));
    EXPECT_TRUE(pointer.setSpeeds.empty());
    // Running (a handle other than 0 and -1): profile 3's values, defaults where missing.
    PublishHandle(store, kProcessHandle, main.Handle());
    store.WriteDword("PF3 Double-Click_speed", 700);
    store.WriteDword("PF3 Wheel Scroll Lines", 11);
    EXPECT_TRUE(Report({0xA4, 1, 0xAE, 5, 6, 0, 0}));  // bits 2, 3 and 7 of byte 2 mean nothing
    EXPECT_EQ(pointer.setSpeeds, std::vector<int>{10});
    EXPECT_EQ(pointer.setDoubleClicks, std::vector<int>{700});
    EXPECT_EQ(pointer.setWheels, std::vector<int>{kWheelOnePage});
    store.WriteDword("PF3 Wheel Scroll Lines", 10);
    Report({0xA4, 1, 0x20, 5, 6, 0, 0});
    EXPECT_EQ(pointer.setWheels.back(), 10);
    // A level event relays but applies nothing.
    Report({0xA4, 2, 0x21, 5, 6, 0, 0});
    EXPECT_EQ(pointer.setSpeeds.size(), 2u);

    const auto got = Osd();
    ASSERT_EQ(got.size(), 4u);
    EXPECT_EQ(got[0], (Message{WM_OSD_NOTIFY, OSD_PROFILE_LEVEL, 0x060520u | 0x80u}));
    EXPECT_EQ(got[1], (Message{WM_OSD_NOTIFY, OSD_PROFILE_LEVEL, 0x0605A2u}));
    EXPECT_EQ(got[3], (Message{WM_OSD_NOTIFY, OSD_PROFILE_LEVEL, 0x060521u}));
}

TEST_F(DeviceEventsTest, OnlyWellFormedEventReportsCount) {
    EXPECT_FALSE(Report({0xA4, 1, 0x20, 5, 6, 0}));        // 6 bytes
    EXPECT_FALSE(Report({0xA4, 1, 0x20, 5, 6, 0, 0, 0}));  // 8 bytes
    EXPECT_FALSE(Report({0xA5, 1, 0x20, 5, 6, 0, 0}));
    EXPECT_TRUE(Report({0xA4, 9, 0x20, 5, 6, 0, 0}));      // an event report of an unknown type
    EXPECT_FALSE(Report({}));
    // Only from the node that carries the event collection, and of the served version.
    EXPECT_FALSE(From(pointer0, {0xA4, 1, 0x20, 5, 6, 0, 0}));
    EXPECT_FALSE(From(NodeOf(1, /*served=*/false), {0xA4, 1, 0x20, 5, 6, 0, 0}));
    EXPECT_TRUE(Osd().empty());
    // Lock is bit 4 of byte 6, the rate bits 0-1.
    Report({0xA4, 3, 0, 0, 0, 0, 0xEF});
    Report({0xA4, 3, 0, 0, 0, 0, 0x10});
    Report({0xA4, 4, 0, 0, 0, 0, 0xFE});
    const auto got = Osd();
    ASSERT_EQ(got.size(), 3u);
    EXPECT_EQ(got[0].lParam, 0u);
    EXPECT_EQ(got[1].lParam, 1u);
    EXPECT_EQ(got[2], (Message{WM_OSD_NOTIFY, OSD_POLLING_RATE, 2}));
}

TEST_F(DeviceEventsTest, SideButtonPressesShowArrowsAndButtonFourWins) {
    // The pointer report of interface 0 has no id: buttons, dx, dy, wheel, pan.
    From(pointer0, {0x18, 0, 0, 0, 0});  // 4 and 5 pressed together
    From(pointer0, {0x18, 1, 0, 0, 0});  // still held: no new press
    From(pointer0, {0x10, 0, 0, 0, 0});  // 4 released
    From(pointer0, {0x00, 0, 0, 0, 0});
    From(pointer0, {0x10, 0, 0, 0, 0});  // 5 pressed
    From(pointer0, {0x01, 0x08, 0, 0, 0});  // left held, moving right: nothing
    From(pointer0, {0x00, 0x01, 0, 0, 0});  // movement alone: nothing
    // The second pointer of interface 1 (report 3) counts too; its keyboard report does not.
    From(events, {0x01, 0x08, 0, 0, 0, 0, 0, 0, 0});
    From(events, {0x03, 0x08, 0, 0, 0, 0, 0});
    const auto got = Osd();
    ASSERT_EQ(got.size(), 3u);
    EXPECT_EQ(got[0], (Message{WM_OSD_NOTIFY, OSD_SIDE_BUTTON, kSideButtonBack}));
    EXPECT_EQ(got[1], (Message{WM_OSD_NOTIFY, OSD_SIDE_BUTTON, kSideButtonForward}));
    EXPECT_EQ(got[2], (Message{WM_OSD_NOTIFY, OSD_SIDE_BUTTON, kSideButtonBack}));
}

TEST_F(DeviceEventsTest, LauncherSlots) {
    const std::string program = (env.Root() / "app").string();
    std::ofstream(program) << "#!/bin/sh\n";
    for (int p = 0; p < 5; ++p)
        for (int b = 0; b < 9; ++b) store.WriteString(AppPathValueName(p, b), program);
    for (std::uint32_t slot : {8u, 17u, 26u, 35u, 44u, 45u, 100u, 127u}) EXPECT_EQ(handler.Launch(slot), 0) << slot;
    EXPECT_TRUE(launched.empty());
    for (std::uint32_t slot : {0u, 7u, 9u, 43u}) EXPECT_EQ(handler.Launch(slot), 1) << slot;
    EXPECT_EQ(launched.size(), 4u);
    // A missing value or file launches nothing.
    store.DeleteValue(AppPathValueName(0, 1));
    store.WriteString(AppPathValueName(0, 2), (env.Root() / "gone").string());
    EXPECT_EQ(handler.Launch(1), 0);
    EXPECT_EQ(handler.Launch(2), 0);
    EXPECT_TRUE(Osd().empty());  // nothing relayed or shown
}

}  // namespace
}  // namespace pallix::monitor

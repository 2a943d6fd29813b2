// CHidClient against a scripted backend: the enumeration rules of each overload,
// the "none" results, report traffic and the notification registration.
#include <gtest/gtest.h>

#include "common/Messages.h"
#include "device/CHidClient.h"
#include "tests/hid/ScriptedBackend.h"
#include "tools/vmouse/Interfaces.h"

namespace pallix {
namespace {

using test::ManualScheduler;
using test::ScriptedBackend;

constexpr std::uint16_t kVid = 0x1209, kPid = 0x0001;

// What an interface is, as the mouse's descriptors make it.
enum class Shape {
    kMemory,      // interface 0: mouse collection with the unnumbered feature report
    kNumbered,    // interface 1: keyboard, consumer, mouse (collection 3), events
    kEventsLast,  // interface 2 of the other layout: events, then mouse (collection 2)
    kKeyboard,    // interface 1 of the other layout: keyboard and consumer, no mouse
};

HidDeviceInfo Dev(std::string path, std::uint16_t vid, std::uint16_t pid, std::uint16_t ver, Shape shape,
                  std::optional<std::string> product = "Mouse") {
    using vmouse::Layout;
    const auto [layout, number] = shape == Shape::kMemory     ? std::pair{Layout::kStandard, 0}
                                  : shape == Shape::kNumbered ? std::pair{Layout::kStandard, 1}
                                  : shape == Shape::kKeyboard ? std::pair{Layout::kEventsLast, 1}
                                                              : std::pair{Layout::kEventsLast, 2};
    HidDeviceInfo d{std::move(path), vid, pid, ver, std::move(product), std::string("Maker")};
    d.interfaceNumber = number;
    d.reportDescriptor = vmouse::InterfacesOf(layout)[static_cast<std::size_t>(number)].reportDescriptor;
    d.isMouse = shape != Shape::kKeyboard;
    d.physicalDevice = "usb-" + d.path;
    return d;
}

class CHidClientTest : public ::testing::Test {
protected:
    CHidClientTest() {
        backend->state->devices = {
            Dev("A", kVid, kPid, 0x1802, Shape::kMemory),
            Dev("B-if1", kVid, kPid, 0x1802, Shape::kNumbered),
            Dev("C-if2", kVid, kPid, 0x1802, Shape::kEventsLast),
            Dev("D", kVid, kPid, 0x1801, Shape::kMemory),
            Dev("E-keyboard", kVid, kPid, 0x1802, Shape::kKeyboard),
            Dev("F-other", 0x046D, 0xC077, 0x1802, Shape::kMemory, std::nullopt),
            Dev("G", kVid, kPid, 0x18FF, Shape::kMemory),
        };
        client.SetMessageSink([this](const std::string& text, const std::string& caption) {
            messages.push_back(caption + "|" + text);
        });
    }

    std::vector<std::string> Paths() const {
        std::vector<std::string> out;
        for (int i = 0; i < client.GetRecognizedDevices(); ++i) out.push_back(client.GetDevice(i));
        return out;
    }

    std::shared_ptr<ScriptedBackend> backend = std::make_shared<ScriptedBackend>();
    CHidClient client{{backend}};
    std::vector<std::string> messages;
};

TEST_F(CHidClientTest, EachOverloadAppliesItsClassFilterAndTest) {
    const SUsbId ids[] = {{0x9999, 0x9999}, {kVid, kPid}};
    const std::uint16_t versions[] = {0x1801, 0x18FF};
    const std::uint16_t only1802[] = {0x1802};
    using V = std::vector<std::string>;
    struct Case {
        const char* what;
        std::function<int()> create;
        V paths;
        CHidClient::InterfaceClass cls;
    };
    const auto mouse = CHidClient::InterfaceClass::Mouse, hid = CHidClient::InterfaceClass::Hid;
    // The filtering overloads list one entry per mouse, the memory interface: never
    // collection 3 of interface 1, nor a mouse collection elsewhere without the memory
    // protocol. The others list every interface with a mouse collection.
    const std::vector<Case> cases = {
        {"ids", [&] { return client.CreateDeviceTable(ids, 2); }, V{"A", "D", "G"}, mouse},
        {"exact version bounds", [&] { return client.CreateDeviceTable(ids, 2, 0x1802, 0x1802); }, V{"A"}, mouse},
        {"bounds, other family", [&] { return client.CreateDeviceTable(ids, 2, 0x1800, 0x1801, 0x2000); }, V{"D"}, mouse},
        {"bounds or same high byte", [&] { return client.CreateDeviceTable(ids, 2, 0x1800, 0x1800, 0x1855); },
         V{"A", "D", "G"}, mouse},
        {"ids and version list", [&] { return client.CreateDeviceTable(ids, 2, versions, 2); }, V{"D", "G"}, mouse},
        {"version list only, no filter", [&] { return client.CreateDeviceTable(only1802, 1); },
         V{"A", "B-if1", "C-if2", "F-other"}, mouse},
        {"everything, HID class", [&] { return client.CreateDeviceTable(0, 0, false); },
         V{"A", "B-if1", "C-if2", "D", "E-keyboard", "F-other", "G"}, hid},
        {"every mouse", [&] { return client.CreateDeviceTable(0, 0, true); },
         V{"A", "B-if1", "C-if2", "D", "F-other", "G"}, mouse},
        {"one pair, mouse class", [&] { return client.CreateDeviceTable(0x046D, 0xC077, false); }, V{"F-other"}, mouse},
        {"built-in pair, HID class", [&] { return client.CreateDeviceTable(kVid, kPid, false); },
         V{"A", "B-if1", "C-if2", "D", "E-keyboard", "G"}, hid},
        {"no match", [&] { return client.CreateDeviceTable(ids, 1); }, V{}, mouse},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(c.create(), c.paths.empty() ? 0 : 1);
        EXPECT_EQ(Paths(), c.paths);
        EXPECT_EQ(client.GetInterfaceClass(), c.cls);
    }
}

TEST_F(CHidClientTest, EntriesCarryStringsAndIdsAndUnreadableNamesBecomeOneSpace) {
    ASSERT_EQ(client.CreateDeviceTable(0x046D, 0xC077, false), 1);
    EXPECT_STREQ(client.GetDeviceName(0), " ");
    EXPECT_STREQ(client.GetVendorName(0), "Maker");
    EXPECT_STREQ(client.GetDeviceID(0), "VID=046D, PID=C077");
    EXPECT_EQ(client.GetDeviceVID(0), 0x046D);
    EXPECT_EQ(client.GetDevicePID(0), 0xC077);
    EXPECT_EQ(client.GetDeviceVer(0), 0x1802);
    const HidHandle h = client.Open(0);
    ASSERT_NE(h, kInvalidHidHandle);
    EXPECT_STREQ(client.Id2ProductString(h), " ");
    EXPECT_STREQ(client.Id2ManufactureString(h), " ");
    EXPECT_EQ(client.Close(h), 1);
    EXPECT_STREQ(client.Id2ProductString(h), " ");  // closed handle
}

TEST_F(CHidClientTest, IndexesOutsideTheTableGiveTheNoneResults) {
    ASSERT_EQ(client.CreateDeviceTable(0x046D, 0xC077, false), 1);
    for (int i : {1, -1, 127}) {
        SCOPED_TRACE(i);
        EXPECT_EQ(client.GetDevice(i), nullptr);
        EXPECT_EQ(client.GetDeviceName(i), nullptr);
        EXPECT_EQ(client.GetVendorName(i), nullptr);
        EXPECT_EQ(client.GetDeviceID(i), nullptr);
        EXPECT_EQ(client.GetDeviceVer(i), 0xFFFF);
        EXPECT_EQ(client.GetDeviceVID(i), 0xFFFF);
        EXPECT_EQ(client.GetDevicePID(i), 0xFFFF);
        EXPECT_EQ(client.Open(i), kInvalidHidHandle);
        std::uint8_t report[9] = {};
        int length = 9;
        EXPECT_EQ(client.Write(i, report, 9), 0);
        EXPECT_EQ(client.Read(i, report, 9), 0);
        EXPECT_EQ(client.ReadInputReport(i, report, length), 0);
    }
    EXPECT_EQ(client.Close(kInvalidHidHandle), 0);
    std::uint8_t buffer[256];
    EXPECT_EQ(client.Read(kInvalidHidHandle, buffer, 0), 0);
    EXPECT_TRUE(messages.empty());  // no "Open failed" for a bad index
}

TEST_F(CHidClientTest, TableHoldsAtMost127Interfaces) {
    backend->state->devices.clear();
    for (int i = 0; i < 200; ++i)
        backend->state->devices.push_back(Dev("p" + std::to_string(i), kVid, kPid, 0x1802, Shape::kMemory));
    EXPECT_EQ(client.CreateDeviceTable(0, 0, false), 1);
    EXPECT_EQ(client.GetRecognizedDevices(), CHidClient::kMaxDevices);
    EXPECT_STREQ(client.GetDevice(126), "p126");
}

TEST_F(CHidClientTest, WithoutBackendsEveryTableIsEmpty) {
    CHidClient empty;
    EXPECT_EQ(empty.LoadDll(), 0);
    EXPECT_EQ(empty.CreateDeviceTable(0, 0, false), 0);
    EXPECT_EQ(empty.GetRecognizedDevices(), 0);
}

TEST_F(CHidClientTest, ReportTrafficBuildsTheTableFirstAndReportsFailedOpens) {
    const std::uint8_t request[9] = {0x00, 0xDF, 0xBA, 0x00, 0x00};
    // No table yet: Write enumerates every HID interface first.
    ASSERT_EQ(client.Write(0, request, 9), 1);
    EXPECT_EQ(client.GetInterfaceClass(), CHidClient::InterfaceClass::Hid);
    ASSERT_EQ(backend->state->sets.size(), 1u);
    EXPECT_EQ(backend->state->sets[0], std::vector<std::uint8_t>(request, request + 9));

    backend->state->getReply = {0x00, 0xBA, 0x6D, 0x00, 0, 0, 0, 0, 0};
    std::uint8_t reply[9] = {};
    ASSERT_EQ(client.Read(0, reply, 9), 1);
    EXPECT_EQ(reply[2], 0x6D);
    backend->state->getReply.clear();
    EXPECT_EQ(client.Read(0, reply, 9), 0);

    backend->state->inputs.push_back({0xA4, 1, 0x21, 8, 8, 0, 0});
    std::uint8_t input[64];
    int length = sizeof input;
    ASSERT_EQ(client.ReadInputReport(0, input, length, 0), 1);
    EXPECT_EQ(length, 7);
    length = sizeof input;
    EXPECT_EQ(client.ReadInputReport(0, input, length, 0), 0);  // nothing pending
    EXPECT_EQ(length, 0);

    backend->state->openFails = true;
    EXPECT_EQ(client.Write(0, request, 9), 0);
    EXPECT_EQ(client.Read(0, reply, 9), 0);
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0], "Open failed|A");
    EXPECT_EQ(client.Open(0), kInvalidHidHandle);  // Open itself shows nothing
    EXPECT_EQ(messages.size(), 2u);
}

struct Receiver : HidNotifyReceiver {
    std::vector<std::pair<std::uint32_t, std::string>> got;
    void OnDeviceChange(std::uint32_t event, const std::string& path) override { got.emplace_back(event, path); }
};

TEST_F(CHidClientTest, RecoverBeforeAnyRegistrationSucceedsAndRegistersNothing) {
    auto scheduler = std::make_shared<ManualScheduler>();
    client.SetWatchScheduler(scheduler);
    EXPECT_EQ(client.RecoverRegisterNotify(), 1);
    EXPECT_EQ(scheduler->starts, 0);
    EXPECT_FALSE(client.IsRegistered());
    EXPECT_EQ(client.UnRegisterNotify(), 0);
}

TEST_F(CHidClientTest, RegistrationDeliversChangesOfItsClass) {
    Receiver r;
    EXPECT_EQ(client.RegisterNotify(&r), 0);  // no scheduler: nothing can watch
    auto scheduler = std::make_shared<ManualScheduler>();
    client.SetWatchScheduler(scheduler);
    scheduler->startResult = false;
    EXPECT_EQ(client.RegisterNotify(&r), 0);
    EXPECT_EQ(backend->state->watches, 0);
    scheduler->startResult = true;
    ASSERT_EQ(client.RegisterNotify(&r), 1);

    backend->state->pendingChanges = {{HidChange::kArrival, "m", true}, {HidChange::kArrival, "kbd", false},
                                      {HidChange::kRemoval, "m", true}};
    scheduler->Tick();
    using Got = std::vector<std::pair<std::uint32_t, std::string>>;
    EXPECT_EQ(r.got, (Got{{DBT_DEVICEARRIVAL, "m"}, {DBT_DEVICEREMOVECOMPLETE, "m"}}));

    client.CreateDeviceTable(0, 0, false);  // HID class: every interface counts
    r.got.clear();
    backend->state->pendingChanges = {{HidChange::kArrival, "kbd", false}};
    scheduler->Tick();
    EXPECT_EQ(r.got, (Got{{DBT_DEVICEARRIVAL, "kbd"}}));

    EXPECT_EQ(client.UnRegisterNotify(), 1);
    EXPECT_FALSE(scheduler->running);
    EXPECT_EQ(backend->state->watches, 0);
    EXPECT_EQ(client.UnRegisterNotify(), 0);
    EXPECT_EQ(client.RecoverRegisterNotify(), 1);  // the receiver was forgotten
    EXPECT_FALSE(client.IsRegistered());
}

TEST_F(CHidClientTest, ReRegisterKeepsTheFirstReceiverForRecovery) {
    auto scheduler = std::make_shared<ManualScheduler>();
    client.SetWatchScheduler(scheduler);
    Receiver first, second;
    ASSERT_EQ(client.RegisterNotify(&first), 1);
    ASSERT_EQ(client.ReRegisterNotify(&second), 1);
    backend->state->pendingChanges = {{HidChange::kArrival, "m", true}};
    scheduler->Tick();
    EXPECT_EQ(second.got.size(), 1u);
    ASSERT_EQ(client.RecoverRegisterNotify(), 1);
    backend->state->pendingChanges = {{HidChange::kRemoval, "m", true}};
    scheduler->Tick();
    EXPECT_EQ(first.got.size(), 1u);
    EXPECT_EQ(second.got.size(), 1u);
    EXPECT_EQ(backend->state->watches, 1);  // one live registration at a time
}

TEST_F(CHidClientTest, ACopyHasTheTableButNotTheLiveRegistration) {
    auto scheduler = std::make_shared<ManualScheduler>();
    client.SetWatchScheduler(scheduler);
    Receiver r;
    ASSERT_EQ(client.RegisterNotify(&r), 1);
    client.CreateDeviceTable(0, 0, true);
    {
        CHidClient copy(client);
        EXPECT_EQ(copy.GetRecognizedDevices(), client.GetRecognizedDevices());
        EXPECT_STREQ(copy.GetDevice(0), "A");
        EXPECT_FALSE(copy.IsRegistered());
    }
    EXPECT_TRUE(client.IsRegistered());
    EXPECT_TRUE(scheduler->running);
}

TEST_F(CHidClientTest, ShowCurrentTableFormatsEachType) {
    client.CreateDeviceTable(0x046D, 0xC077, false);
    EXPECT_EQ(client.ShowCurrentTable(1), "All Hid Interface:\nF-other\n");
    EXPECT_EQ(client.ShowCurrentTable(2), "All Hid Device:\n \n");
    EXPECT_EQ(client.ShowCurrentTable(3), "Device: VID=046D, PID=C077\n");
    EXPECT_EQ(client.ShowCurrentTable(4),
              "[0] Device: VID=046D, PID=C077\n      Product= \n      Manufacture=Maker\n      VersionNumber=1802\n");
    EXPECT_EQ(client.ShowCurrentTable(0), "All Hid Interface:\nF-other\nAll Hid Device:\n \nDevice: VID=046D, PID=C077\n");
    EXPECT_EQ(client.ShowCurrentTable(5), "No Slection");
    EXPECT_EQ(messages.back(), "HID DEVICE LIST|No Slection");
    EXPECT_EQ(CHidClient::IsCorvexProduct(kVid, 0), 1);
    EXPECT_EQ(CHidClient::IsCorvexProduct(0x046D, kPid), 0);
    EXPECT_EQ(client.ModifyDeviceRegistry(true), 0);
}

}  // namespace
}  // namespace pallix

// Arrival and removal of virtual mice reach a registered receiver through the Qt
// event loop, within a second.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <gtest/gtest.h>

#include <algorithm>

#include "common/Messages.h"
#include "device/CHidClient.h"
#include "platform/HidrawBackend.h"
#include "platform/VirtualHidBackend.h"
#include "platform/qt/EventDrivenWatchScheduler.h"
#include "tests/support/VmouseProcess.h"
#include "tests/support/TempEnv.h"

namespace pallix {
namespace {

using test::VmouseProcess;
using Event = std::pair<std::uint32_t, std::string>;

struct Receiver : HidNotifyReceiver {
    std::vector<Event> got;
    void OnDeviceChange(std::uint32_t event, const std::string& path) override { got.emplace_back(event, path); }
};

class HotplugTest : public ::testing::Test {
protected:
    HotplugTest() {
        client.SetWatchScheduler(std::make_shared<EventDrivenWatchScheduler>());
        client.CreateDeviceTable(0, 0, true);
    }

    // Runs the event loop until the receiver got the event for both interfaces of the
    // mouse (both list a mouse collection), in either order, or a second passed.
    bool Expect(const Event& want) {
        const std::vector<Event> both = {want, {want.first, want.second + "@1"}};
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < 1000 && receiver.got.size() < both.size()) app.processEvents(QEventLoop::AllEvents, 20);
        if (receiver.got.empty()) return false;
        std::vector<Event> got(receiver.got.begin(), receiver.got.begin() + std::min(receiver.got.size(), both.size()));
        receiver.got.erase(receiver.got.begin(), receiver.got.begin() + static_cast<std::ptrdiff_t>(got.size()));
        std::sort(got.begin(), got.end());
        EXPECT_EQ(got, both);
        return got == both;
    }

    test::TempEnv env;
    int argc = 1;
    char name[8] = "test";
    char* argv[2] = {name, nullptr};
    QCoreApplication app{argc, argv};
    CHidClient client{{std::make_shared<VirtualHidBackend>()}};
    Receiver receiver;
};

TEST_F(HotplugTest, ArrivalAndRemovalWithinASecond) {
    ASSERT_EQ(client.RegisterNotify(&receiver), 1);
    VmouseProcess m("m");
    EXPECT_TRUE(Expect({DBT_DEVICEARRIVAL, "vhid:m"}));
    ASSERT_EQ(m.Send({"unplug"}), "ok\n");
    EXPECT_TRUE(Expect({DBT_DEVICEREMOVECOMPLETE, "vhid:m"}));
    ASSERT_EQ(m.Send({"plug"}), "ok\n");
    EXPECT_TRUE(Expect({DBT_DEVICEARRIVAL, "vhid:m"}));
    {
        VmouseProcess second("second");
        EXPECT_TRUE(Expect({DBT_DEVICEARRIVAL, "vhid:second"}));
    }
    EXPECT_TRUE(Expect({DBT_DEVICEREMOVECOMPLETE, "vhid:second"}));
    m.Stop();
    EXPECT_TRUE(Expect({DBT_DEVICEREMOVECOMPLETE, "vhid:m"}));
}

TEST_F(HotplugTest, NothingArrivesAfterUnregisteringAndRecoveryResumes) {
    ASSERT_EQ(client.RegisterNotify(&receiver), 1);
    ASSERT_EQ(client.UnRegisterNotify(), 1);
    VmouseProcess m("m");
    EXPECT_FALSE(Expect({DBT_DEVICEARRIVAL, "vhid:m"}));
    ASSERT_EQ(client.RegisterNotify(&receiver), 1);
    ASSERT_EQ(client.RecoverRegisterNotify(), 1);  // a fresh watch: m is already there
    m.Send({"unplug"});
    EXPECT_TRUE(Expect({DBT_DEVICEREMOVECOMPLETE, "vhid:m"}));
}

TEST_F(HotplugTest, AReceiverMayUnregisterInsideItsHandler) {
    struct Quitter : HidNotifyReceiver {
        CHidClient* client = nullptr;
        int calls = 0;
        void OnDeviceChange(std::uint32_t, const std::string&) override {
            ++calls;
            client->UnRegisterNotify();
        }
    } quitter;
    quitter.client = &client;
    ASSERT_EQ(client.RegisterNotify(&quitter), 1);
    VmouseProcess a("a"), b("b");
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 500) app.processEvents(QEventLoop::AllEvents, 20);
    EXPECT_EQ(quitter.calls, 1);
    EXPECT_FALSE(client.IsRegistered());
}

TEST_F(HotplugTest, AMouseClosedToUsIsListedAndArrivesWhenAccessIsGranted) {
    VmouseProcess m("m", {"--deny-access"});
    ASSERT_TRUE(m.Ready());
    ASSERT_EQ(client.RegisterNotify(&receiver), 1);
    ASSERT_EQ(client.CreateDeviceTable(0, 0, true), 1);
    EXPECT_EQ(std::string(client.GetDevice(0)), "vhid:m");
    EXPECT_EQ(client.GetDeviceVer(0), 0x1802);
    EXPECT_TRUE(client.GetDeviceAccessDenied(0));
    EXPECT_EQ(client.Open(0), kInvalidHidHandle);

    ASSERT_TRUE(m.Send({"deny", "off"}));
    EXPECT_TRUE(Expect({DBT_DEVICEARRIVAL, "vhid:m"}));
    ASSERT_EQ(client.CreateDeviceTable(0, 0, true), 1);
    EXPECT_FALSE(client.GetDeviceAccessDenied(0));
    const HidHandle h = client.Open(0);
    EXPECT_NE(h, kInvalidHidHandle);
    client.Close(h);

    // Closed again while plugged in: nothing arrives or leaves; new clients are refused.
    ASSERT_TRUE(m.Send({"deny", "on"}));
    EXPECT_FALSE(Expect({DBT_DEVICEREMOVECOMPLETE, "vhid:m"}));
    ASSERT_EQ(client.CreateDeviceTable(0, 0, true), 1);
    EXPECT_TRUE(client.GetDeviceAccessDenied(0));
}

TEST(HidrawBackendTest, EnumeratesAndWatchesWithoutDevices) {
    HidrawBackend backend;
    EXPECT_TRUE(backend.Owns("/dev/hidraw3"));
    EXPECT_FALSE(backend.Owns("vhid:m"));
    for (const HidDeviceInfo& d : backend.Enumerate()) EXPECT_EQ(d.path.rfind("/dev/", 0), 0u);
    EXPECT_EQ(backend.Open("/dev/hidraw-none"), nullptr);
    EXPECT_EQ(backend.Open("vhid:m"), nullptr);
    auto watch = backend.Watch();
    ASSERT_TRUE(watch);
    EXPECT_FALSE(watch->Fds().empty());  // at least the /dev inotify
    EXPECT_TRUE(watch->Poll().empty());
}

}  // namespace
}  // namespace pallix

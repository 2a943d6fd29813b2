// Through the kernel's usbhid/hidraw: pallixctl's table and traffic, the monitor's
// side buttons, arrival and removal, and who may open the nodes.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>

#include <sys/stat.h>
#include <unistd.h>

#include "common/Messages.h"
#include "common/Posting.h"
#include "device/ButtonFunctions.h"
#include "device/CHidClient.h"
#include "device/DefaultTables.h"
#include "osd/OsdQuery.h"
#include "platform/HidBackends.h"
#include "platform/qt/EventDrivenWatchScheduler.h"
#include "tests/app/AppFixture.h"
#include "tests/kernel/GadgetMouse.h"
#include "tests/monitor/MonitorProcess.h"

namespace pallix::test {
namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;

QApplication& App() { return AppTestApp(); }

int Ctl(std::vector<std::string> args, std::string* out = nullptr) {
    args.insert(args.begin(), ProgramUnderTest("cli/pallixctl"));
    return RunProgram(args, out);
}

class Kernel : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("PALLIX_HID_BACKENDS", "hidraw", 1);
        ASSERT_TRUE(MouseNodes().empty()) << "a mouse is still plugged";
        mouse = std::make_unique<GadgetMouse>(env);
        ASSERT_TRUE(mouse->Plug()) << "the kernel never made the two hidraw nodes";
    }
    void TearDown() override {
        mouse.reset();
        unsetenv("PALLIX_HID_BACKENDS");
    }

    VmouseProcess& Vmouse() { return mouse->Process(); }

    TempEnv env;
    std::unique_ptr<GadgetMouse> mouse;
};

// `pallixctl devices` as uid 65534 (no groups), in its own folders.
int DevicesAsNobody(const TempEnv& env, std::string* out) {
    const auto home = env.Root() / "nobody";
    std::filesystem::create_directories(home / "run");
    for (const auto& dir : {home, home / "run"})
        if (chown(dir.c_str(), 65534, 65534) != 0) return -1;
    return RunProgram({"/usr/bin/setpriv", "--reuid=65534", "--regid=65534", "--clear-groups", "/usr/bin/env",
                       "HOME=" + home.string(), "XDG_RUNTIME_DIR=" + (home / "run").string(),
                       "XDG_CONFIG_HOME=" + home.string(), ProgramUnderTest("cli/pallixctl"), "devices"},
                      out);
}

// --- the device table ---

using KernelDevices = Kernel;

TEST_F(KernelDevices, OneMouseIsOneEntryAndAllListsBothNodes) {
    const auto nodes = MouseNodes();
    std::string out;
    EXPECT_EQ(Ctl({"devices"}, &out), 0);
    std::cout << "pallixctl devices:\n" << out;
    EXPECT_EQ(CountLines(out, "/dev/hidraw"), 1) << out;
    EXPECT_EQ(CountLines(out, "0x1802\tPALLIX Ostrel Gaming Mouse\t" + nodes[0]), 1) << out;
    out.clear();
    EXPECT_EQ(Ctl({"devices", "--all"}, &out), 0);
    std::cout << "pallixctl devices --all:\n" << out;
    ASSERT_EQ(nodes.size(), 2u);
    for (const auto& node : nodes) EXPECT_EQ(CountLines(out, "\t" + node + "\t1209:0001\t0x1802\t"), 1) << out;
    EXPECT_EQ(CountLines(out, "\tinterface 0, reports without ids"), 1) << out;
    EXPECT_EQ(CountLines(out, "\tinterface 1, numbered reports"), 1) << out;
    EXPECT_EQ(CountLines(out, "memory protocol"), 1) << out;
    EXPECT_EQ(CountLines(out, "event reports"), 1) << out;
    // For the record: what a user would paste into a bug report.
    out.clear();
    Ctl({"doctor"}, &out);
    std::cout << "pallixctl doctor:\n" << out;
}

// The user without the rule: root's 0600 nodes.
TEST_F(KernelDevices, WithoutTheRuleAUserSeesNoPermission) {
    std::string out;
    const int rc = DevicesAsNobody(env, &out);
    EXPECT_EQ(rc, 0);
    EXPECT_EQ(CountLines(out, "\t(no permission)"), 1) << out;
    EXPECT_EQ(CountLines(out, MouseNodes()[0]), 1) << out;
}

// --- pallixctl's traffic, from the mouse's trace ---

using KernelCli = Kernel;

int TypeAt(int p, int b) { return 256 + 64 * p + 14 + b; }
int ParamsAt(int p, int b) { return 256 + 64 * p + 23 + 4 * b; }
int DirectoryAt(int p, int b) { return 576 + 36 * p + 4 * b; }
int SlotAt(int p, int b) { return 768 + 2304 * p + 256 * b; }
bool OfButton(int a, int p, int b) { return a == TypeAt(p, b) || (a >= ParamsAt(p, b) && a < ParamsAt(p, b) + 4); }

Bytes Slice(const Bytes& image, int address, int count) {
    return Bytes(image.begin() + address, image.begin() + address + count);
}

// Every report went to interface 0 and was taken; the addresses written.
std::vector<int> CheckTraffic(const std::vector<TraceLine>& trace) {
    std::vector<int> written;
    EXPECT_FALSE(trace.empty());
    for (const TraceLine& t : trace) {
        EXPECT_TRUE(t.direction == "set" || t.direction == "get") << t.direction;
        EXPECT_FALSE(t.failed) << t.direction;
        EXPECT_EQ(t.bytes.size(), 9u);
        if (t.direction == "set" && t.bytes.size() == 9 && t.bytes[1] == 0xde) written.push_back(t.bytes[4] * 256 + t.bytes[2]);
    }
    return written;
}

TEST_F(KernelCli, CommandsTalkToTheMemoryInterfaceOnly) {
    std::string out;
    ASSERT_EQ(Ctl({"show", "--quiet"}, &out), 0) << out;
    EXPECT_NE(out.find("4 BACKWARD (factory)"), std::string::npos) << out;
    EXPECT_TRUE(CheckTraffic(Vmouse().Trace()).empty());  // a load only reads
    const Bytes factory = Vmouse().Memory();

    Vmouse().ClearTrace();
    ASSERT_EQ(Ctl({"set-button", "1", "4", "DOUBLE CLICK", "--quiet"}, &out), 0) << out;
    auto written = CheckTraffic(Vmouse().Trace());
    Bytes image = Vmouse().Memory();
    const auto& dbl = kStandardFunctions[kFnDoubleClick].function;
    EXPECT_EQ(image[static_cast<std::size_t>(TypeAt(0, 3))], dbl.type);
    EXPECT_EQ(Slice(image, ParamsAt(0, 3), 4), Bytes(dbl.params.begin(), dbl.params.end()));
    for (std::size_t a = 0; a < image.size(); ++a) {
        if (!OfButton(static_cast<int>(a), 0, 3)) {
            ASSERT_EQ(image[a], factory[a]) << "address " << a;
        }
    }
    for (int a : written) EXPECT_TRUE(OfButton(a, 0, 3)) << a;

    // A one-byte macro held on button 2 of profile 5.
    const auto folder = env.Root() / "home" / "Documents" / "PALLIX Ostrel";
    std::filesystem::create_directories(folder);
    const Bytes file{0x6D, 0x18, 0xA1, 1, 0, 0x19, 1, 0, 0, 0x04};
    std::ofstream(folder / "hold.Mac", std::ios::binary).write(reinterpret_cast<const char*>(file.data()), 10);
    Vmouse().ClearTrace();
    ASSERT_EQ(Ctl({"macro", "bind", "5", "2", "hold", "--hold", "--quiet"}, &out), 0) << out;
    CheckTraffic(Vmouse().Trace());
    image = Vmouse().Memory();
    EXPECT_EQ(Slice(image, DirectoryAt(4, 1), 4), (Bytes{1, 2, 0, 7}));
    EXPECT_EQ(Slice(image, SlotAt(4, 1), 2), (Bytes{0x04, 0}));
    EXPECT_EQ(image[static_cast<std::size_t>(TypeAt(4, 1))], kTypeMacro);

    Vmouse().ClearTrace();
    ASSERT_EQ(Ctl({"restore", "1", "--quiet"}, &out), 0) << out;
    CheckTraffic(Vmouse().Trace());
    image = Vmouse().Memory();
    CDefaultTables tables;
    tables.RewriteForModel(0x1802);
    for (const AddressValue& av : tables.ProfileBlock(0))
        EXPECT_EQ(image[static_cast<std::size_t>(av.address)], av.value) << "address " << av.address;
    EXPECT_EQ(image[static_cast<std::size_t>(TypeAt(0, 3))], factory[static_cast<std::size_t>(TypeAt(0, 3))]);
    EXPECT_EQ(image[static_cast<std::size_t>(TypeAt(4, 1))], kTypeMacro);  // another profile: kept
}

// --- the monitor ---

using KernelMonitor = Kernel;

TEST_F(KernelMonitor, RelaysTheProfileAndShowsSideArrowsOnlyForButtonsFourAndFive) {
    SqliteSettingsStore store;
    OsdProbe probe;
    Mailbox main;
    PublishHandle(store, kProcessHandle, main.Handle());
    store.WriteDword(kCurrentDialog, kDialogMain);
    ProgramProcess monitor({ProgramUnderTest("monitor/Qx7Monitor"), "/Automation"}, {"QT_QPA_PLATFORM=offscreen"});
    ASSERT_TRUE(probe.WaitFor(store, [](const Qx7OsdState&) { return true; }, 20000ms)) << "display never answered";
    // Reports reach a node only while it is open: wait for the monitor's.
    WaitFor([&] { return !monitor.OpenNodes().empty(); }, 10s);
    std::this_thread::sleep_for(500ms);
    std::cout << "monitor has open:";
    for (const auto& n : monitor.OpenNodes()) std::cout << " " << n;
    std::cout << "\n";

    // A new picture (the display counts what it shows) within the limit, or nullopt.
    auto newlyShown = [&](const std::vector<std::string>& words, std::chrono::milliseconds limit) {
        const auto before = probe.Query(store);
        EXPECT_TRUE(before);
        EXPECT_TRUE(mouse->Send(words));
        const auto s = probe.WaitFor(store, [&](const Qx7OsdState& st) { return before && st.shownCount > before->shownCount; }, limit);
        return s && before && s->shownCount > before->shownCount ? s : std::nullopt;
    };
    // Left button held while moving right, then let go: ordinary motion, no arrow.
    auto s = newlyShown({"move", "8", "0", "1"}, 1500ms);
    EXPECT_FALSE(s) << "motion showed picture " << s->pictureId;
    s = newlyShown({"move", "0", "0", "0"}, 1000ms);
    EXPECT_FALSE(s) << "motion showed picture " << s->pictureId;

    s = newlyShown({"side", "4"}, 5000ms);
    EXPECT_TRUE(s && s->pictureId == 320 && s->kind == osd::KIND_SIDE_BUTTON) << "no back arrow for button 4";
    s = newlyShown({"side", "5"}, 5000ms);
    EXPECT_TRUE(s && s->pictureId == 321 && s->kind == osd::KIND_SIDE_BUTTON) << "no forward arrow for button 5";

    // The event report on interface 1: relayed and shown.
    s = newlyShown({"profile", "2"}, 5000ms);
    EXPECT_TRUE(s && s->pictureId == 301) << "profile 2 not shown";
    bool relayed = false;
    WaitFor([&] {
        while (auto m = main.Receive())
            if (m->message == WM_DEVICE_EVENT && m->wParam == OSD_PROFILE_LEVEL) relayed = UnpackProfileLevel(m->lParam).profile == 1;
        return relayed;
    }, 5s);
    EXPECT_TRUE(relayed);
    EXPECT_TRUE(monitor.Alive());
}

// --- arrival and removal ---

struct Receiver : HidNotifyReceiver {
    std::vector<std::pair<std::uint32_t, std::string>> got;
    void OnDeviceChange(std::uint32_t event, const std::string& path) override { got.emplace_back(event, path); }
    bool Saw(std::uint32_t event) const {
        return std::any_of(got.begin(), got.end(), [&](const auto& e) { return e.first == event && e.second.rfind("/dev/hidraw", 0) == 0; });
    }
};

bool RunUntil(const std::function<bool()>& done, int ms) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < ms) App().processEvents(QEventLoop::AllEvents, 20);
    return done();
}

using KernelHotplug = Kernel;

TEST_F(KernelHotplug, UnbindAndBindReachTheReceiver) {
    App();
    CHidClient client(MakeDefaultHidBackends());
    client.SetWatchScheduler(std::make_shared<EventDrivenWatchScheduler>());
    const SUsbId ids[] = {{0x1209, 0x0001}};
    ASSERT_EQ(client.CreateDeviceTable(ids, 1), 1);
    Receiver receiver;
    ASSERT_EQ(client.RegisterNotify(&receiver), 1);
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        receiver.got.clear();
        ASSERT_TRUE(mouse->Unplug());
        EXPECT_TRUE(RunUntil([&] { return receiver.Saw(DBT_DEVICEREMOVECOMPLETE); }, 5000));
        ASSERT_TRUE(mouse->Plug());
        EXPECT_TRUE(RunUntil([&] { return receiver.Saw(DBT_DEVICEARRIVAL); }, 5000));
        for (const auto& [event, path] : receiver.got) std::cout << std::hex << event << std::dec << " " << path << "\n";
    }
    client.UnRegisterNotify();
}

// --- the product's rule (udevd running, a faked seat for uid 65534) ---

using KernelUdev = Kernel;

TEST_F(KernelUdev, TheRuleOpensTheNodesToTheSeatUser) {
    RunProgram({"/usr/bin/udevadm", "settle", "-t", "20"});
    for (const auto& node : MouseNodes()) {
        std::string info;
        RunProgram({"/usr/bin/udevadm", "info", node}, &info);
        EXPECT_NE(info.find("uaccess"), std::string::npos) << info;
    }
    std::string out;
    const int rc = DevicesAsNobody(env, &out);
    EXPECT_EQ(rc, 0);
    EXPECT_EQ(CountLines(out, MouseNodes()[0]), 1) << out;
    EXPECT_EQ(out.find("(no permission)"), std::string::npos) << out;
}

}  // namespace
}  // namespace pallix::test

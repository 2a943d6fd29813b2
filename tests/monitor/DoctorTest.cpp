// pallixctl doctor as a user runs it, against pallix-vmouse and a real monitor: what
// it says and its exit status for the situations a user meets.
#include <gtest/gtest.h>

#include <fstream>

#include "tests/monitor/MonitorProcess.h"
#include "tests/support/RunProgram.h"
#include "tests/support/TempEnv.h"
#include "tests/support/VmouseProcess.h"

namespace pallix::test {
namespace {

using namespace std::chrono_literals;

struct Doctor {
    int rc = -1;
    std::string out;
    bool Says(const std::string& line) const { return out.find(line) != std::string::npos; }
};

Doctor RunDoctor() {
    Doctor d;
    d.rc = RunPallixctl({"doctor"}, &d.out);
    return d;
}

class DoctorTest : public ::testing::Test {
protected:
    void SetUp() override { setenv("PALLIX_HID_BACKENDS", "virtual", 1); }
    void TearDown() override { unsetenv("PALLIX_HID_BACKENDS"); }
    TempEnv env;
    SqliteSettingsStore store;
};

TEST_F(DoctorTest, SaysWhatIsMissingAndWhatToDo) {
    Doctor d = RunDoctor();  // no mouse, no monitor
    EXPECT_EQ(d.rc, 1);
    EXPECT_TRUE(d.Says("[FAIL] mouse: no HID interface with the mouse's USB id 1209:0001 is present")) << d.out;
    EXPECT_TRUE(d.Says("[FAIL] monitor: Qx7Monitor is not running")) << d.out;
    EXPECT_TRUE(d.Says("what to do: start it with `Qx7Monitor /Automation &`")) << d.out;

    VmouseProcess mouse("m1");
    d = RunDoctor();
    EXPECT_TRUE(d.Says("[ok  ] mouse: PALLIX Ostrel Gaming Mouse, 1209:0001, version 0x1802, at vhid:m1; nodes: "
                       "vhid:m1 (interface 0), vhid:m1@1 (interface 1)")) << d.out;
    EXPECT_TRUE(d.Says("[ok  ] interfaces: memory protocol on vhid:m1; event reports on vhid:m1@1; side buttons on "
                       "vhid:m1, vhid:m1@1")) << d.out;
    EXPECT_TRUE(d.Says("[ok  ] signature: the mouse at vhid:m1 answers")) << d.out;
    EXPECT_TRUE(d.Says("1 problem found")) << d.out;

    {
        MonitorProcess monitor;
        OsdProbe probe;
        ASSERT_TRUE(probe.WaitFor(store, [](const Qx7OsdState&) { return true; }, 5000ms));
        d = RunDoctor();
        EXPECT_TRUE(d.Says("[ok  ] monitor: Qx7Monitor runs (pid " + std::to_string(monitor.Pid()) + ")")) << d.out;
        EXPECT_TRUE(d.Says("[ok  ] display: the on-screen display is loaded")) << d.out;
        EXPECT_FALSE(d.Says("[FAIL]")) << d.out;
        EXPECT_EQ(d.rc, 0) << d.out;
    }

    ASSERT_TRUE(mouse.Send({"deny", "on"}));
    d = RunDoctor();
    EXPECT_EQ(d.rc, 1);
    EXPECT_TRUE(d.Says("[FAIL] permission: closed to this user: vhid:m1, vhid:m1@1")) << d.out;
    EXPECT_TRUE(d.Says("this user may not open it")) << d.out;
    EXPECT_FALSE(d.Says("signature")) << d.out;  // nothing to ask a mouse we may not open
}

TEST_F(DoctorTest, AMouseThatDoesNotAnswerAsThisMouseFails) {
    const auto blank = env.Root() / "blank.mem";  // memory without the signature bytes
    std::ofstream(blank, std::ios::binary) << std::string(16384, '\0');
    VmouseProcess mouse("m1", {"--memory", blank.string()});
    const Doctor d = RunDoctor();
    EXPECT_TRUE(d.Says("[FAIL] signature: the mouse at vhid:m1 does not answer the memory protocol")) << d.out;
}

}  // namespace
}  // namespace pallix::test

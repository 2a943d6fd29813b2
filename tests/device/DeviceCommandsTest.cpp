// pallixctl's device commands against a pallix-vmouse process.
#include <gtest/gtest.h>

#include <cstdlib>

#include "device/MemoryMap.h"
#include "tests/support/VmouseProcess.h"

namespace pallix::test {
namespace {

using namespace memmap;

class DeviceCommands : public ::testing::Test {
protected:
    void SetUp() override { setenv("PALLIX_HID_BACKENDS", "virtual", 1); }
    void TearDown() override { unsetenv("PALLIX_HID_BACKENDS"); }

    int Ctl(const std::vector<std::string>& args, std::string* out = nullptr) { return RunPallixctl(args, out); }
    TempEnv env;
};

TEST_F(DeviceCommands, RefusalsWriteNothing) {
    VmouseProcess vmouse(env, "cli", {"--model", "0x1801"});
    ASSERT_TRUE(vmouse.Ready());
    EXPECT_EQ(Ctl({"set-dpi", "6", "1", "800"}), 2);
    EXPECT_EQ(Ctl({"set-button", "1", "9", "CLICK"}), 2);
    EXPECT_EQ(Ctl({"set-led", "1", "2", "pink"}), 2);
    EXPECT_EQ(Ctl({"show", "--device", "vhid:nothing"}), 1);
    EXPECT_TRUE(vmouse.Trace().empty());

    // The only CLICK button of profile 1 keeps it: the configuration is read, nothing written.
    EXPECT_EQ(Ctl({"set-button", "1", "1", "RIGHT BUTTON", "--device", vmouse.Path()}), 1);
    const auto trace = vmouse.Trace();
    EXPECT_FALSE(trace.empty());
    for (const auto& t : trace) EXPECT_FALSE(t.direction == "set" && t.bytes[1] == 0xDE);
}

TEST_F(DeviceCommands, ChangesAreAppliedAndShown) {
    VmouseProcess vmouse(env, "cli", {"--model", "0x1801"});
    ASSERT_TRUE(vmouse.Ready());
    std::string out;
    ASSERT_EQ(Ctl({"set-dpi", "2", "3", "5000", "--quiet"}, &out), 0) << out;
    EXPECT_NE(out.find("wrote 0x0143 = 56"), std::string::npos) << out;
    EXPECT_NE(out.find("wrote 0x0147 = 56"), std::string::npos) << out;
    const auto image = vmouse.Memory();
    EXPECT_EQ(image[static_cast<std::size_t>(SensitivityAddress(1, 2))], 56);
    EXPECT_EQ(image[static_cast<std::size_t>(SensitivityCopyAddress(1, 2))], 56);
    for (const auto& t : vmouse.Trace()) EXPECT_FALSE(t.bytes[1] == 0xC4 && t.bytes[2] == 3);  // quiet

    ASSERT_EQ(Ctl({"show", "--json"}, &out), 0);
    EXPECT_NE(out.find("{\"level\":3,\"dpi\":5000,\"byte\":56}"), std::string::npos) << out;
}

// pallixctl args... with its errors in *out too.
int CtlWithErrors(const std::string& args, std::string* out) {
    return RunProgram({"/bin/sh", "-c", BuiltProgram("cli/pallixctl") + " " + args + " 2>&1"}, out);
}

TEST_F(DeviceCommands, AMouseClosedToTheUserIsListedAndExplained) {
    VmouseProcess vmouse(env, "closed", {"--deny-access"});
    ASSERT_TRUE(vmouse.Ready());
    std::string out;
    EXPECT_EQ(Ctl({"devices"}, &out), 0);
    EXPECT_NE(out.find("0\t0x1802\tPALLIX Ostrel Gaming Mouse\tvhid:closed\t(no permission)\n"), std::string::npos)
        << out;
    for (const std::string command : {"show", "show --device vhid:closed", "set-dpi 1 1 800", "restore 1"}) {
        SCOPED_TRACE(command);
        EXPECT_EQ(CtlWithErrors(command, &out), 1);
        EXPECT_NE(out.find("The mouse was found at vhid:closed, but this user may not open it."), std::string::npos)
            << out;
        EXPECT_NE(out.find("70-pallix-ostrel.rules"), std::string::npos) << out;
        EXPECT_NE(out.find("sudo udevadm control --reload && sudo udevadm trigger"), std::string::npos) << out;
        EXPECT_EQ(out.find("No Gamer Mouse Connected"), std::string::npos) << out;
    }
    for (const auto& t : vmouse.Trace()) EXPECT_EQ(t.direction, "deny");  // not one report

    ASSERT_TRUE(vmouse.Send({"deny", "off"}));
    EXPECT_EQ(Ctl({"devices"}, &out), 0);
    EXPECT_EQ(out.find("no permission"), std::string::npos) << out;
    EXPECT_EQ(Ctl({"show"}, &out), 0) << out;
}

}  // namespace
}  // namespace pallix::test

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

}  // namespace
}  // namespace pallix::test

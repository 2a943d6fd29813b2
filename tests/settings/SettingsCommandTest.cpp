#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/SqliteSettingsStore.h"
#include "tests/settings/Process.h"
#include "tests/support/TempEnv.h"

namespace pallix {
namespace {

class SettingsCommandTest : public ::testing::Test {
protected:
    test::TempEnv env;
    test::ProcessResult Ctl(std::vector<std::string> args) {
        args.insert(args.begin(), {PALLIXCTL, "settings"});
        return test::RunProcess(args, env.Root().string());
    }
};

TEST_F(SettingsCommandTest, SetGetListDelete) {
    EXPECT_EQ(Ctl({"set", "OSD Handle", "-1"}).exitCode, 0);
    EXPECT_EQ(Ctl({"set", "PF0T1 Macro Name", "Tab\there  "}).exitCode, 0);
    EXPECT_EQ(Ctl({"set", "Custom", "0x10", "--dword"}).exitCode, 0);
    EXPECT_EQ(Ctl({"set", "Note", "42", "--string"}).exitCode, 0);
    EXPECT_EQ(Ctl({"set", "Note", "43"}).exitCode, 0);  // keeps the type it has

    EXPECT_EQ(Ctl({"get", "OSD Handle"}).out, "4294967295\n");
    EXPECT_EQ(Ctl({"get", "PF0T1 Macro Name"}).out, "Tab\there  \n");
    EXPECT_EQ(Ctl({"get", "Custom"}).out, "16\n");
    EXPECT_EQ(Ctl({"list"}).out,
              "Custom\tdword\t16\nNote\tstring\t43\nOSD Handle\tdword\t4294967295\n"
              "PF0T1 Macro Name\tstring\tTab\\there  \n");

    EXPECT_EQ(Ctl({"delete", "Custom"}).exitCode, 0);
    const auto again = Ctl({"delete", "Custom"});
    EXPECT_EQ(again.exitCode, 1);
    EXPECT_NE(again.err.find("no value named 'Custom'"), std::string::npos) << again.err;
    EXPECT_EQ(Ctl({"get", "Custom"}).exitCode, 1);
}

TEST_F(SettingsCommandTest, BadInputIsRefusedAndChangesNothing) {
    ASSERT_EQ(Ctl({"set", "PF1 Motion Speed", "12"}).exitCode, 0);
    struct Case {
        std::vector<std::string> args;
        int exitCode;
        const char* message;
    };
    const std::vector<Case> cases = {
        {{"set", "PF1 Motion Speed", "12x"}, 2, "not a 32-bit number"},
        {{"set", "PF1 Motion Speed", "4294967296"}, 2, "not a 32-bit number"},
        {{"set", "PF1 Motion Speed", "-2147483649"}, 2, "not a 32-bit number"},
        {{"set", "PF1 Motion Speed", ""}, 2, "not a 32-bit number"},
        {{"set", "Unknown Value", "1"}, 2, "--string or --dword"},
        {{"set", "PF1 Motion Speed"}, 2, "usage"},
        {{"set", "PF1 Motion Speed", std::string(2049, 'x'), "--string"}, 1, "longer than 2048"},
        {{"get"}, 2, "usage"},
        {{"frobnicate"}, 2, "usage"},
        {{}, 2, "usage"},
    };
    for (const auto& c : cases) {
        const auto r = Ctl(c.args);
        EXPECT_EQ(r.exitCode, c.exitCode) << c.message;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    }
    EXPECT_EQ(Ctl({"get", "PF1 Motion Speed"}).out, "12\n");
    EXPECT_EQ(Ctl({"set", "PF1 Motion Speed", "-2147483648"}).exitCode, 0);
    EXPECT_EQ(Ctl({"get", "PF1 Motion Speed"}).out, "2147483648\n");
}

// No desktop at all (no display, no session bus): nothing can hold the settings,
// and pallixctl says so per setting rather than pretending.
TEST_F(SettingsCommandTest, PointerSettingsWithoutADesktopAreUnsupported) {
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    unsetenv("DBUS_SESSION_BUS_ADDRESS");
    const auto r = Ctl({"pointer", "apply", "1"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out,
              "profile 1: speed 10, double-click 500 ms, wheel 3 lines\n"
              "speed         10         unsupported\n"
              "double-click  500 ms     unsupported\n"
              "wheel lines   3          unsupported\n");
    EXPECT_EQ(Ctl({"pointer", "apply"}).exitCode, 2);
    EXPECT_EQ(Ctl({"pointer", "apply", "0"}).exitCode, 2);
}

}  // namespace
}  // namespace pallix

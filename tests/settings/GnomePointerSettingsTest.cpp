#include "platform/pointer/GnomePointerSettings.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include "tests/settings/PrivateBus.h"
#include "tests/settings/Process.h"
#include "tests/support/TempEnv.h"

namespace pallix {
namespace {

// GIO keeps its choices for the life of a process, so the cases that change the
// environment run in a child.
TEST(GnomePointerSettingsTest, WithoutTheSchemaThereIsNoBackendAndNoAbort) {
    EXPECT_EXIT(
        {
            setenv("XDG_DATA_DIRS", "/nonexistent", 1);
            setenv("XDG_DATA_HOME", "/nonexistent", 1);
            unsetenv("GSETTINGS_SCHEMA_DIR");
            std::exit(!GnomeMouseSchemaInstalled() && !GnomePointerSettings::Create() ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST(GnomePointerSettingsTest, WithoutASessionBusWritesWouldBeLostSoThereIsNoBackend) {
    if (!GnomeMouseSchemaInstalled()) GTEST_SKIP() << "GNOME schemas not installed";
    test::TempEnv env;  // a runtime folder without a bus socket
    EXPECT_EXIT(
        {
            unsetenv("DBUS_SESSION_BUS_ADDRESS");
            std::exit(GnomePointerSettings::Create() ? 1 : 0);
        },
        ::testing::ExitedWithCode(0), "");
}

// 0 when everything matched; otherwise says what did not on stderr.
int WriteAndReadBack(const std::string& dir) {
    int problems = 0;
    const auto check = [&](bool ok, const char* what) {
        if (!ok) std::fprintf(stderr, "not as expected: %s\n", what), ++problems;
    };
    const auto get = [&](const char* key) {
        return test::RunProcess({"/usr/bin/gsettings", "get", "org.gnome.desktop.peripherals.mouse", key}, dir).out;
    };
    auto gnome = GnomePointerSettings::Create();
    if (!gnome) return 100;
    check(gnome->SetSpeed(15) == PointerResult::Applied, "speed applied");
    check(gnome->SetDoubleClickTime(700) == PointerResult::Applied, "double-click applied");
    check(gnome->SetWheelScrollLines(3) == PointerResult::Unsupported, "wheel unsupported");
    check(gnome->Speed() == 15, "speed read back");
    check(gnome->DoubleClickTime() == 700, "double-click read back");
    check(get("speed") == "0.5\n", "gsettings sees the speed");
    check(get("double-click") == "700\n", "gsettings sees the double-click time");
    check(gnome->SetSpeed(0) == PointerResult::Failed, "speed 0 refused");
    return problems;
}

// A private session bus with the real dconf service behind it; a separate gsettings
// process must see what we wrote.
TEST(GnomePointerSettingsTest, ValuesReachTheDesktopSettings) {
    if (!GnomeMouseSchemaInstalled()) GTEST_SKIP() << "GNOME schemas not installed";
    for (const char* tool : {"/usr/bin/dbus-daemon", "/usr/bin/gsettings", "/usr/libexec/dconf-service"})
        if (access(tool, X_OK) != 0) GTEST_SKIP() << tool << " missing";
    test::TempEnv env;
    const std::string dir = env.Root().string();
    test::PrivateBus bus(dir);
    const std::string address = bus.Address();
    ASSERT_FALSE(address.empty()) << test::ReadWholeFile(dir + "/bus.err");

    // GLib ends a process whose session bus goes away, so the client is a child too.
    EXPECT_EXIT(
        {
            setenv("DBUS_SESSION_BUS_ADDRESS", address.c_str(), 1);
            std::exit(WriteAndReadBack(dir));
        },
        ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace pallix

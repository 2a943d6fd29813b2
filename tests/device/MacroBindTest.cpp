// pallixctl macro bind against a pallix-vmouse process: the mouse's directory entry,
// slot and button bytes, and the macro-name value in the settings store.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <thread>

#include "platform/SqliteSettingsStore.h"
#include "tests/support/VmouseProcess.h"
#include "tests/support/WaitFor.h"

namespace pallix::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

class MacroBind : public ::testing::Test {
protected:
    void SetUp() override { setenv("PALLIX_HID_BACKENDS", "virtual", 1); }
    void TearDown() override { unsetenv("PALLIX_HID_BACKENDS"); }

    int Ctl(std::vector<std::string> args, std::string* out = nullptr) {
        args.insert(args.begin(), {"macro", "bind"});
        return RunPallixctl(args, out);
    }
    void WriteMacro(const std::string& name, const Bytes& script) {
        const auto folder = env.Root() / "home" / "Documents" / "PALLIX Ostrel";
        std::filesystem::create_directories(folder);
        Bytes file{0x6D, 0x18, 0xA1, static_cast<std::uint8_t>(script.size()), 0, 0x19, 1, 0, 0};
        file.insert(file.end(), script.begin(), script.end());
        std::ofstream(folder / (name + ".Mac"), std::ios::binary)
            .write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
    }
    std::optional<std::string> SavedName(const std::string& value) {
        std::string text;
        SqliteSettingsStore store;
        if (!store.ReadString(value, text)) return std::nullopt;
        return text;
    }
    static Bytes Slice(const Bytes& image, int address, int count) {
        return Bytes(image.begin() + address, image.begin() + address + count);
    }

    TempEnv env;
};

Bytes Repeated(const Bytes& piece, int times) {
    Bytes out;
    for (int i = 0; i < times; ++i) out.insert(out.end(), piece.begin(), piece.end());
    return out;
}

// Addresses as the mouse's memory map lays them out (profile and button 0-based).
int DirectoryAt(int p, int b) { return 576 + 36 * p + 4 * b; }
int SlotAt(int p, int b) { return 768 + 2304 * p + 256 * b; }
int TypeAt(int p, int b) { return 256 + 64 * p + 14 + b; }
int ParamsAt(int p, int b) { return 256 + 64 * p + 23 + 4 * b; }

TEST_F(MacroBind, StoresTheExpandedScriptTheModeAndTheName) {
    struct Case {
        const char* name;
        int profile, button;  // 0-based
        std::vector<std::string> options;
        Bytes script, stored;
        Bytes entry;  // the four directory bytes
        const char* value;
    };
    const Bytes undo{0x83, 0x86, 9, 9}, undoRaw{0x70, 0x1C, 0x9C, 0xF0};
    const Case cases[] = {
        // 24 bytes: a stepped macro list.
        {"undo", 1, 3, {"--repeat", "3"}, Repeated(undo, 6), Repeated(undoRaw, 6), {24, 2, 3, 12}, "PF1T4 Macro Name"},
        // 13 bytes, written at once.
        {"mixed", 0, 7, {"--toggle"}, {0x04, 0x83, 0x82, 0, 0, 0x83, 0x06, 0x83, 0x87, 0, 0, 0, 0},
         {0x04, 0x70, 0x06, 0x86, 0xF0, 0x83, 0x06, 0x03, 0x23, 0x02, 0x03, 0x00, 0x00}, {13, 2, 0, 4},
         "PF0T8 Macro Name"},
        {"hold", 4, 1, {"--hold"}, {0x04}, {0x04}, {1, 2, 0, 7}, "PF4T2 Macro Name"},
        {"once", 2, 2, {"--quiet", "--once"}, {0x04}, {0x04}, {1, 2, 0, 5}, "PF2T3 Macro Name"},
    };
    VmouseProcess vmouse(env, "bind");
    ASSERT_TRUE(vmouse.Ready());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteMacro(c.name, c.script);
        std::vector<std::string> args{std::to_string(c.profile + 1), std::to_string(c.button + 1), c.name};
        args.insert(args.end(), c.options.begin(), c.options.end());
        std::string out;
        ASSERT_EQ(Ctl(args, &out), 0) << out;
        const Bytes image = vmouse.Memory();
        EXPECT_EQ(Slice(image, DirectoryAt(c.profile, c.button), 4), c.entry);
        Bytes slot = c.stored;
        slot.push_back(0);  // nothing past the script
        EXPECT_EQ(Slice(image, SlotAt(c.profile, c.button), static_cast<int>(slot.size())), slot);
        EXPECT_EQ(image[static_cast<std::size_t>(TypeAt(c.profile, c.button))], 6);  // MACRO KEY
        EXPECT_EQ(Slice(image, ParamsAt(c.profile, c.button), 4), (Bytes{0, 0, 0, 0}));
        EXPECT_EQ(SavedName(c.value), c.name);
    }
}

TEST_F(MacroBind, RefusalsTouchNeitherTheMouseNorTheStore) {
    VmouseProcess vmouse(env, "bind");
    ASSERT_TRUE(vmouse.Ready());
    WriteMacro("m", {0x04});
    const std::vector<std::string> usage[] = {
        {"1", "2", "m"},
        {"1", "2", "m", "--once", "--hold"},
        {"1", "2", "m", "--repeat", "x"},
        {"1", "2", "m", "--repeat", "256"},
        {"1", "2", "m", "--repeat"},
        {"6", "2", "m", "--once"},
        {"1", "9", "m", "--once"},
        {"1", "2", "--once"},
        {"1", "2", "m", "--once", "--loud"},
    };
    for (const auto& args : usage) EXPECT_EQ(Ctl(args), 2) << ::testing::PrintToString(args);
    // No such macro, an unsafe name: refused before the mouse is asked.
    EXPECT_EQ(Ctl({"1", "2", "none", "--once"}), 1);
    EXPECT_EQ(Ctl({"1", "2", "../m", "--once"}), 1);
    EXPECT_TRUE(vmouse.Trace().empty());

    // Button 1 holds the profile's only CLICK.
    const Bytes before = vmouse.Memory();
    EXPECT_EQ(Ctl({"1", "1", "m", "--once"}), 1);
    EXPECT_EQ(vmouse.Memory(), before);
    EXPECT_EQ(SavedName("PF0T1 Macro Name"), std::nullopt);
    EXPECT_EQ(SavedName("PF0T2 Macro Name"), std::nullopt);
}

TEST_F(MacroBind, AStoreThatFailsMidwayKeepsTheButtonsFormerName) {
    VmouseProcess vmouse(env, "bind");
    ASSERT_TRUE(vmouse.Ready());
    WriteMacro("long", Repeated({0x04}, 200));  // about two seconds on the 10 ms steps
    {
        SqliteSettingsStore store;
        ASSERT_TRUE(store.WriteString("PF0T2 Macro Name", "Former"));
    }
    int rc = -1;
    std::thread bind([&] { rc = Ctl({"1", "2", "long", "--once", "--quiet"}); });
    auto memoryWrites = [&] {
        int n = 0;
        for (const auto& t : vmouse.Trace()) n += t.direction == "set" && t.bytes[1] == 0xDE && !t.failed;
        return n;
    };
    const bool midway = WaitFor([&] { return memoryWrites() >= 20; });
    ASSERT_TRUE(vmouse.Send({"fault", "set", "100000"}));
    bind.join();
    ASSERT_TRUE(midway);
    EXPECT_EQ(rc, 1);
    EXPECT_LT(memoryWrites(), 3 + 200);
    EXPECT_EQ(SavedName("PF0T2 Macro Name"), "Former");
}

}  // namespace
}  // namespace pallix::test

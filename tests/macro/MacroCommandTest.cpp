#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "tests/support/RunProgram.h"
#include "tests/support/TempEnv.h"

namespace {

struct Output {
    std::string text;
    int status;
};

// Runs pallixctl with the given arguments; stdout only.
Output Pallixctl(const std::vector<std::string>& args) {
    Output out{"", -1};
    out.status = pallix::test::RunPallixctl(args, &out.text);
    return out;
}

TEST(MacroCommand, DecodePrintsNumberDirectionInstructionAndDelay) {
    const Output out =
        Pallixctl({"macro", "decode", "83", "02", "05", "00", "04", "01", "64", "01", "64", "0x84", "83 87 00000000"});
    EXPECT_EQ(out.status, 0);
    EXPECT_EQ(out.text,
              "1\t-\tGOTO 3\t0ms\n"
              "2\tdown\t'A'\t5.0sec\n"
              "3\tup\t'A'\t0ms\n"
              "4\t-\tOpen Window Explorer\t0ms\n");
}

TEST(MacroCommand, DecodeRefusesBadHexAndOversizedScripts) {
    EXPECT_EQ(Pallixctl({"macro", "decode", "8"}).status, 1);
    EXPECT_EQ(Pallixctl({"macro", "decode", "zz"}).status, 1);
    EXPECT_EQ(Pallixctl({"macro", "decode", std::string(514, '0')}).status, 1);
    EXPECT_EQ(Pallixctl({"macro"}).status, 2);
}

TEST(MacroCommand, ShowReadsAFileByPathOrByMacroName) {
    pallix::test::TempEnv env;
    const auto folder = env.Root() / "home" / "Documents" / "PALLIX Ostrel";
    std::filesystem::create_directories(folder);
    const unsigned char file[] = {0x6D, 0x18, 0xA1, 3, 0, 0x19, 1, 0, 0, 0x78, 0x01, 0x0A};
    // Copied from another system: the extension's case is not ours.
    std::ofstream(folder / "click.MAC", std::ios::binary).write(reinterpret_cast<const char*>(file), sizeof file);

    const std::string expected = "1\tdown\tL-Button\t250ms\n";
    EXPECT_EQ(Pallixctl({"macro", "show", (folder / "click.MAC").string()}).text, expected);
    EXPECT_EQ(Pallixctl({"macro", "show", "click"}).text, expected);
    EXPECT_EQ(Pallixctl({"macro", "list"}).text, "click\n");
    EXPECT_EQ(Pallixctl({"macro", "show", "nothing"}).status, 1);
}

}  // namespace

#include <gtest/gtest.h>

#include <fstream>

#include "macro/LineList.h"
#include "macro/MacroFile.h"
#include "macro/MacroFolder.h"
#include "macro/ScriptUpload.h"
#include "tests/support/TempEnv.h"

namespace pallix::macro {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Expanded(Bytes script) {
    ExpandCommands(script);
    return script;
}

TEST(ExpandCommands, ReplacesCommandsInPlaceAndNothingElse) {
    struct Case {
        Bytes in, out;
    };
    const Case cases[] = {
        {{0x04, 0x83, 0x82, 0, 0, 0x83, 0x06, 0x83, 0x87, 0, 0, 0, 0},
         {0x04, 0x70, 0x06, 0x86, 0xF0, 0x83, 0x06, 0x03, 0x23, 0x02, 0x03, 0x00, 0x00}},
        {{0x83, 0x86, 9, 9}, {0x70, 0x1C, 0x9C, 0xF0}},               // Undo: Ctrl + Y; fillers ignored
        {{0x83, 0x8C, 0, 0x83, 0x80}, {0x70, 0xFE, 0xF0, 0x4B, 0xCB}},  // Zoom In, Page UP
        // Command-looking bytes inside operands stay operands.
        {{0x80, 0x83, 0x80, 0x83, 0x80, 0x83, 0x02, 0x83, 0x80}, {0x80, 0x83, 0x80, 0x83, 0x80, 0x83, 0x02, 0x83, 0x80}},
        {{0x01, 0x83, 0x83, 0x93, 0, 0, 0, 0}, {0x01, 0x83, 0x03, 0x83, 0x01, 0x03, 0x00, 0x00}},
        {{0x04, 0x83, 0x87, 0, 0}, {0x04, 0x83, 0x87, 0, 0}},  // cut off by the end
        {{}, {}},
    };
    for (const Case& c : cases) EXPECT_EQ(Expanded(c.in), c.out);

    Bytes tooLong(257, 0x04);
    tooLong[0] = 0x83;
    tooLong[1] = 0x80;
    EXPECT_EQ(Expanded(tooLong), tooLong);
}

TEST(ExpandCommands, EveryCommandBecomesItsRawSequence) {
    CSkinLVCmdList lines;
    Bytes expected;
    for (int i = 0; i < kCommandCount; ++i) {
        lines.AppendExtended(static_cast<std::uint8_t>(SUB_FIRST_COMMAND + i));
        expected.insert(expected.end(), kCommands[i].rawBytes.begin(), kCommands[i].rawBytes.begin() + kCommands[i].length);
    }
    EXPECT_EQ(Expanded(lines.EncodeScript()), expected);
}

TEST(UploadBytes, ComeFromTheMacroFileExpanded) {
    pallix::test::TempEnv env;
    const auto folder = env.Root() / "home" / "Documents" / "PALLIX Ostrel";
    std::filesystem::create_directories(folder);
    CSkinLVCmdList lines;
    lines.Decode(Bytes{0x04, 0x01, 0x02, 0x83, 0x8B, 0, 0});
    ASSERT_TRUE(WriteMacroFile(BuildMacroPath(folder, "lock"), lines, {}).ok);

    const UploadBytes upload = UploadBytesOfMacro(folder, "lock");
    EXPECT_EQ(upload.count, 7);
    EXPECT_EQ(Bytes(upload.Script().begin(), upload.Script().end()),
              (Bytes{0x04, 0x01, 0x02, 0x73, 0x0F, 0x8F, 0xF3}));

    // A file copied from elsewhere, extension in capitals.
    std::filesystem::rename(folder / "lock.Mac", folder / "lock.MAC");
    EXPECT_EQ(UploadBytesOfMacro(folder, "lock").count, 7);

    const UploadBytes missing = UploadBytesOfMacro(folder, "gone");
    EXPECT_EQ(missing.count, 0);
    EXPECT_EQ(missing.message, MacroMessage::FilePathNotFound);
    EXPECT_EQ(missing.suffix, "gone");
}

}  // namespace
}  // namespace pallix::macro

#include <gtest/gtest.h>

#include <vector>

#include "macro/InstructionSet.h"
#include "macro/LineList.h"
#include "macro/LineText.h"
#include "macro/MacroTexts.h"

namespace pallix::macro {
namespace {

struct TextCase {
    std::vector<std::uint8_t> bytes;  // one instruction
    std::string text;
    int icon;
};

void PrintTo(const TextCase& c, std::ostream* out) {
    static const char* kHex = "0123456789ABCDEF";
    for (std::uint8_t b : c.bytes) *out << kHex[b >> 4] << kHex[b & 15];
}


class InstructionText : public ::testing::TestWithParam<TextCase> {};

TEST_P(InstructionText, DecodesToOneLineWithTextAndIcon) {
    const TextCase& c = GetParam();
    CSkinLVCmdList lines;
    lines.Decode(c.bytes);
    ASSERT_EQ(lines.Count(), 1);
    EXPECT_EQ(lines.Line(0).text, c.text);
    EXPECT_EQ(lines.RowOf(0).icon, c.icon);
    EXPECT_EQ(lines.Line(0).byteLength, static_cast<int>(c.bytes.size()));
}

INSTANTIATE_TEST_SUITE_P(
    EveryKind, InstructionText,
    ::testing::Values(
        TextCase{{0x00}, "<All-Keys-Up>", ICON_OTHER}, TextCase{{0x04}, "'A'", ICON_KEY_DOWN},
        TextCase{{0x84}, "'A'", ICON_KEY_UP}, TextCase{{0x27}, "'0'", ICON_KEY_DOWN},
        TextCase{{0x31}, "'\\'", ICON_KEY_DOWN}, TextCase{{0x35}, "Tilde", ICON_KEY_DOWN},
        TextCase{{0x68}, "F13'", ICON_KEY_DOWN}, TextCase{{0xF7}, "'Right-Win'", ICON_KEY_UP},
        TextCase{{0x78}, "L-Button", ICON_BUTTON_DOWN}, TextCase{{0xFD}, "L&R Buttons", ICON_BUTTON_UP},
        TextCase{{0x7E}, "Scroll", ICON_WHEEL_DOWN}, TextCase{{0xFE}, "Scroll", ICON_WHEEL_UP},
        TextCase{{0x7F}, "NOP", ICON_OTHER}, TextCase{{0x81}, "<Pause>", ICON_OTHER},
        TextCase{{0xFF}, "Script Stop", ICON_OTHER},
        TextCase{{0x02, 0x00, 0x00}, "<Loop>: 1 Times", ICON_OTHER},
        TextCase{{0x02, 0xFF, 0x00}, "<Loop>: 256 Times", ICON_OTHER},
        TextCase{{0x03, 0x00, 0x00}, "Code=0", ICON_CONSUMER},
        TextCase{{0x03, 0xE9, 0x00}, "Volume Up", ICON_CONSUMER},
        TextCase{{0x03, 0x23, 0x02}, "Web Browser", ICON_CONSUMER},
        TextCase{{0x03, 0x34, 0x12}, "Code=4660", ICON_CONSUMER},
        TextCase{{0x80, 0xFF, 0xFF, 0x01, 0x00}, "(-1, 1)", ICON_MOVE},
        TextCase{{0x83, 0x00, 0x00, 0x80, 0x10, 0x00}, "Absoluted Move: (-32768, 16)", ICON_MOVE},
        TextCase{{0x83, 0x01, 0x81, 0x01, 0x00, 0x00}, "IF (('NumLock' lock) AND (L-BUTTON press))  GOTO 1", ICON_IF},
        TextCase{{0x83, 0x01, 0x47, 0x82, 0x00, 0x00},
                 "IF (('NumLock' unlock) OR ('CapsLock' unlock) OR ('ScrollLock' unlock) OR (R-BUTTON release) OR "
                 "(Button-8 release))  GOTO 1",
                 ICON_IF},
        TextCase{{0x83, 0x01, 0x00, 0x00, 0x00, 0x00}, "IF ()  GOTO 1", ICON_IF},
        TextCase{{0x83, 0x03, 0x02, 0x07, 0x00, 0x00}, "IF (A == 7)  GOTO 1", ICON_IF},
        TextCase{{0x83, 0x03, 0x23, 0xC8, 0x00, 0x00}, "IF (C != 200)  GOTO 1", ICON_IF},
        TextCase{{0x83, 0x03, 0x24, 0x01, 0x00, 0x00}, "IF ()  GOTO 1", ICON_IF},
        TextCase{{0x83, 0x04, 0x18, 0x05}, "SET C = A +5", ICON_SET},
        TextCase{{0x83, 0x04, 0x1B, 0x09}, "SET A = 9 - A", ICON_SET},
        TextCase{{0x83, 0x04, 0x2D, 0x00}, "SET B = A - B", ICON_SET},
        TextCase{{0x83, 0x04, 0x3E, 0x00}, "SET C = C - B", ICON_SET},
        TextCase{{0x83, 0x04, 0x00, 0xFF}, "SET A = 255", ICON_SET},
        TextCase{{0x83, 0x04, 0x3F, 0x01}, "SET ", ICON_SET},
        TextCase{{0x83, 0x02, 0x00, 0x00}, "GOTO 1", ICON_GOTO},
        TextCase{{0x83, 0x02, 0x04, 0x00}, "GOTO ??", ICON_GOTO},  // target = script length
        TextCase{{0x83, 0x05, 0x00, 0x00}, "CALL 1", ICON_CALL},
        TextCase{{0x83, 0x06}, "Return", ICON_RETURN},
        TextCase{{0x82, 0x00, 0x00}, "<Loop> End", ICON_OTHER},
        TextCase{{0x83, 0x80}, "Page UP", ICON_OTHER},
        TextCase{{0x83, 0x87, 0, 0, 0, 0}, "Open Window Explorer", ICON_OTHER},
        TextCase{{0x83, 0x93, 0, 0, 0, 0}, "Maxmize IE/Media Player", ICON_OTHER}));

TEST(InstructionLength, FollowsOpcodeAndSubCode) {
    struct Case {
        std::uint8_t op, sub;
        int length;
    };
    const Case cases[] = {{0x00, 0, 1},    {0x01, 0, 2},    {0x02, 0, 3},    {0x03, 0, 3},    {0x04, 0, 1},
                          {0x7F, 0, 1},    {0x80, 0, 5},    {0x81, 0, 1},    {0x82, 0, 3},    {0x84, 0, 1},
                          {0xFF, 0, 1},    {0x83, 0, 6},    {0x83, 1, 6},    {0x83, 2, 4},    {0x83, 3, 6},
                          {0x83, 4, 4},    {0x83, 5, 4},    {0x83, 6, 2},    {0x83, 7, 2},    {0x83, 0x7F, 2},
                          {0x83, 0x80, 2}, {0x83, 0x82, 4}, {0x83, 0x87, 6}, {0x83, 0x8C, 3}, {0x83, 0x93, 6},
                          {0x83, 0x94, 2}, {0x83, 0xFF, 2}};
    for (const Case& c : cases)
        EXPECT_EQ(InstructionLength(c.op, c.sub), c.length) << std::hex << int(c.op) << " " << int(c.sub);
    for (int i = 0; i < kCommandCount; ++i) {
        EXPECT_GE(kCommands[i].length, 2);
        EXPECT_LE(kCommands[i].length, 6);
    }
}

TEST(InstructionLength, AtTheEndOfABufferIsZeroWhenCutOff) {
    const std::uint8_t bytes[] = {0x80, 0x01, 0x02, 0x83};
    EXPECT_EQ(InstructionLengthAt(std::span(bytes, 3)), 0);
    EXPECT_EQ(InstructionLengthAt(std::span(bytes + 3, 1)), 0);  // 0x83 without its sub-code
    EXPECT_EQ(InstructionLengthAt({}), 0);
}

TEST(DelayText, MillisecondsUpToOneSecondThenTenthsOfSeconds) {
    const std::pair<int, const char*> cases[] = {{0, "0ms"},       {10, "250ms"},    {40, "1000ms"}, {41, "1.0sec"},
                                                 {42, "1.1sec"},   {78, "2.0sec"},   {200, "5.0sec"}, {255, "6.4sec"}};
    for (const auto& [units, text] : cases) EXPECT_EQ(DelayText(units), text) << units;
}

class ReplacedTexts : public ::testing::Test {
protected:
    void TearDown() override { ResetMacroTexts(); }
};

TEST_F(ReplacedTexts, LanguageTablesChangeTheLinesAndAreCutToCapacity) {
    EXPECT_TRUE(SetCommandName(0, "Bild auf"));
    EXPECT_TRUE(SetKeyName(0x04, "'Ä'"));
    SetUnitWords("s", "Millisekunden");  // longer than a unit word may be
    EXPECT_FALSE(SetCommandName(20, "x"));
    EXPECT_FALSE(SetKeyName(256, "x"));

    CSkinLVCmdList lines;
    const std::uint8_t script[] = {0x83, 0x80, 0x01, 0x04, 0x04, 0x01, 0x30};
    lines.Decode(script);
    ASSERT_EQ(lines.Count(), 2);
    EXPECT_EQ(lines.Line(0).text, "Bild auf");
    EXPECT_EQ(lines.RowOf(0).delay, "100Milliseku");
    EXPECT_EQ(lines.Line(1).text, "'Ä'");
    EXPECT_EQ(lines.RowOf(1).delay, "1.2s");

    const std::string longName(50, 'x');
    SetKeyName(0x05, "ä" + longName);
    EXPECT_EQ(KeyName(0x05), "ä" + std::string(34, 'x'));  // 35 characters, 36 bytes

    ResetMacroTexts();
    EXPECT_EQ(CommandName(0), "Page UP");
    EXPECT_EQ(KeyName(0x04), "'A'");
    EXPECT_EQ(MillisecondsWord(), "ms");
}

}  // namespace
}  // namespace pallix::macro

#include <gtest/gtest.h>

#include "macro/LineList.h"
#include "tests/macro/SampleScripts.h"

namespace pallix::macro {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes EncodeLineByLine(const CSkinLVCmdList& lines) {
    Bytes out;
    for (int i = 0; i < lines.Count(); ++i) {
        std::uint8_t buffer[kScriptCapacity];
        const int n = lines.EncodeLine(i, buffer);
        EXPECT_EQ(n, lines.Line(i).byteLength);
        out.insert(out.end(), buffer, buffer + n);
    }
    return out;
}

TEST(RoundTrip, EveryKindDecodesAndEncodesToTheSameBytes) {
    const Bytes script = test::EveryKindScript();
    ASSERT_EQ(script.size(), 256u);
    CSkinLVCmdList lines;
    lines.Decode(script);
    EXPECT_EQ(lines.UsedBytes(), 256);
    EXPECT_EQ(EncodeLineByLine(lines), script);
    EXPECT_EQ(lines.EncodeScript(), script);

    // Spot checks of what the editor shows for it.
    EXPECT_EQ(lines.RowOf(0).delay, "0ms");
    EXPECT_EQ(lines.Line(1).delayCount - 1, 255);
    EXPECT_EQ(lines.Line(2).delayCount - 1, 256);
    EXPECT_EQ(lines.Line(2).byteLength, 5);
    EXPECT_EQ(lines.RowOf(3).delay, "5.0sec");
    EXPECT_EQ(lines.Line(14).text, "IF (('NumLock' lock) AND (L-BUTTON press))  GOTO 24");
    EXPECT_EQ(lines.Line(15).text, "GOTO 1");
    EXPECT_EQ(lines.Line(16).text, "IF (A == 7)  GOTO 21");
    EXPECT_EQ(lines.Line(18).text, "CALL 21");

    // A second decode of the encoded lines gives the same lines again.
    CSkinLVCmdList again;
    again.Decode(lines.EncodeScript());
    ASSERT_EQ(again.Count(), lines.Count());
    for (int i = 0; i < lines.Count(); ++i) EXPECT_EQ(again.RowOf(i), lines.RowOf(i));
    EXPECT_EQ(again.Jumps(), lines.Jumps());
}

TEST(RoundTrip, DelaysOfEverySizeUpToTheMaximum) {
    for (int units : {0, 1, 40, 200, 254, 255, 256, 509, 510, 511}) {
        CSkinLVCmdList lines;
        lines.Append(0x04);
        for (int left = units; left > 0; left -= 255) lines.Append(OP_DELAY, std::min(left, 255));
        const Bytes script = lines.EncodeScript();
        EXPECT_EQ(static_cast<int>(script.size()), 1 + 2 * ((units + 254) / 255)) << units;
        CSkinLVCmdList decoded;
        decoded.Decode(script);
        ASSERT_EQ(decoded.Count(), 1);
        EXPECT_EQ(decoded.Line(0).delayCount, units + 1);
        EXPECT_EQ(decoded.EncodeScript(), script);
    }
}

TEST(RoundTrip, CommandsAndOperandsSurviveEditorBuiltScripts) {
    CSkinLVCmdList lines;
    for (int sub = SUB_FIRST_COMMAND; sub <= SUB_LAST_COMMAND; ++sub) ASSERT_GE(lines.AppendExtended(sub), 0);
    lines.Append(OP_RELATIVE_MOVE, -300, 300);
    lines.AppendExtended(SUB_ABSOLUTE_MOVE, 1920, -1);
    lines.Append(OP_CONSUMER_KEY, 0x223);
    lines.Append(OP_LOOP_START, 256);
    const Bytes script = lines.EncodeScript();
    CSkinLVCmdList decoded;
    decoded.Decode(script);
    EXPECT_EQ(decoded.Count(), lines.Count());
    EXPECT_EQ(decoded.EncodeScript(), script);
    EXPECT_EQ(decoded.Line(20).text, "(-300, 300)");
    EXPECT_EQ(decoded.Line(21).text, "Absoluted Move: (1920, -1)");
    EXPECT_EQ(decoded.Line(23).text, "<Loop>: 256 Times");
}

}  // namespace
}  // namespace pallix::macro

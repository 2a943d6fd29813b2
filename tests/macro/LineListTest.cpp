#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "macro/LineList.h"
#include "tests/macro/RecordingView.h"

namespace pallix::macro {
namespace {

using Bytes = std::vector<std::uint8_t>;
using test::RecordingView;

// The list control must always show exactly what the model holds.
void ExpectViewMatches(const CSkinLVCmdList& lines, const RecordingView& view) {
    ASSERT_EQ(static_cast<int>(view.rows.size()), lines.Count());
    const std::vector<int> selected = lines.SelectedLines();
    for (int i = 0; i < lines.Count(); ++i) {
        EXPECT_EQ(view.rows[i].texts, lines.RowOf(i)) << "row " << i;
        const bool isSelected = std::find(selected.begin(), selected.end(), i) != selected.end();
        EXPECT_EQ(view.rows[i].selected, isSelected) << "row " << i;
    }
}

int Sum(const CSkinLVCmdList& lines) {
    int sum = 0;
    for (int i = 0; i < lines.Count(); ++i) sum += lines.Line(i).byteLength;
    return sum;
}

struct EditCase {
    const char* name;
    Bytes script;
    std::function<void(CSkinLVCmdList&)> edit;
    Bytes expected;
    std::vector<std::string> texts;  // of the edited list, line by line
};

void PrintTo(const EditCase& c, std::ostream* out) { *out << c.name; }


std::function<void(CSkinLVCmdList&)> SelectThen(std::vector<int> rows, std::function<void(CSkinLVCmdList&)> op) {
    return [rows, op](CSkinLVCmdList& l) {
        l.SetSelection(rows);
        op(l);
    };
}

const auto kInsertCopy = [](CSkinLVCmdList& l) { EXPECT_GE(l.InsertExtended(0x82), 0); };
const auto kInsertPageUp = [](CSkinLVCmdList& l) { EXPECT_GE(l.InsertExtended(0x80), 0); };
const auto kInsertDelete = [](CSkinLVCmdList& l) { EXPECT_GE(l.InsertExtended(0x88), 0); };
const auto kDelete = [](CSkinLVCmdList& l) { l.DeleteSelected(); };
const auto kMoveUp = [](CSkinLVCmdList& l) { EXPECT_EQ(l.MoveUp(), 1); };
const auto kMoveDown = [](CSkinLVCmdList& l) { EXPECT_EQ(l.MoveDown(), 1); };

class JumpBookkeeping : public ::testing::TestWithParam<EditCase> {};

TEST_P(JumpBookkeeping, EditKeepsJumpsOnTheirLines) {
    const EditCase& c = GetParam();
    RecordingView view;
    CSkinLVCmdList lines(&view);
    lines.Decode(c.script);
    ASSERT_EQ(lines.EncodeScript(), c.script) << "decoding alone must not change the bytes";
    c.edit(lines);
    EXPECT_EQ(lines.EncodeScript(), c.expected);
    EXPECT_EQ(view.Instructions(), c.texts);
    EXPECT_EQ(lines.UsedBytes(), Sum(lines));
    ExpectViewMatches(lines, view);
    for (const JumpReference& ref : lines.Jumps()) {
        ASSERT_GE(ref.targetLine, 0);
        EXPECT_EQ(ref.targetOffset, lines.LineOffset(ref.targetLine));
        EXPECT_EQ(TargetOffsetOf(lines.Line(ref.sourceLine).instruction), ref.targetOffset);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Edits, JumpBookkeeping,
    ::testing::Values(
        EditCase{"InsertAboveTargetMovesTarget", {0x04, 0x05, 0x06, 0x07, 0x08, 0x83, 0x02, 0x04, 0x00},
                 SelectThen({1}, kInsertCopy),
                 {0x04, 0x83, 0x82, 0, 0, 0x05, 0x06, 0x07, 0x08, 0x83, 0x02, 0x08, 0x00},
                 {"'A'", "Copy", "'B'", "'C'", "'D'", "'E'", "GOTO 6"}},
        EditCase{"InsertBelowTargetKeepsIt", {0x04, 0x05, 0x83, 0x02, 0x01, 0x00, 0x06},
                 SelectThen({3}, kInsertPageUp),
                 {0x04, 0x05, 0x83, 0x02, 0x01, 0x00, 0x83, 0x80, 0x06},
                 {"'A'", "'B'", "GOTO 2", "Page UP", "'C'"}},
        EditCase{"InsertAboveTheJumpItself", {0x04, 0x05, 0x83, 0x02, 0x00, 0x00},
                 SelectThen({2}, kInsertPageUp),
                 {0x04, 0x05, 0x83, 0x80, 0x83, 0x02, 0x00, 0x00},
                 {"'A'", "'B'", "Page UP", "GOTO 1"}},
        EditCase{"LoopEndFollowsItsLoopStart", {0x02, 0x02, 0x00, 0x04, 0x82, 0x00, 0x00},
                 SelectThen({0}, kInsertDelete),
                 {0x83, 0x88, 0x02, 0x02, 0x00, 0x04, 0x82, 0x02, 0x00},
                 {"Delet", "<Loop>: 3 Times", "'A'", "<Loop> End"}},
        EditCase{"DeletedTargetBecomesLineOne", {0x04, 0x05, 0x06, 0x07, 0x08, 0x83, 0x02, 0x04, 0x00},
                 SelectThen({4}, kDelete),
                 {0x04, 0x05, 0x06, 0x07, 0x83, 0x02, 0x00, 0x00},
                 {"'A'", "'B'", "'C'", "'D'", "GOTO 1"}},
        EditCase{"DeletingLinesBeforeTheTarget", {0x04, 0x05, 0x06, 0x83, 0x02, 0x02, 0x00},
                 SelectThen({0, 1}, kDelete),
                 {0x06, 0x83, 0x02, 0x00, 0x00},
                 {"'C'", "GOTO 1"}},
        EditCase{"DeletingTheJumpDropsItsReference", {0x04, 0x83, 0x02, 0x00, 0x00, 0x05},
                 SelectThen({1}, kDelete), {0x04, 0x05}, {"'A'", "'B'"}},
        EditCase{"MovingTheTargetUpKeepsTheJumpOnIt", {0x04, 0x05, 0x06, 0x07, 0x08, 0x83, 0x02, 0x04, 0x00},
                 SelectThen({4}, kMoveUp),
                 {0x04, 0x05, 0x06, 0x08, 0x07, 0x83, 0x02, 0x03, 0x00},
                 {"'A'", "'B'", "'C'", "'E'", "'D'", "GOTO 4"}},
        EditCase{"MovingAShortLineBelowALongTarget", {0x04, 0x80, 0x01, 0x00, 0x02, 0x00, 0x83, 0x02, 0x01, 0x00},
                 SelectThen({0}, kMoveDown),
                 {0x80, 0x01, 0x00, 0x02, 0x00, 0x04, 0x83, 0x02, 0x00, 0x00},
                 {"(1, 2)", "'A'", "GOTO 1"}},
        EditCase{"MovingTheJumpCarriesItsReference", {0x04, 0x83, 0x02, 0x00, 0x00, 0x05},
                 SelectThen({1}, kMoveDown),
                 {0x04, 0x05, 0x83, 0x02, 0x00, 0x00},
                 {"'A'", "'B'", "GOTO 1"}},
        EditCase{"DelayBeforeTheTargetShiftsIt", {0x04, 0x05, 0x83, 0x02, 0x01, 0x00},
                 SelectThen({0}, [](CSkinLVCmdList& l) { EXPECT_EQ(l.SetDelay(250), 1); }),
                 {0x04, 0x01, 0x0A, 0x05, 0x83, 0x02, 0x03, 0x00},
                 {"'A'", "'B'", "GOTO 2"}},
        EditCase{"DelayOnTheTargetItselfKeepsIt", {0x04, 0x05, 0x83, 0x02, 0x01, 0x00},
                 SelectThen({1}, [](CSkinLVCmdList& l) { EXPECT_EQ(l.SetDelay(100), 1); }),
                 {0x04, 0x05, 0x01, 0x04, 0x83, 0x02, 0x01, 0x00},
                 {"'A'", "'B'", "GOTO 2"}},
        // Targets pointing into the bytes before their line stay on that line.
        EditCase{"MidLineTargetSurvivesAShorterLineBeforeIt", {0x04, 0x01, 0x64, 0x05, 0x83, 0x02, 0x01, 0x00},
                 SelectThen({0}, [](CSkinLVCmdList& l) { EXPECT_EQ(l.SetDelay(0), 1); }),
                 {0x04, 0x05, 0x83, 0x02, 0x01, 0x00},
                 {"'A'", "'B'", "GOTO 2"}},
        EditCase{"MidLineTargetSurvivesASwapBeforeIt",
                 {0x04, 0x80, 0x01, 0x00, 0x02, 0x00, 0x06, 0x83, 0x02, 0x03, 0x00},
                 SelectThen({0}, kMoveDown),
                 {0x80, 0x01, 0x00, 0x02, 0x00, 0x04, 0x06, 0x83, 0x02, 0x06, 0x00},
                 {"(1, 2)", "'A'", "'C'", "GOTO 3"}},
        EditCase{"TargetPastTheEndResolvesOnceALineStartsThere", {0x83, 0x02, 0x06, 0x00, 0x04},
                 SelectThen({1}, kInsertPageUp),
                 {0x83, 0x02, 0x06, 0x00, 0x83, 0x80, 0x04},
                 {"GOTO 3", "Page UP", "'A'"}},
        EditCase{"RemovingADelayShiftsTargetsBack", {0x04, 0x01, 0x0A, 0x05, 0x83, 0x02, 0x03, 0x00},
                 SelectThen({0}, [](CSkinLVCmdList& l) { EXPECT_EQ(l.SetDelay(0), 1); }),
                 {0x04, 0x05, 0x83, 0x02, 0x01, 0x00},
                 {"'A'", "'B'", "GOTO 2"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LineList, DelayWithoutALineIsDropped) {
    CSkinLVCmdList lines;
    EXPECT_EQ(lines.Append(OP_DELAY, 10), CSkinLVCmdList::kNotDone);
    EXPECT_EQ(lines.Append(0x04), 0);
    EXPECT_EQ(lines.Line(0).delayCount, 1);
    EXPECT_EQ(lines.EncodeScript(), Bytes{0x04});
}

TEST(LineList, DelaysMergeIntoTheLineBeforeThemInChunksOf255) {
    CSkinLVCmdList lines;
    lines.Append(0x04);
    lines.Append(OP_DELAY, 255);
    EXPECT_EQ(lines.EncodeScript(), (Bytes{0x04, 0x01, 0xFF}));
    lines.Append(OP_DELAY, 1);
    EXPECT_EQ(lines.Line(0).delayCount, 257);
    EXPECT_EQ(lines.Line(0).byteLength, 5);
    EXPECT_EQ(lines.EncodeScript(), (Bytes{0x04, 0x01, 0xFF, 0x01, 0x01}));
    EXPECT_EQ(lines.RowOf(0).delay, "6.4sec");
}

TEST(LineList, FullScriptRefusesMoreWithBufferFull) {
    RecordingView view;
    CSkinLVCmdList lines(&view);
    for (int i = 0; i < kScriptCapacity; ++i) ASSERT_EQ(lines.Append(0x04), i);
    EXPECT_EQ(lines.UsedBytes(), 256);
    EXPECT_EQ(lines.Append(0x04), CSkinLVCmdList::kBufferFull);
    EXPECT_EQ(lines.Append(OP_DELAY, 1), CSkinLVCmdList::kBufferFull);
    EXPECT_EQ(lines.AppendExtended(SUB_RETURN), CSkinLVCmdList::kBufferFull);
    lines.Select(3);
    EXPECT_EQ(lines.InsertExtended(0x80), CSkinLVCmdList::kBufferFull);
    EXPECT_EQ(lines.SetDelay(1000), 1);  // does not fit: silently nothing
    EXPECT_EQ(lines.Line(3).delayCount, 1);
    EXPECT_EQ(lines.Count(), 256);
    EXPECT_EQ(view.rows.size(), 256u);
    EXPECT_EQ(lines.EncodeScript().size(), 256u);
}

TEST(LineList, SetDelayRoundsUpToUnitsAndNeedsOneSelectedLine) {
    CSkinLVCmdList lines;
    lines.Append(0x04);
    lines.Append(0x05);
    EXPECT_EQ(lines.SetDelay(100), 0);  // nothing selected
    lines.SetSelection({0, 1});
    EXPECT_EQ(lines.SetDelay(100), 0);  // two selected
    lines.SetSelection({1});
    const std::pair<int, int> cases[] = {{0, 1}, {1, 2}, {25, 2}, {26, 3}, {5000, 201}, {9999, 201}, {-5, 1}};
    for (const auto& [ms, count] : cases) {
        EXPECT_EQ(lines.SetDelay(ms), 1);
        EXPECT_EQ(lines.Line(1).delayCount, count) << ms;
        EXPECT_EQ(lines.UsedBytes(), 2 + (count > 1 ? 2 : 0)) << ms;
    }
    EXPECT_EQ(lines.CurrentLine(), 1);
}

TEST(LineList, RefusedRowIsNotCounted) {
    RecordingView view;
    CSkinLVCmdList lines(&view);
    lines.Append(0x04);
    view.refuseInserts = true;
    EXPECT_EQ(lines.AppendExtended(SUB_GOTO, 0), CSkinLVCmdList::kNotDone);
    EXPECT_EQ(lines.Count(), 1);
    EXPECT_EQ(lines.UsedBytes(), 1);
    EXPECT_TRUE(lines.Jumps().empty());
}

TEST(LineList, ForwardJumpShowsQuestionMarksUntilDecodingEnds) {
    RecordingView view;
    CSkinLVCmdList lines(&view);
    const Bytes script = {0x83, 0x02, 0x05, 0x00, 0x04, 0x05};
    lines.Decode(script);
    EXPECT_EQ(view.insertedTexts.front(), "GOTO ??");
    EXPECT_EQ(view.rows[0].texts.instruction, "GOTO 3");
    ASSERT_EQ(lines.Jumps().size(), 1u);
    EXPECT_EQ(lines.Jumps()[0], (JumpReference{0, 2, 5}));
}

TEST(LineList, CallAndReturnDecodeWithTheirLengths) {
    CSkinLVCmdList lines;
    lines.Decode(Bytes{0x83, 0x05, 0x10, 0x00, 0x83, 0x06});
    ASSERT_EQ(lines.Count(), 2);
    EXPECT_EQ(lines.Line(0).byteLength, 4);
    EXPECT_EQ(lines.Line(0).text, "CALL ??");
    EXPECT_EQ(lines.Line(1).text, "Return");
    EXPECT_EQ(lines.LineOffset(1), 4);
}

TEST(LineList, TargetsOutsideTheSlotAreShownButNotTracked) {
    CSkinLVCmdList lines;
    const Bytes script = {0x04, 0x83, 0x02, 0x00, 0x01, 0x05};
    lines.Decode(script);
    EXPECT_EQ(lines.Line(1).text, "GOTO ??");
    EXPECT_TRUE(lines.Jumps().empty());
    EXPECT_EQ(lines.EncodeScript(), script);
}

TEST(LineList, LoopEndWithoutTargetFindsItsLoopStartPastNestedLoops) {
    CSkinLVCmdList lines;
    lines.Append(0x04);                                         // 0
    lines.Append(OP_LOOP_START, 2);                             // 1, offset 1
    lines.Append(OP_LOOP_START, 3);                             // 4
    lines.Append(OP_LOOP_END, CSkinLVCmdList::kFindLoopStart);  // inner
    EXPECT_EQ(TargetOffsetOf(lines.Line(3).instruction), 4);
    lines.Append(OP_LOOP_END, CSkinLVCmdList::kFindLoopStart);  // outer
    EXPECT_EQ(TargetOffsetOf(lines.Line(4).instruction), 1);
    CSkinLVCmdList lonely;
    lonely.Append(0x04);
    lonely.Append(OP_LOOP_END, CSkinLVCmdList::kFindLoopStart);
    EXPECT_EQ(TargetOffsetOf(lonely.Line(1).instruction), 4);  // the byte after it
    EXPECT_EQ(lonely.Jumps().at(0).targetLine, -1);
}

TEST(LineList, DecodedUnresolvedLoopEndPointsPastItself) {
    CSkinLVCmdList lines;
    lines.Decode(Bytes{0x04, 0x82, 0x40, 0x00, 0x05});
    EXPECT_EQ(lines.EncodeScript(), (Bytes{0x04, 0x82, 0x04, 0x00, 0x05}));
}

TEST(LineList, NonCanonicalDelaysKeepJumpsOnTheirInstructions) {
    CSkinLVCmdList lines;
    // Two delay chunks that merge into one, a leading delay that is dropped and an
    // unknown extended instruction: the Goto still lands on 'B'.
    lines.Decode(Bytes{0x01, 0x05, 0x04, 0x01, 0x64, 0x01, 0x64, 0x83, 0x7F, 0x05, 0x83, 0x02, 0x09, 0x00});
    ASSERT_EQ(lines.Count(), 3);
    EXPECT_EQ(lines.Line(0).delayCount, 201);
    EXPECT_EQ(lines.Line(0).byteLength, 3);
    EXPECT_EQ(lines.Line(2).text, "GOTO 2");
    EXPECT_EQ(lines.EncodeScript(), (Bytes{0x04, 0x01, 0xC8, 0x05, 0x83, 0x02, 0x03, 0x00}));
}

TEST(LineList, CutOffInstructionAtTheEndIsNotDecoded) {
    CSkinLVCmdList lines;
    lines.Decode(Bytes{0x04, 0x80, 0x01, 0x02});
    EXPECT_EQ(lines.Count(), 1);
    lines.Decode(Bytes{0x04, 0x83});
    EXPECT_EQ(lines.Count(), 1);
}

TEST(LineList, DeleteSelectsTheLineNowAtTheFirstDeletedIndex) {
    RecordingView view;
    CSkinLVCmdList lines(&view);
    lines.Decode(Bytes{0x04, 0x05, 0x06, 0x07});
    lines.SetSelection({1, 2});
    lines.DeleteSelected();
    EXPECT_EQ(view.Instructions(), (std::vector<std::string>{"'A'", "'D'"}));
    EXPECT_EQ(lines.SelectedIndex(), 1);
    EXPECT_EQ(lines.CurrentLine(), 1);
    EXPECT_EQ(view.scrolledTo, 1);
    EXPECT_EQ(view.rows[1].texts.number, "2");
    lines.DeleteSelected();  // the last line: its predecessor is selected
    EXPECT_EQ(lines.SelectedIndex(), 0);
    ExpectViewMatches(lines, view);
}

TEST(LineList, MoveNeedsOneSelectedLineWithANeighbour) {
    CSkinLVCmdList lines;
    lines.Decode(Bytes{0x04, 0x05});
    EXPECT_EQ(lines.MoveUp(), 0);
    lines.Select(0);
    EXPECT_EQ(lines.MoveUp(), 0);
    EXPECT_EQ(lines.MoveDown(), 1);
    EXPECT_EQ(lines.SelectedIndex(), 1);
    EXPECT_EQ(lines.MoveDown(), 0);
    lines.Select(0);
    EXPECT_EQ(lines.MoveDown(), 0);  // two selected
}

TEST(LineList, InsertNeedsExactlyOneSelectedLine) {
    CSkinLVCmdList lines;
    lines.Decode(Bytes{0x04, 0x05});
    EXPECT_EQ(lines.InsertExtended(0x80), CSkinLVCmdList::kNotDone);
    lines.Select(1);
    EXPECT_EQ(lines.InsertExtended(0x7F), CSkinLVCmdList::kNotDone);  // not an instruction
    EXPECT_EQ(lines.InsertExtended(0x80), 1);
    EXPECT_EQ(lines.SelectedIndex(), 2);  // the selection stays on its line
    EXPECT_EQ(lines.CurrentLine(), 2);    // and so does the current line
}

TEST(LineList, ClearKeepsCapacityAndDelayUnit) {
    RecordingView view;
    CSkinLVCmdList lines(&view);
    lines.SetCapacity(10);
    lines.Decode(Bytes{0x04, 0x83, 0x02, 0x00, 0x00});
    lines.Clear();
    EXPECT_EQ(lines.Count(), 0);
    EXPECT_EQ(lines.UsedBytes(), 0);
    EXPECT_TRUE(lines.Jumps().empty());
    EXPECT_TRUE(view.rows.empty());
    EXPECT_EQ(lines.Capacity(), 10);
    lines.SetCapacity(1000);
    EXPECT_EQ(lines.Capacity(), kScriptCapacity);
}

}  // namespace
}  // namespace pallix::macro

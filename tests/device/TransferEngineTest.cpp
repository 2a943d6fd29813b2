#include "device/TransferEngine.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "device/DefaultTables.h"
#include "device/Defaults.h"
#include "tests/device/Fixture.h"

namespace pallix::test {
namespace {

using namespace memmap;

class TransferTest : public ::testing::Test, public ScriptedFixture {
protected:
    CDefaultTables tables;
    CTransferEngine engine{memory, tables, [this](int ms) { sleeps.push_back(ms); }};

    // Loads a factory memory into the cache and the mouse.
    void LoadFactory(int model = kModel1801) {
        FillDefaultMemory(mouse->memory, model);
        mouse->memory[kSignatureAddressLow] = kSignatureLow;
        mouse->memory[kSignatureAddressHigh] = kSignatureHigh;
        for (int a = 0; a < kMemorySize; ++a) memory.StoreClean(a, mouse->memory[static_cast<std::size_t>(a)]);
        ClearLogs();
    }
    // Makes n profile-block bytes of profile 1 dirty (light bytes and button parameters).
    void DirtyBlockBytes(int n) {
        int made = 0;
        for (int offset : ProfileBlockDefaultOffsets()) {
            if (made == n) break;
            const int a = ProfileBlock(1) + offset;
            memory.SetCached(a, (memory.Entry(a).value + 1) & 0xFF);
            ++made;
        }
        ASSERT_EQ(made, n);
    }
    int RunSteps() {
        int steps = 0;
        while (engine.Step()) ++steps;
        return steps + 1;
    }
};

using Controls = std::vector<Report>;

TEST_F(TransferTest, ApplyWithNothingDirtySendsOnlyTheClosingReport) {
    LoadFactory();
    EXPECT_FALSE(engine.StartApply(1));
    EXPECT_EQ(mouse->Controls(), (Controls{{0, 0, 0}}));
    EXPECT_TRUE(mouse->WrittenAddresses().empty());
    EXPECT_EQ(sleeps, (std::vector<int>{100}));
}

TEST_F(TransferTest, NineteenAddressesAreWrittenAtOnceTwentyOnTheTimer) {
    LoadFactory();
    DirtyBlockBytes(19);
    EXPECT_FALSE(engine.StartApply(1));
    EXPECT_FALSE(engine.Stepped());
    EXPECT_EQ(mouse->WrittenAddresses().size(), 19u);
    EXPECT_EQ(mouse->Controls(), (Controls{{0, 0, 0}}));
    std::vector<int> pauses(19, 10);
    pauses.push_back(100);
    EXPECT_EQ(sleeps, pauses);
    EXPECT_TRUE(BuildApplyList(memory, 1).addresses.empty());

    for (bool quiet : {false, true}) {
        SCOPED_TRACE(quiet ? "quiet" : "loud");
        LoadFactory();
        engine.SetQuiet(quiet);
        DirtyBlockBytes(20);
        ASSERT_TRUE(engine.StartApply(1));
        EXPECT_EQ(engine.Count(), 20);
        EXPECT_EQ(engine.Position(), 0);
        EXPECT_TRUE(mouse->WrittenAddresses().empty());
        EXPECT_EQ(RunSteps(), 20);
        EXPECT_EQ(engine.Failure(), TransferFailure::kNone);
        EXPECT_EQ(mouse->WrittenAddresses(), engine.List().addresses);
        const Controls loud{{2, 0, 0}, {3, 3, 0}, {3, 0, 0}, {3, 1, 1}, {3, 0, 1}, {3, 1, 2}, {3, 3, 3}, {0, 0, 0}};
        const Controls silent{{2, 0, 0}, {0, 0, 0}};
        EXPECT_EQ(mouse->Controls(), quiet ? silent : loud);
        EXPECT_EQ(sleeps, (std::vector<int>{40, 100}));
        // The blink step follows the tenth write.
        const auto requests = mouse->Requests();
        if (!quiet) {
            EXPECT_EQ(requests[2 + 10], (Report{0, 0xC4, 3, 0, 0}));
        }
    }
}

TEST_F(TransferTest, RestoreOfEqualDefaultsIsEmptyAndModel1802WritesItsValues) {
    LoadFactory();
    EXPECT_TRUE(SetCacheToDefaults(memory, tables, 2).addresses.empty());
    EXPECT_FALSE(engine.StartRestore(2));
    EXPECT_EQ(mouse->Controls(), (Controls{{0, 0, 0}}));

    // A 0x1802 mouse holding the 0x1801 values: the tables follow the model after a load.
    LoadFactory(kModel1801);
    memory.SetModel(kModel1802);
    if (engine.StartLoad()) RunSteps();
    ASSERT_EQ(engine.Failure(), TransferFailure::kNone);
    ClearLogs();
    ASSERT_FALSE(engine.StartRestore(0));  // 9 bytes differ: written at once
    std::vector<int> values;
    for (const auto& r : mouse->Requests())
        if (r[1] == 0xDE) values.push_back(r[3]);
    EXPECT_EQ(values, (std::vector<int>{65, 4, 8, 12, 20, 4, 8, 12, 20}));
    EXPECT_EQ(mouse->WrittenAddresses().front(), ProfileBlock(0));
}

TEST_F(TransferTest, RestoreWithUnknownDirectoryRunsSteppedOverEveryDefault) {
    LoadFactory();
    for (int a = DirectoryEntry(3, 0); a < DirectoryEntry(3, 9); ++a) memory.Entry(a) = {};
    memory.SetCached(ProfileBlock(3) + 20, 0x60);
    ASSERT_TRUE(engine.StartRestore(3));
    EXPECT_EQ(engine.Count(), 37);
    EXPECT_EQ(engine.List().addresses.front(), ProfileBlock(3) + 20);
    RunSteps();
    EXPECT_EQ(mouse->Controls().back(), (Report{0, 0, 0}));
    EXPECT_EQ(mouse->memory[static_cast<std::size_t>(ProfileBlock(3) + 20)], 10);
    for (int a = DirectoryEntry(3, 0); a < DirectoryEntry(3, 9); ++a) EXPECT_EQ(memory.Entry(a).valid, 1);
}

TEST_F(TransferTest, MacroSlotWithCleanFirstByteIsLeftOut) {
    LoadFactory();
    const int slot0 = MacroSlot(1, 0), slot2 = MacroSlot(1, 2);
    memory.SetCached(slot0 + 3, 0x44);  // first byte clean: skipped
    memory.SetCached(slot2, 3);         // script of 3 bytes + 4
    for (int i = 1; i < 12; ++i) memory.SetCached(slot2 + i, 0x10 + i);
    const auto list = BuildApplyList(memory, 1);
    std::vector<int> expected;
    for (int i = 0; i < 7; ++i) expected.push_back(slot2 + i);
    EXPECT_EQ(list.addresses, expected);

    // A first byte of 255 never reaches into the next slot.
    memory.SetCached(slot0, 255);
    memory.SetCached(MacroSlot(1, 1) + 1, 0x55);
    const auto longer = BuildApplyList(memory, 1).addresses;
    EXPECT_EQ(longer.front(), slot0);
    EXPECT_EQ(std::count(longer.begin(), longer.end(), MacroSlot(1, 1) + 1), 0);
}

TEST_F(TransferTest, FailingImmediateWriteStopsSilentlyAndStaysDirty) {
    LoadFactory();
    DirtyBlockBytes(5);
    // The third write fails all 20 attempts.
    const auto list = BuildApplyList(memory, 1).addresses;
    mouse->onSet = [&, third = list[2]](const Report& r) { return r[1] != 0xDE || (r[2] | r[4] << 8) != third; };
    EXPECT_FALSE(engine.StartApply(1));
    EXPECT_TRUE(engine.Incomplete());
    EXPECT_EQ(engine.Failure(), TransferFailure::kNone);
    EXPECT_EQ(mouse->Controls(), (Controls{{0, 0, 0}}));
    EXPECT_EQ(BuildApplyList(memory, 1).addresses, (std::vector<int>{list[2], list[3], list[4]}));

    mouse->onSet = nullptr;
    EXPECT_FALSE(engine.StartApply(1));
    EXPECT_FALSE(engine.Incomplete());
    EXPECT_TRUE(BuildApplyList(memory, 1).addresses.empty());
}

TEST_F(TransferTest, FailingSteppedWriteEndsWithEndAndClosingReports) {
    LoadFactory();
    DirtyBlockBytes(25);
    const auto list = BuildApplyList(memory, 1).addresses;
    mouse->onSet = [&, bad = list[12]](const Report& r) { return r[1] != 0xDE || (r[2] | r[4] << 8) != bad; };
    ASSERT_TRUE(engine.StartApply(1));
    EXPECT_EQ(RunSteps(), 13);
    EXPECT_EQ(engine.Failure(), TransferFailure::kSaveConfigure);
    EXPECT_EQ(MessageNumberOf(engine.Failure()), 6);
    const auto controls = mouse->Controls();
    EXPECT_EQ(controls[controls.size() - 2], (Report{3, 3, 3}));
    EXPECT_EQ(controls.back(), (Report{0, 0, 0}));
    EXPECT_EQ(BuildApplyList(memory, 1).addresses, std::vector<int>(list.begin() + 12, list.end()));
}

TEST_F(TransferTest, LoadFramesItsReadsAndFailsWithMessageFive) {
    FillDefaultMemory(mouse->memory, kModel1801);
    ASSERT_TRUE(engine.StartLoad());
    EXPECT_EQ(engine.Position(), 1);  // the first byte at once
    RunSteps();
    EXPECT_EQ(engine.Failure(), TransferFailure::kNone);
    const auto controls = mouse->Controls();
    EXPECT_EQ(controls.front(), (Report{2, 0, 0}));
    EXPECT_EQ(controls[1], (Report{3, 3, 0}));
    EXPECT_EQ(controls.back(), (Report{3, 3, 3}));
    EXPECT_EQ(controls.size(), 3u + 2 * 26);
    EXPECT_EQ(mouse->Count(Exchange::kGet), kLoadListSize);
    EXPECT_EQ(memory.Entry(kProfileByteAddress).value, 0x50);
    EXPECT_EQ(memory.Entry(ProfileBlock(4) + 54).valid, 1);
    EXPECT_EQ(memory.Entry(ProfileBlock(4) + 55).valid, 0);

    ClearLogs();
    mouse->failGets = 20;
    EXPECT_FALSE(engine.StartLoad());
    EXPECT_EQ(engine.Failure(), TransferFailure::kLoad);
    EXPECT_EQ(mouse->Controls(), (Controls{{2, 0, 0}, {3, 3, 0}, {3, 3, 3}}));
}

TEST_F(TransferTest, MacroStoreWritesDirectoryAtOnceAndScriptAsMacroList) {
    LoadFactory();
    std::vector<std::uint8_t> script(30);
    for (std::size_t i = 0; i < script.size(); ++i) script[i] = static_cast<std::uint8_t>(0x40 + i);
    const int dir = DirectoryEntry(2, 4), slot = MacroSlot(2, 4);
    ASSERT_TRUE(engine.StartMacroStore(2, 4, script, 5));
    RunSteps();
    EXPECT_EQ(engine.Failure(), TransferFailure::kNone);
    EXPECT_EQ(mouse->Controls(), (Controls{{2, 0, 0}, {2, 0, 0}, {3, 3, 3}}));
    auto written = mouse->WrittenAddresses();
    ASSERT_EQ(written.size(), 33u);
    EXPECT_EQ(std::vector<int>(written.begin(), written.begin() + 3), (std::vector<int>{dir, dir + 1, dir + 3}));
    EXPECT_EQ(written[3], slot);
    EXPECT_EQ(mouse->memory[static_cast<std::size_t>(dir)], 30);
    EXPECT_EQ(mouse->memory[static_cast<std::size_t>(dir + 1)], 2);
    EXPECT_EQ(mouse->memory[static_cast<std::size_t>(dir + 3)], 5);
    EXPECT_EQ(mouse->memory[static_cast<std::size_t>(slot + 29)], 0x40 + 29);
    EXPECT_EQ(std::vector<int>(sleeps.begin(), sleeps.begin() + 5), (std::vector<int>{40, 10, 10, 10, 40}));

    // Storing it again changes nothing: no script byte is dirty, the directory is clean.
    ClearLogs();
    engine.SetQuiet(true);
    EXPECT_FALSE(engine.StartMacroStore(2, 4, script, 5));
    EXPECT_EQ(mouse->Controls(), (Controls{{2, 0, 0}}));
    EXPECT_TRUE(mouse->WrittenAddresses().empty());

    // A 256-byte script puts the length's ninth bit into the high nibble of byte 3.
    ClearLogs();
    std::vector<std::uint8_t> full(256, 0x21);
    ASSERT_TRUE(engine.StartMacroStore(0, 7, full, 12));
    RunSteps();
    EXPECT_EQ(mouse->memory[static_cast<std::size_t>(DirectoryEntry(0, 7))], 0);
    EXPECT_EQ(mouse->memory[static_cast<std::size_t>(DirectoryEntry(0, 7) + 3)], 0x1C);
    EXPECT_FALSE(engine.StartMacroStore(0, 7, std::vector<std::uint8_t>(257), 5));
    EXPECT_EQ(engine.Failure(), TransferFailure::kSaveScript);
}

TEST_F(TransferTest, AbortSendsTheEndReport) {
    LoadFactory();
    DirtyBlockBytes(30);
    ASSERT_TRUE(engine.StartApply(1));
    engine.Step();
    ClearLogs();
    engine.Abort();
    EXPECT_FALSE(engine.Running());
    EXPECT_FALSE(engine.Step());
    EXPECT_EQ(mouse->Controls(), (Controls{{3, 3, 3}}));
}

}  // namespace
}  // namespace pallix::test

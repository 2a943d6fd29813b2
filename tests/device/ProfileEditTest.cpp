#include <gtest/gtest.h>

#include "device/ButtonAssignment.h"
#include "device/DefaultTables.h"
#include "device/DpiScale.h"
#include "device/FunctionTable.h"
#include "device/Lighting.h"
#include "tests/device/Fixture.h"

namespace pallix::test {
namespace {

using namespace memmap;

class ProfileEditTest : public ::testing::Test, public ScriptedFixture {
protected:
    void SetFunction(int profile, int button, int index) {
        const ButtonFunction& f = kStandardFunctions[static_cast<std::size_t>(index)].function;
        Known(ButtonTypeAddress(profile, button), f.type);
        for (int k = 0; k < 4; ++k) Known(ButtonParamAddress(profile, button, k), f.params[static_cast<std::size_t>(k)]);
    }
    void FactoryButtons(int profile) {
        for (int b = 0; b < kButtonCount; ++b) SetFunction(profile, b, kFactoryFunctions[static_cast<std::size_t>(b)]);
    }
};

TEST_F(ProfileEditTest, IdentificationAndFactoryFunctions) {
    struct Case {
        ButtonFunction f;
        int index;
    };
    for (const Case& c : {Case{{1, {16, 9, 9, 9}}, kFnForward}, Case{{1, {32, 0, 0, 0}}, -1},
                          Case{{4, {1, 2, 6, 2}}, kFnDoubleClick}, Case{{4, {1, 2, 6, 3}}, -1},
                          Case{{2, {1, 2, 6, 2}}, -1}, Case{{6, {7, 7, 7, 7}}, kFnMacroKey},
                          Case{{15, {1, 0, 0, 0}}, kFnLaunch}, Case{{96, {}}, kFnButtonOff}, Case{{3, {}}, -1}})
        EXPECT_EQ(IdentifyFunction(c.f), c.index) << int(c.f.type) << "/" << int(c.f.params[0]);

    for (int b = 0; b < kButtonCount; ++b) {
        const auto& own = kStandardFunctions[static_cast<std::size_t>(kFactoryFunctions[static_cast<std::size_t>(b)])];
        EXPECT_TRUE(IsFactoryFunction(own.function, b)) << b;
        EXPECT_FALSE(IsFactoryFunction(own.function, (b + 1) % kButtonCount)) << b;
    }
    EXPECT_TRUE(IsFactoryFunction({1, {128, 0, 0, 0}}, 7));  // a mask bit beyond the table
    EXPECT_FALSE(IsFactoryFunction({1, {3, 0, 0, 0}}, 0));
    EXPECT_EQ(FindFunctionByName("sensitivity-up"), kFnSensitivityUp);
    EXPECT_EQ(FindFunctionByName("CLICKS"), -1);
}

TEST_F(ProfileEditTest, LeftClickRule) {
    FactoryButtons(1);
    EXPECT_EQ(AssignStandardFunction(memory, 1, 0, kFnRightButton), AssignResult::kLeftClickRule);
    EXPECT_FALSE(memory.Entry(ButtonParamAddress(1, 0, 0)).dirty);
    EXPECT_EQ(AssignStandardFunction(memory, 1, 0, kFnClick), AssignResult::kClean);

    EXPECT_EQ(AssignStandardFunction(memory, 1, 3, kFnClick), AssignResult::kDirty);
    EXPECT_EQ(AssignStandardFunction(memory, 1, 0, kFnRightButton), AssignResult::kDirty);
    EXPECT_EQ(CachedButtonFunction(memory, 1, 0), kStandardFunctions[kFnRightButton].function);
    // Button 3 is now the only CLICK.
    EXPECT_EQ(AssignStandardFunction(memory, 1, 3, kFnDoubleClick), AssignResult::kLeftClickRule);
    EXPECT_EQ(AssignStandardFunction(memory, 1, 3, 11), AssignResult::kBadArgument);
    EXPECT_TRUE(mouse->log.empty());  // nothing reaches the mouse before apply
}

TEST_F(ProfileEditTest, RemovingAMacroClearsTheDirectoryAtOnce) {
    FactoryButtons(0);
    SetFunction(0, 7, kFnMacroKey);
    for (int i = 0; i < 4; ++i) Known(DirectoryEntry(0, 7) + i, i == 1 ? 2 : 9);
    ASSERT_EQ(RemoveMacro(memory, 0, 7), 1);
    EXPECT_EQ(mouse->WrittenAddresses(), (std::vector<int>{DirectoryEntry(0, 7), DirectoryEntry(0, 7) + 1,
                                                           DirectoryEntry(0, 7) + 2, DirectoryEntry(0, 7) + 3}));
    // Button 7 keeps MACRO KEY (clean: it already had it).
    EXPECT_EQ(CachedButtonFunction(memory, 0, 7), kStandardFunctions[kFnMacroKey].function);

    SetFunction(0, 0, kFnMacroKey);
    SetFunction(0, 2, kFnClick);
    ClearLogs();
    ASSERT_EQ(RemoveMacro(memory, 0, 2), 0);  // button 2 would lose the last CLICK
    EXPECT_TRUE(mouse->log.empty());
    ASSERT_EQ(RemoveMacro(memory, 0, 0), 1);
    EXPECT_TRUE(IsClick(CachedButtonFunction(memory, 0, 0)));
}

TEST_F(ProfileEditTest, ProfileChangeKeepsTheUpperBitsAndTellsTheMouse) {
    Known(kProfileByteAddress, 0x58);
    ASSERT_EQ(SelectProfile(memory, 3), 1);
    EXPECT_EQ(mouse->memory[kProfileByteAddress], 0x5B);
    EXPECT_EQ(mouse->Controls(), (std::vector<Report>{{7, 3, 0}}));
    ClearLogs();
    EXPECT_EQ(SelectProfile(memory, 5), 0);
    Known(kProfileByteAddress, 0x30);
    EXPECT_EQ(SelectProfile(memory, 3), 0);  // the mouse has three profiles
    EXPECT_TRUE(mouse->log.empty());

    EXPECT_EQ(SetCurrentProfileCached(memory, 2), 1);
    EXPECT_EQ(memory.Entry(kProfileByteAddress).value, 0x32);
    EXPECT_EQ(memory.Entry(kProfileByteAddress).dirty, 1);
}

TEST_F(ProfileEditTest, MacroModeKeepsTheLengthNibble) {
    const int entry = DirectoryEntry(4, 1);
    Known(entry + 3, 0x15);
    Known(entry + 2, 0);
    ASSERT_EQ(WriteMacroMode(memory, 4, 1, kMacroModeCount, 6), 1);
    EXPECT_EQ(mouse->memory[static_cast<std::size_t>(entry + 3)], 0x1C);
    EXPECT_EQ(mouse->memory[static_cast<std::size_t>(entry + 2)], 6);
    ClearLogs();
    ASSERT_EQ(WriteMacroMode(memory, 4, 1, kMacroModeOnce, 9), 1);
    EXPECT_EQ(mouse->WrittenAddresses(), (std::vector<int>{entry + 3}));
}

TEST(DefaultTablesTest, ModelColumnFollowsTheRewrite) {
    CDefaultTables tables;
    auto valueAt = [&](int offset) {
        for (const auto& [a, v] : tables.ProfileBlock(4))
            if (a == ProfileBlock(4) + offset) return int(v);
        return -1;
    };
    EXPECT_EQ(valueAt(0), 64);
    EXPECT_EQ(tables.DeviceWide()[0].value, 0x50);
    tables.RewriteForModel(kModel1802);
    EXPECT_EQ(valueAt(0), 65);
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(valueAt(1 + k), (std::array{4, 8, 12, 20}[static_cast<std::size_t>(k)]));
        EXPECT_EQ(valueAt(5 + k), valueAt(1 + k));
    }
    EXPECT_EQ(valueAt(9), 39);
    EXPECT_EQ(valueAt(12), 23);
    EXPECT_EQ(valueAt(21), 96);
    EXPECT_EQ(valueAt(13), -1);
    EXPECT_EQ(tables.DeviceWide()[0].value, 0x70);
    EXPECT_EQ(tables.DeviceWide()[1].value, 0x50);
    EXPECT_EQ(tables.ProfileBlock(4).size(), 53u);
    EXPECT_EQ(tables.Directory(4).size(), 36u);
    EXPECT_TRUE(tables.ProfileBlock(5).empty());
}

TEST(EncodingTest, SensitivityStepsOfBothModels) {
    const DpiScale old = DpiScale::ForModel(kModel1801), red = DpiScale::ForModel(kModel1802);
    EXPECT_EQ(old.StepToDpi(old.ByteToStep(63)), 5700);
    EXPECT_EQ(old.StepToByte(old.DpiToStep(5000)), 56);
    EXPECT_EQ(old.StepToByte(old.DpiToStep(150)), 1);
    EXPECT_EQ(red.StepToDpi(red.ByteToStep(56)), 4000);
    EXPECT_EQ(red.StepToByte(red.DpiToStep(1200)), 12);
    EXPECT_EQ(red.DpiToStep(4500), 40);
}

TEST(EncodingTest, LightingBytes) {
    EXPECT_EQ(LightStateOf(33, 0), LightState::kLit);   // state 10 on the first byte
    EXPECT_EQ(LightStateOf(0x21, 2), LightState::kDark);
    EXPECT_EQ(LightStateOf(0x31, 1), LightState::kBattle);
    EXPECT_STREQ(LightColourName(37, kModel1801), "Purple");
    EXPECT_STREQ(LightColourName(0x16, kModel1802), nullptr);
    EXPECT_EQ(LightColourCode("cyan"), 6);
    EXPECT_EQ(LitByte(0, 4), 0x24);
    EXPECT_EQ(LitByte(3, 4), 0x14);
    EXPECT_EQ(DarkByte(0xF5), 0xC5);
    EXPECT_FALSE(ModelHasColour(kModel1802, 4));
}

}  // namespace
}  // namespace pallix::test

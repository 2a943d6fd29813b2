#include "common/PointerProfile.h"

#include <gtest/gtest.h>

#include "common/SettingNames.h"
#include "platform/SqliteSettingsStore.h"
#include "tests/settings/RecordingPointerSettings.h"
#include "tests/support/TempEnv.h"

namespace pallix {
namespace {

class PointerProfileTest : public ::testing::Test {
protected:
    test::TempEnv env;
    SqliteSettingsStore store;
    test::RecordingPointerSettings pointer;

    void Store(int profile, std::uint32_t speed, std::uint32_t doubleClick, std::uint32_t wheel) {
        ASSERT_EQ(store.WriteDword(MotionSpeedValueName(profile), speed), 1);
        ASSERT_EQ(store.WriteDword(DoubleClickSpeedValueName(profile), doubleClick), 1);
        ASSERT_EQ(store.WriteDword(WheelScrollLinesValueName(profile), wheel), 1);
    }
};

TEST_F(PointerProfileTest, SavingWritesTheDesktopValuesUnderTheNextProfileNumber) {
    pointer.speed = 14;
    pointer.doubleClick = 650;
    pointer.wheel = 5;
    EXPECT_EQ(SavePointerProfile(store, pointer, 2), 1);
    EXPECT_EQ(store.ReadDword("PF3 Motion Speed"), 14u);
    EXPECT_EQ(store.ReadDword("PF3 Double-Click_speed"), 650u);
    EXPECT_EQ(store.ReadDword("PF3 Wheel Scroll Lines"), 5u);
    EXPECT_EQ(store.ReadDword("PF2 Motion Speed"), kDwordMissing);
}

TEST_F(PointerProfileTest, OnePageIsSavedAsTenAndComesBackAsTenLines) {
    pointer.speed = 10;
    pointer.doubleClick = 500;
    pointer.wheel = kWheelOnePage;
    ASSERT_EQ(SavePointerProfile(store, pointer, 0), 1);
    EXPECT_EQ(store.ReadDword("PF1 Wheel Scroll Lines"), 10u);
    ApplyPointerProfile(store, pointer, 0);
    EXPECT_EQ(pointer.setWheels, std::vector<int>{10});
}

TEST_F(PointerProfileTest, WhatTheDesktopCannotTellIsLeftAsStored) {
    Store(1, 7, 300, 2);
    pointer.speed = 12;  // double-click and wheel unknown
    EXPECT_EQ(SavePointerProfile(store, pointer, 1), 0);
    EXPECT_EQ(store.ReadDword("PF2 Motion Speed"), 12u);
    EXPECT_EQ(store.ReadDword("PF2 Double-Click_speed"), 300u);
    EXPECT_EQ(store.ReadDword("PF2 Wheel Scroll Lines"), 2u);
}

TEST_F(PointerProfileTest, ApplyingUsesDefaultsAndThePageRule) {
    struct Case {
        std::uint32_t speed, doubleClick, wheel;
        PointerValues expected;
    };
    const Case cases[] = {
        {0, 0, 0, {10, 500, 3}},
        {kDwordMissing, kDwordMissing, kDwordMissing, {10, 500, 3}},
        {1, 200, 1, {1, 200, 1}},
        {20, 900, 10, {20, 900, 10}},
        {15, 700, 11, {15, 700, kWheelOnePage}},
        {99, 60000, 100, {20, 5000, kWheelOnePage}},
    };
    for (const Case& c : cases) {
        Store(4, c.speed, c.doubleClick, c.wheel);
        EXPECT_EQ(LoadPointerProfile(store, 4), c.expected) << c.speed << " " << c.doubleClick << " " << c.wheel;
    }
}

TEST_F(PointerProfileTest, ApplyingReportsEachSetting) {
    Store(3, 12, 450, 4);
    pointer.result = PointerResult::OwnWindowsOnly;
    const PointerOutcome o = ApplyPointerProfile(store, pointer, 3);
    EXPECT_EQ(pointer.setSpeeds, std::vector<int>{12});
    EXPECT_EQ(pointer.setDoubleClicks, std::vector<int>{450});
    EXPECT_EQ(pointer.setWheels, std::vector<int>{4});
    EXPECT_EQ(o.speed, PointerResult::OwnWindowsOnly);
    EXPECT_EQ(o.wheel, PointerResult::OwnWindowsOnly);
}

TEST_F(PointerProfileTest, AMissingStoreAppliesDefaults) {
    ApplyPointerProfile(store, pointer, 0);
    EXPECT_EQ(pointer.setSpeeds, std::vector<int>{10});
    EXPECT_EQ(pointer.setDoubleClicks, std::vector<int>{500});
    EXPECT_EQ(pointer.setWheels, std::vector<int>{3});
}

TEST_F(PointerProfileTest, AnInvalidProfileTouchesNothing) {
    pointer.speed = 10;
    pointer.doubleClick = 500;
    pointer.wheel = 3;
    EXPECT_EQ(SavePointerProfile(store, pointer, 5), 0);
    EXPECT_EQ(ApplyPointerProfile(store, pointer, -1).speed, PointerResult::Failed);
    EXPECT_TRUE(pointer.setSpeeds.empty());
    EXPECT_TRUE(store.List()->empty());
}

}  // namespace
}  // namespace pallix

#include "common/SettingNames.h"

#include <set>
#include <string>

#include <gtest/gtest.h>

#include "common/Messages.h"
#include "device/MemoryMap.h"

namespace pallix {
namespace {

static_assert(kProfileCount == memmap::kProfileCount);

TEST(SettingNamesTest, ButtonTablesCountProfilesFromZeroAndButtonsFromOne) {
    EXPECT_EQ(AppPathValueName(0, 0), "PF0T1 AP");
    EXPECT_EQ(AppPathValueName(4, 8), "PF4T9 AP");
    EXPECT_EQ(AppNameValueName(2, 3), "PF2T4 AP Name");
    EXPECT_EQ(MacroNameValueName(4, 8), "PF4T9 Macro Name");
}

TEST(SettingNamesTest, PointerTablesCountProfilesFromOne) {
    EXPECT_EQ(MotionSpeedValueName(0), "PF1 Motion Speed");
    EXPECT_EQ(DoubleClickSpeedValueName(4), "PF5 Double-Click_speed");
    EXPECT_EQ(WheelScrollLinesValueName(2), "PF3 Wheel Scroll Lines");
}

TEST(SettingNamesTest, OutOfRangeGivesNoName) {
    for (auto [p, k] : {std::pair{-1, 0}, {5, 0}, {0, -1}, {0, 9}})
        EXPECT_TRUE(AppPathValueName(p, k).empty()) << p << "," << k;
    for (int p : {-1, 5}) {
        EXPECT_TRUE(MotionSpeedValueName(p).empty());
        EXPECT_TRUE(WheelScrollLinesValueName(p).empty());
    }
}

TEST(SettingNamesTest, AllNamesAreDistinctAndTyped) {
    std::set<std::string> names;
    for (int p = 0; p < kProfileCount; ++p) {
        for (int k = 0; k < kButtonValueCount; ++k)
            for (auto n : {AppPathValueName(p, k), AppNameValueName(p, k), MacroNameValueName(p, k)}) {
                names.insert(std::string(n));
                EXPECT_EQ(KnownValueType(n), ValueType::String) << n;
            }
        for (auto n : {MotionSpeedValueName(p), DoubleClickSpeedValueName(p), WheelScrollLinesValueName(p)}) {
            names.insert(std::string(n));
            EXPECT_EQ(KnownValueType(n), ValueType::Dword) << n;
        }
    }
    EXPECT_EQ(names.size(), 3u * 45u + 15u);
    EXPECT_EQ(KnownValueType(kPathValue), ValueType::String);
    EXPECT_EQ(KnownValueType(kLocateAppValue), ValueType::String);
    EXPECT_EQ(KnownValueType(kDisableOsdValue), ValueType::Dword);
    EXPECT_EQ(KnownValueType(kOsdHandle), ValueType::Dword);
    EXPECT_EQ(KnownValueType("PF5T1 AP"), std::nullopt);
    EXPECT_EQ(KnownValueType("PF0 Motion Speed"), std::nullopt);
}

}  // namespace
}  // namespace pallix

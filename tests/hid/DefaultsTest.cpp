// The default tables against the values listed for the product, and the address map.
#include <gtest/gtest.h>

#include "device/Defaults.h"
#include "device/MemoryMap.h"

namespace pallix {
namespace {

std::vector<int> Values(const std::vector<AddressValue>& t) {
    std::vector<int> v;
    for (const auto& p : t) v.push_back(p.value);
    return v;
}

TEST(DefaultsTest, ProfileBlocksOfBothModels) {
    const std::vector<int> buttons = {1, 1, 1, 1, 1, 9, 10, 96, 1, 0, 0, 0, 2, 0, 0, 0, 4, 0, 0, 0, 8, 0, 0, 0,
                                      16, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    auto expected = [&](std::vector<int> head) {
        head.insert(head.end(), buttons.begin(), buttons.end());
        return head;
    };
    EXPECT_EQ(Values(ProfileBlockDefaults(0, 0x1801)),
              expected({64, 9, 18, 36, 56, 9, 18, 36, 56, 33, 17, 17, 17}));
    EXPECT_EQ(Values(ProfileBlockDefaults(2, 0x1802)),
              expected({65, 4, 8, 12, 20, 4, 8, 12, 20, 38, 22, 22, 22}));
    EXPECT_EQ(Values(ProfileBlockDefaults(4, 0x1234)),  // unknown models get the 0x1801 column
              expected({64, 9, 18, 36, 56, 9, 18, 36, 56, 39, 23, 23, 23}));

    const auto block = ProfileBlockDefaults(3, 0x1802);
    ASSERT_EQ(block.size(), 53u);
    EXPECT_EQ(block[0].address, 256 + 64 * 3);
    EXPECT_EQ(block[12].address, 256 + 64 * 3 + 12);
    EXPECT_EQ(block[13].address, 256 + 64 * 3 + 14);  // 13 is skipped
    EXPECT_EQ(block[21].address, 256 + 64 * 3 + 23);  // 22 is skipped
    EXPECT_EQ(block[52].address, 256 + 64 * 3 + 54);
    EXPECT_TRUE(ProfileBlockDefaults(5, 0x1802).empty());
}

TEST(DefaultsTest, DeviceWideAndDirectory) {
    EXPECT_EQ(DeviceWideDefaults(0x1801), (std::vector<AddressValue>{{129, 80}, {140, 80}}));
    EXPECT_EQ(DeviceWideDefaults(0x1802), (std::vector<AddressValue>{{129, 112}, {140, 80}}));
    const auto dir = DirectoryDefaults(1);
    ASSERT_EQ(dir.size(), 36u);
    EXPECT_EQ(dir.front().address, 576 + 36);
    EXPECT_EQ(dir.back().address, 576 + 36 + 35);
    EXPECT_EQ(Values(dir), std::vector<int>(36, 0));
}

TEST(DefaultsTest, AddressMap) {
    using namespace memmap;
    EXPECT_EQ(ButtonTypeAddress(1, 7), 256 + 64 + 14 + 7);
    EXPECT_EQ(ButtonParamAddress(4, 7, 3), 256 + 256 + 23 + 28 + 3);
    EXPECT_EQ(DirectoryEntry(4, 8), 576 + 144 + 32);
    EXPECT_EQ(MacroSlot(4, 8), 768 + 2304 * 4 + 256 * 8);
    EXPECT_EQ(ProfileCountOf(0x52), 5);
    EXPECT_EQ(CurrentProfileOf(0x5A), 2);  // bit 3 is not part of the profile
}

TEST(DefaultsTest, FilledMemoryHoldsEveryTableAndZeroElsewhere) {
    std::vector<std::uint8_t> memory(memmap::kMemorySize, 0xEE);
    FillDefaultMemory(memory, 0x1802);
    EXPECT_EQ(memory[129], 112);
    EXPECT_EQ(memory[140], 80);
    EXPECT_EQ(memory[memmap::ButtonTypeAddress(4, 7)], 96);
    EXPECT_EQ(memory[memmap::ProfileBlock(1) + 13], 0);
    EXPECT_EQ(memory[memmap::MacroSlot(0, 0)], 0);
    EXPECT_EQ(memory[memmap::kMemorySize - 1], 0);
}

}  // namespace
}  // namespace pallix

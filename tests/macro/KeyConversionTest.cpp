#include <gtest/gtest.h>

#include <set>

#include "macro/KeyConversion.h"

namespace pallix::macro {
namespace {

TEST(KeyConversion, FixedTable) {
    const std::pair<std::uint32_t, int> cases[] = {
        {'A', 0x04},          {'Z', 0x1D},          {'1', 0x1E},         {'9', 0x26},        {'0', 0x27},
        {VK_RETURN, 0x28},    {VK_SPACE, 0x2C},     {VK_OEM_MINUS, 0x2D}, {VK_OEM_5, 0x31},  {VK_OEM_1, 0x33},
        {VK_OEM_3, 0x35},     {VK_OEM_2, 0x38},     {VK_CAPITAL, 0x39},  {VK_F1, 0x3A},      {VK_F12, 0x45},
        {VK_SNAPSHOT, 0x46},  {VK_NEXT, 0x4E},      {VK_RIGHT, 0x4F},    {VK_UP, 0x52},      {VK_NUMLOCK, 0x53},
        {VK_DIVIDE, 0x54},    {VK_ADD, 0x57},       {0x61, 0x59},        {VK_NUMPAD9, 0x61}, {VK_NUMPAD0, 0x62},
        {VK_DECIMAL, 0x63},   {VK_LWIN, 0x73},      {VK_RWIN, 0x77},     {0x7C, 0},  // F13: no key
        {VK_PROCESSKEY, 0},   {VK_LSHIFT, 0},       {0x01, 0},
    };
    for (const auto& [vk, code] : cases) EXPECT_EQ(KeyCodeOfVirtualKey(vk), code) << std::hex << vk;
}

TEST(KeyConversion, ModifierSideIsDecidedAtKeyDownAndRememberedForKeyUp) {
    std::set<std::uint32_t> down;
    CKeyConverter convert([&](std::uint32_t vk) { return down.count(vk) > 0; });

    down = {VK_LSHIFT};
    EXPECT_EQ(convert.Convert(VK_SHIFT, true), 0x71);
    down = {};  // the left key already reads as up when its release arrives
    EXPECT_EQ(convert.Convert(VK_SHIFT, false), 0x71);

    EXPECT_EQ(convert.Convert(VK_CONTROL, true), 0x74);  // left not down: right side
    down = {VK_LCONTROL};
    EXPECT_EQ(convert.Convert(VK_CONTROL, false), 0x74);

    down = {VK_LMENU};
    EXPECT_EQ(convert.Convert(VK_MENU, true), 0x72);
    down = {};
    EXPECT_EQ(convert.Convert(VK_MENU, true), 0x76);  // right Alt joins
    EXPECT_EQ(convert.Convert(VK_MENU, false), 0x72);  // left flag first
    EXPECT_EQ(convert.Convert(VK_MENU, false), 0x76);
    EXPECT_EQ(convert.Convert('A', true), 0x04);
}

}  // namespace
}  // namespace pallix::macro

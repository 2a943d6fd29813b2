#include "common/Messages.h"

#include <gtest/gtest.h>

using namespace pallix;

TEST(ProfileLevelWord, PacksEveryFieldIntoItsBits) {
    ProfileLevel p{3, 4, true, 0x12, 0x34};
    EXPECT_EQ(PackProfileLevel(p), 0x003412C3u);
    EXPECT_EQ(UnpackProfileLevel(0x003412C3u), p);
    // Bits 2-3 and 24-31 are ignored on the way in.
    EXPECT_EQ(UnpackProfileLevel(0xFF00000Cu), ProfileLevel{});
}

TEST(ProfileLevelWord, ProfilePageSelectionCarriesOnlyProfileAndFlag) {
    EXPECT_EQ(PackProfileLevel({0, 2, true, 0, 0}), 0xA0u);
}

TEST(StepToDpi, FollowsTheModelRule) {
    EXPECT_EQ(StepToDpi(16, true), 1600u);
    EXPECT_EQ(StepToDpi(16, false), 1400u);  // 16*90+50 = 1490 -> 14
    EXPECT_EQ(StepToDpi(57, false), 5100u);
    EXPECT_EQ(StepToDpi(1, false), 100u);
}

TEST(CurrentDialog, NamesTheReceiverOrNothing) {
    EXPECT_STREQ(CurrentDialogHandleName(0), "Process Handle");
    EXPECT_STREQ(CurrentDialogHandleName(1), "Configure Handle");
    EXPECT_STREQ(CurrentDialogHandleName(2), "Macro Edit Handle");
    EXPECT_STREQ(CurrentDialogHandleName(3), "LED Edit Handle");
    EXPECT_EQ(CurrentDialogHandleName(4), nullptr);
    EXPECT_EQ(CurrentDialogHandleName(0xFFFFFFFFu), nullptr);
}

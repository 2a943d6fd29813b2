#include "platform/pointer/KdeConfigText.h"

#include <gtest/gtest.h>

namespace pallix {
namespace {

struct SetCase {
    const char* label;
    const char* before;
    const char* after;  // nullptr: refused as locked
};

TEST(KdeConfigTextTest, SettingAnEntryTouchesNothingElse) {
    const SetCase cases[] = {
        {"empty file", "", "[KDE]\nWheelScrollLines=7\n"},
        {"no such group", "[General]\nColorScheme=BreezeDark\n",
         "[General]\nColorScheme=BreezeDark\n\n[KDE]\nWheelScrollLines=7\n"},
        {"no newline at the end", "[General]\nA=1", "[General]\nA=1\n\n[KDE]\nWheelScrollLines=7\n"},
        {"group without the key", "[KDE]\nSingleClick=false\n\n[Icons]\nTheme=breeze\n",
         "[KDE]\nSingleClick=false\nWheelScrollLines=7\n\n[Icons]\nTheme=breeze\n"},
        {"group last, no newline", "[KDE]\nSingleClick=false", "[KDE]\nSingleClick=false\nWheelScrollLines=7"},
        {"empty group", "[KDE]\n[Icons]\nTheme=breeze\n", "[KDE]\nWheelScrollLines=7\n[Icons]\nTheme=breeze\n"},
        {"replaced, spacing and comments kept", "# mine\n[KDE]\n  WheelScrollLines = 3  \nX=y\n",
         "# mine\n[KDE]\nWheelScrollLines=7\nX=y\n"},
        {"group twice: every entry replaced", "[KDE]\nWheelScrollLines=3\n[A]\nB=1\n[KDE]\nWheelScrollLines=5\n",
         "[KDE]\nWheelScrollLines=7\n[A]\nB=1\n[KDE]\nWheelScrollLines=7\n"},
        {"group twice, no entry: added to the last", "[KDE]\nA=1\n[B]\nC=2\n[KDE]\nD=3\n\n",
         "[KDE]\nA=1\n[B]\nC=2\n[KDE]\nD=3\nWheelScrollLines=7\n\n"},
        {"same key elsewhere and localised", "[Other]\nWheelScrollLines=1\n[KDE]\nWheelScrollLines[de]=2\n",
         "[Other]\nWheelScrollLines=1\n[KDE]\nWheelScrollLines[de]=2\nWheelScrollLines=7\n"},
        {"nested group is another group", "[KDE][Sub]\nWheelScrollLines=1\n",
         "[KDE][Sub]\nWheelScrollLines=1\n\n[KDE]\nWheelScrollLines=7\n"},
        {"similar key", "[KDE]\nWheelScrollLinesX=1\n", "[KDE]\nWheelScrollLinesX=1\nWheelScrollLines=7\n"},
        {"CRLF lines", "[KDE]\r\nA=1\r\n", "[KDE]\r\nA=1\r\nWheelScrollLines=7\n"},
        {"locked entry", "[KDE]\nWheelScrollLines[$i]=3\n", nullptr},
        {"locked group", "[KDE][$i]\nA=1\n", nullptr},
        {"locked file", "[$i]\n[KDE]\nA=1\n", nullptr},
        {"locked other group only", "[A][$i]\nB=1\n", "[A][$i]\nB=1\n\n[KDE]\nWheelScrollLines=7\n"},
    };
    for (const SetCase& c : cases) {
        const auto after = SetKdeEntry(c.before, "KDE", "WheelScrollLines", "7");
        if (!c.after) {
            EXPECT_FALSE(after) << c.label;
            EXPECT_TRUE(FindKdeEntry(c.before, "KDE", "WheelScrollLines").locked) << c.label;
            continue;
        }
        ASSERT_TRUE(after) << c.label;
        EXPECT_EQ(*after, c.after) << c.label;
        const KdeEntry back = FindKdeEntry(*after, "KDE", "WheelScrollLines");
        EXPECT_EQ(back.value, "7") << c.label;
        EXPECT_EQ(SetKdeEntry(*after, "KDE", "WheelScrollLines", "7"), *after) << c.label << ": not idempotent";
    }
}

TEST(KdeConfigTextTest, TheLastPlainEntryOfTheGroupCounts) {
    const char* text = "WheelScrollLines=1\n[KDE]\nWheelScrollLines=4\nWheelScrollLines[fr]=9\n[X]\n"
                       "WheelScrollLines=8\n[KDE]\n  WheelScrollLines  =  6 \n";
    EXPECT_EQ(FindKdeEntry(text, "KDE", "WheelScrollLines").value, "6");
    EXPECT_FALSE(FindKdeEntry(text, "KDE", "DoubleClickInterval").value);
    EXPECT_FALSE(FindKdeEntry("[KDE\nWheelScrollLines=2\n", "KDE", "WheelScrollLines").value);
}

}  // namespace
}  // namespace pallix

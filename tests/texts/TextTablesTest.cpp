#include <gtest/gtest.h>

#include "app/texts/FontRule.h"
#include "app/texts/MessageRule.h"
#include "app/texts/TextTables.h"
#include "macro/MacroTexts.h"
#include "tests/texts/TextFixtures.h"

namespace pallix::texts {
namespace {

using test::TextTablesTest;

TEST_F(TextTablesTest, DefaultsAreTheProgramsOwnTextsSpellingIncluded) {
    const TextTables& t = DefaultTexts();
    struct Case { const std::string& actual; const char* expected; };
    const Case cases[] = {
        {t.ui[UI_TITLE], "Quelta PALLIX Ostrel Gaming Mouse"},
        {t.ui[UI_EMPTY], ""},
        {t.ui[UI_TIP_REGISTER], "Go to the Vandras PALLIX Ostrel register web site."},
        {t.ui[UI_TIP_PROFILE_1 + 4], "Switch to profile 5 page."},
        {t.ui[UI_ONE_TIME], "ONE-TIME"},
        {t.ui[UI_MULTIPLE_LOOPS], "Multiple Loops"},
        {t.ui[UI_YES], "YES"},
        {t.ui[UI_NO], "NO"},
        {t.ui[UI_LAUNCHER_FUNCTION], "Applictaion Laucher Function"},
        {t.ui[48], "Cygon"},
        {t.ui[UI_WITHOUT_DELAY], "Without and delay"},
        {t.ui[UI_DEFAULT_DELAY], "Insert defualt delay"},
        {t.ui[UI_SAVE_AS_FILE], "Save as file"},
        {t.messages[0], "TOO MANY INSTANCES!"},
        {t.messages[2], "FAILURE: Can't find the file path: "},
        {t.messages[13], "Can't connect to "},
        {t.messages[16], "Record funciton failure!"},
        {t.messages[19], "Macro exist!"},
        {t.messageBoxCaption, "Quelta PALLIX Ostrel MESSAGE"},
        {t.unitWords[0], "sec"},
        {t.unitWords[1], "ms"},
        {t.functionNames[0], "MACRO KEY"},
        {t.functionNames[7], "SCROLL BUTTON"},
        {t.functionNames[10], "LAUNCH"},
        {t.commandNames[8], "Delet"},
        {t.commandNames[19], "Maxmize IE/Media Player"},
        {t.commandNames[20], "Commands"},
        {t.ledCaptions[0], "Switch to Normal LED Control Mode"},
        {t.ledCaptions[1], "Switch to Battle LED Mode"},
    };
    for (const Case& c : cases) EXPECT_EQ(c.actual, c.expected);
    EXPECT_EQ(t.fonts[0], (FontSpec{"Arial", 0, 0, 500}));
    EXPECT_EQ(t.fonts[1], (FontSpec{"Arial Rounded MT Bold", 20, 0, 700}));
    EXPECT_EQ(t.fonts[5], (FontSpec{"Arial", 14, 0, 400}));
    EXPECT_EQ(t.fonts[6], (FontSpec{"Arial", 20, 0, 500}));
}

TEST_F(TextTablesTest, EveryDefaultFitsItsTableEntry) {
    const TextTables& t = DefaultTexts();
    for (const auto& s : t.ui) EXPECT_LT(CharacterCount(s), kUiStringCapacity);
    for (const auto& s : t.messages) EXPECT_LT(CharacterCount(s), kMessageCapacity);
    for (const auto& s : t.functionNames) EXPECT_LT(CharacterCount(s), kNameCapacity);
    for (const auto& s : t.commandNames) EXPECT_LT(CharacterCount(s), kNameCapacity);
    for (const auto& f : t.fonts) EXPECT_LT(CharacterCount(f.face), kFaceCapacity);
}

TEST_F(TextTablesTest, ReadersGiveEmptyTextOutsideTheTables) {
    EXPECT_EQ(MessageText(20), "");
    EXPECT_EQ(MessageText(-1), "");
    EXPECT_EQ(UiText(58), "");
    EXPECT_EQ(FunctionName(11), "");
    EXPECT_EQ(Font(7), DefaultTexts().fonts[0]);
}

TEST_F(TextTablesTest, SetTextsFeedsTheMacroCommandNamesAndUnitWords) {
    SetTexts(test::MarkedTexts("x-"));
    EXPECT_EQ(macro::CommandName(0), "x-Page UP");
    EXPECT_EQ(macro::CommandName(19), "x-Maxmize IE/Media Player");
    EXPECT_EQ(macro::SecondsWord(), "x-sec");
    EXPECT_EQ(macro::MillisecondsWord(), "x-ms");
    EXPECT_EQ(CommandName(20), "x-Commands");
    SetTexts(DefaultTexts());
    EXPECT_EQ(macro::CommandName(0), "Page UP");
    EXPECT_EQ(macro::SecondsWord(), "sec");
}

TEST_F(TextTablesTest, MessageRuleIndexRangeAndFortyCharacters) {
    EXPECT_EQ(DecideMessage(20, "", true).route, MessageRoute::Nothing);
    EXPECT_EQ(DecideMessage(-1, "", true).route, MessageRoute::Nothing);
    const MessageDecision shortOne = DecideMessage(1, "", true);
    EXPECT_EQ(shortOne.route, MessageRoute::SkinnedBox);
    EXPECT_EQ(shortOne.text, "No Gamer Mouse Connected!");
    EXPECT_EQ(DecideMessage(1, "", false).route, MessageRoute::SystemBox);
    // "Can't find document: " is 21 characters: 18 more make 39, 19 more make 40.
    EXPECT_EQ(DecideMessage(15, std::string(18, 'a'), true).route, MessageRoute::SkinnedBox);
    const MessageDecision forty = DecideMessage(15, std::string(19, 'a'), true);
    EXPECT_EQ(forty.route, MessageRoute::SystemBox);
    EXPECT_EQ(forty.text, "Can't find document: " + std::string(19, 'a'));
    // Characters, not bytes: 39 umlauts still fit.
    std::string umlauts;
    for (int i = 0; i < 39; ++i) umlauts += "\xC3\xA4";
    EXPECT_EQ(RouteForText(umlauts, true), MessageRoute::SkinnedBox);
    EXPECT_EQ(DecideMessage(4, "", true).route, MessageRoute::SkinnedBox);  // 39 characters
}

TEST_F(TextTablesTest, FontZeroSizeFollowsTheTitleFontHeight) {
    const std::pair<int, double> cases[] = {{0, 15.0},   {-9, 15.0},  {-10, 10.9}, {-12, 10.9},
                                            {-13, 9.0},  {-15, 9.0},  {-16, 7.5},  {-18, 7.5},
                                            {-19, 5.5},  {-24, 5.5},  {-25, 10.0}, {-40, 10.0}};
    for (const auto& [height, points] : cases) EXPECT_DOUBLE_EQ(Font0PointSize(height), points) << height;
}

}  // namespace
}  // namespace pallix::texts

#include <gtest/gtest.h>

#include <cstdlib>

#include "app/texts/LanguageChoice.h"
#include "tests/texts/LocaleEnv.h"

namespace pallix::texts {
namespace {

TEST(LanguageChoice, LocaleNamesGiveTheIdentifiersOfTheirLanguage) {
    const std::pair<const char*, std::uint16_t> cases[] = {
        {"de_DE.UTF-8", 0x0407}, {"de_AT", 0x0407},     {"fr_FR.UTF-8@euro", 0x040C}, {"en_US.UTF-8", 0x0409},
        {"C", 0x0409},           {"POSIX", 0x0409},     {"", 0x0409},                 {"xx_YY", 0x0409},
        {"zh_CN.UTF-8", 0x0804}, {"zh_SG", 0x1004},     {"zh_TW", 0x0404},            {"zh_HK", 0x0C04},
        {"zh", 0x0804},          {"pt_BR", 0x0416},     {"pt_PT", 0x0816},            {"ja_JP", 0x0411},
        {"cs_CZ", 0x0405},       {"es_ES", 0x040A},     {"ru_RU", 0x0419},            {"tr_TR", 0x041F},
    };
    for (const auto& [locale, id] : cases) EXPECT_EQ(LanguageIdFromLocale(locale), id) << locale;
}

TEST(LanguageChoice, FilesFollowThePrimaryLanguage) {
    struct Case { std::uint16_t id; const char* file; const char* help; };
    const Case cases[] = {
        {0x0407, "German.txt", "Information_de.html"},    {0x0807, "German.txt", "Information_de.html"},
        {0x040C, "French.txt", "Information_fr.html"},    {0x0409, "English.txt", "Information_en.html"},
        {0x0804, "SimpleChinese.txt", "Information_sc.html"}, {0x0BFF & 0xFC04, "SimpleChinese.txt", "Information_sc.html"},
        {0x0404, "TradionalChinese.txt", "Information_tc.html"}, {0x0C04, "TradionalChinese.txt", "Information_tc.html"},
        {0x1004, "SimpleChinese.txt", "Information_sc.html"}, {0x1404, "TradionalChinese.txt", "Information_tc.html"},
        {0x0405, "Czech.txt", "Information_cz.html"},
        {0x040A, "Spanish.txt", "Information_sp.html"},   {0x0410, "Italian.txt", "Information_it.html"},
        {0x0411, "Japanese.txt", "Information_jp.html"},  {0x0412, "Korean.txt", "Information_ko.html"},
        {0x0415, "Polish.txt", "Information_po.html"},    {0x0416, "Brasil.txt", "Information_br.html"},
        {0x0816, "Brasil.txt", "Information_br.html"},    {0x0419, "Russian.txt", "Information_ru.html"},
        {0x041E, "Thai.txt", "Information_th.html"},      {0x041F, "Turkish.txt", "Information_tk.html"},
        {0x0413, "English.txt", "Information_en.html"},   {0x0000, "English.txt", "Information_en.html"},
    };
    for (const Case& c : cases) {
        const LanguageFiles f = ChooseLanguageFiles(c.id);
        EXPECT_EQ(f.languageFile, c.file) << std::hex << c.id;
        EXPECT_EQ(f.helpDocument, c.help) << std::hex << c.id;
    }
}

TEST(LanguageChoice, DesktopLanguageFollowsGettextsOrder) {
    struct Case {
        std::initializer_list<std::pair<const char*, const char*>> env;
        std::uint16_t id;
    };
    const Case cases[] = {
        {{{"LANGUAGE", "ja_JP:en"}, {"LANG", "de_DE.UTF-8"}}, 0x0411},
        {{{"LC_ALL", "zh_TW.UTF-8"}, {"LANG", "de_DE.UTF-8"}}, 0x0404},
        {{{"LANG", "pt_BR.UTF-8"}}, 0x0416},
        {{{"LC_ALL", ""}, {"LC_MESSAGES", "fr_FR.UTF-8"}, {"LANG", "de_DE.UTF-8"}}, 0x040C},
        {{{"LANGUAGE", ""}, {"LANG", "de_DE.UTF-8"}}, 0x0407},
        // A language without texts, or not known at all, hands on to the next one.
        {{{"LANGUAGE", "nl_NL:eo:pl"}, {"LANG", "de_DE.UTF-8"}}, 0x0415},
        {{{"LANGUAGE", "nl"}, {"LANG", "ru_RU.UTF-8"}}, 0x0419},
        // English asked for first is English, even with other languages after it.
        {{{"LANGUAGE", "en_GB:de"}, {"LANG", "fr_FR.UTF-8"}}, 0x0409},
        {{{"LANG", "C.UTF-8"}}, 0x0409},
        {{}, 0x0409},
    };
    for (const Case& c : cases) {
        test::LocaleEnv env(c.env);
        EXPECT_EQ(SystemLanguageId(), c.id) << (c.env.size() ? c.env.begin()->second : "nothing set");
    }
}

TEST(LanguageChoice, ChineseScriptsAndPortugueseFollowTheRegion) {
    const std::pair<const char*, const char*> cases[] = {
        {"zh_CN.UTF-8", "SimpleChinese.txt"},    {"zh_SG.GB2312", "SimpleChinese.txt"},
        {"zh", "SimpleChinese.txt"},             {"zh-Hans", "SimpleChinese.txt"},
        {"zh_TW.Big5", "TradionalChinese.txt"},  {"zh_HK.UTF-8", "TradionalChinese.txt"},
        {"zh_MO", "TradionalChinese.txt"},       {"zh_Hant", "TradionalChinese.txt"},
        {"pt_BR.UTF-8", "Brasil.txt"},           {"pt_PT@euro", "Brasil.txt"},
        {"pt", "Brasil.txt"},
    };
    for (const auto& [locale, file] : cases)
        EXPECT_EQ(ChooseLanguageFiles(LanguageIdFromLocale(locale)).languageFile, file) << locale;
}

}  // namespace
}  // namespace pallix::texts

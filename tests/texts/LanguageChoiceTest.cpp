#include <gtest/gtest.h>

#include <cstdlib>

#include "app/texts/LanguageChoice.h"

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
        {0x1004, "TradionalChinese.txt", "Information_tc.html"}, {0x0405, "Czech.txt", "Information_cz.html"},
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

TEST(LanguageChoice, SystemLanguageComesFromTheLocaleVariablesInTheirOrder) {
    const char* names[] = {"LC_ALL", "LC_MESSAGES", "LANG"};
    std::string saved[3];
    bool had[3];
    for (int i = 0; i < 3; ++i) {
        const char* v = std::getenv(names[i]);
        had[i] = v != nullptr;
        if (v) saved[i] = v;
    }
    setenv("LC_ALL", "", 1);
    setenv("LC_MESSAGES", "fr_FR.UTF-8", 1);
    setenv("LANG", "de_DE.UTF-8", 1);
    EXPECT_EQ(SystemLanguageId(), 0x040C);
    unsetenv("LC_MESSAGES");
    EXPECT_EQ(SystemLanguageId(), 0x0407);
    setenv("LC_ALL", "zh_TW", 1);
    EXPECT_EQ(SystemLanguageId(), 0x0404);
    for (int i = 0; i < 3; ++i) {
        if (had[i]) setenv(names[i], saved[i].c_str(), 1);
        else unsetenv(names[i]);
    }
}

}  // namespace
}  // namespace pallix::texts

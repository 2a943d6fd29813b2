// The desktop's language reaches both programs through one rule: the configuration
// program's language file and help document, and the monitor's tray texts, each read
// from a temporary installation.
#include <gtest/gtest.h>

#include <QString>

#include "app/texts/LoadLanguage.h"
#include "app/texts/ExtraTexts.h"
#include "common/SettingNames.h"
#include "device/AccessHelp.h"
#include "monitor/MonitorLanguage.h"
#include "platform/SqliteSettingsStore.h"
#include "tests/texts/LocaleEnv.h"
#include "tests/texts/TextFixtures.h"

namespace pallix {
namespace {
namespace fs = std::filesystem;

void WriteMonitorFile(const fs::path& file, const QString& mark) {
    QString text;
    for (const QString& t : monitor::EnglishTexts()) text += mark + t + QStringLiteral("\r\n");
    text += QString::fromStdString(file.filename().string()) + QStringLiteral("\r\n");
    std::string bytes = "\xFF\xFE";
    for (const char16_t c : text.toStdU16String()) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>(c >> 8);
    }
    test::WriteBytes(file, bytes);
}

class DesktopLanguageTest : public test::TextTablesTest {
protected:
    void SetUp() override {
        install_ = env_.Root() / "install";
        monitorFolder_ = env_.Root() / "monitor";
        settings_.WriteString("Path", install_.string());
        for (const char* name : {"Japanese", "TradionalChinese", "Brasil", "German", "Thai"}) {
            const std::string file = std::string(name) + ".txt";
            test::WriteBytes(install_ / "Languages" / file, texts::EncodeLanguageFile(test::MarkedTexts(name), file));
            if (std::string(name) != "Thai") WriteMonitorFile(monitorFolder_ / "Languages" / file, name);
        }
        for (const char* help : {"Information_jp.html", "Information_tc.html", "Information_br.html",
                                 "Information_de.html", "Information_th.html", "Information_en.html"})
            test::WriteBytes(install_ / "HELP" / help, "<html></html>");
    }
    monitor::MenuTexts MonitorTexts(std::uint32_t languageValue) const {
        return monitor::LoadMenuTexts(languageValue, QString::fromStdString(monitorFolder_.string()), "/nowhere");
    }

    fs::path install_, monitorFolder_;
    SqliteSettingsStore settings_;
};

TEST_F(DesktopLanguageTest, EachLocaleVariablePicksTheFilesOfBothPrograms) {
    struct Case {
        std::initializer_list<std::pair<const char*, const char*>> env;
        const char* mark;  // the language file's base name
        const char* help;
    };
    // The later variables name German, so only the one under test can win.
    const Case cases[] = {
        {{{"LANGUAGE", "ja_JP:en"}, {"LC_ALL", "de_DE.UTF-8"}}, "Japanese", "Information_jp.html"},
        {{{"LC_ALL", "zh_TW.UTF-8"}, {"LC_MESSAGES", "de_DE.UTF-8"}}, "TradionalChinese", "Information_tc.html"},
        {{{"LANG", "pt_BR.UTF-8"}, {"LC_CTYPE", "de_DE.UTF-8"}}, "Brasil", "Information_br.html"},
    };
    for (const Case& c : cases) {
        test::LocaleEnv env(c.env);
        const char* value = c.env.begin()->second;
        const texts::LanguageState s = texts::LoadLanguage(&settings_);
        EXPECT_TRUE(s.languageLoaded) << value;
        EXPECT_EQ(s.languagePath, install_ / "Languages" / (std::string(c.mark) + ".txt")) << value;
        EXPECT_EQ(s.helpPath, install_ / "HELP" / c.help) << value;
        EXPECT_EQ(texts::UiText(texts::UI_APPLY), std::string(c.mark) + "Apply") << value;

        const monitor::MenuTexts tray = MonitorTexts(kDwordMissing);
        EXPECT_EQ(tray[monitor::kTextExit], QString::fromUtf8(c.mark) + QStringLiteral("Exit")) << value;
        EXPECT_EQ(MonitorTexts(0)[monitor::kTextExit], tray[monitor::kTextExit]) << value;
    }
}

TEST_F(DesktopLanguageTest, MonitorSettingWinsAndEachProgramSkipsWhatItLacks) {
    test::LocaleEnv env({{"LANGUAGE", "th_TH:de_DE"}, {"LANG", "th_TH.UTF-8"}});
    // The configuration program has Thai texts; the monitor has none and takes the next.
    EXPECT_EQ(texts::LoadLanguage(&settings_).languagePath, install_ / "Languages" / "Thai.txt");
    EXPECT_EQ(MonitorTexts(kDwordMissing)[monitor::kTextExit], QStringLiteral("GermanExit"));
    // A "Language" value of the monitor is used as it is.
    EXPECT_EQ(MonitorTexts(0x0411)[monitor::kTextExit], QStringLiteral("JapaneseExit"));
    EXPECT_EQ(MonitorTexts(0x0409)[monitor::kTextExit], QStringLiteral("Exit"));
}

TEST_F(DesktopLanguageTest, MonitorNoticeInTheLanguageOfItsMenu) {
    WriteMonitorFile(monitorFolder_ / "Languages" / "Greek.txt", "Greek");
    test::WriteBytes(monitorFolder_ / "Texts" / "Greek.texts", "no-access = %1 %2 Ελληνικά\n");
    test::WriteBytes(env_.Root() / "share" / "German.texts", "no-access = %1 %2 Deutsch\n");
    test::WriteBytes(env_.Root() / "share" / "French.texts", "no-access = %1 %2 Français\n");
    const QString installed = QString::fromStdString((env_.Root() / "share").string());
    const auto load = [&](std::uint32_t language) {
        return monitor::LoadMonitorExtraTexts(language, MonitorTexts(language),
                                              QString::fromStdString(monitorFolder_.string()), installed);
    };
    EXPECT_EQ(load(0x0408).toStdString(), (monitorFolder_ / "Texts" / "Greek.texts").string());
    EXPECT_EQ(texts::NoAccessNotice("/dev/hidraw1"), "/dev/hidraw1 70-pallix-ostrel.rules Ελληνικά");
    EXPECT_FALSE(load(0x0407).isEmpty());
    EXPECT_EQ(texts::NoAccessNotice("x"), "x 70-pallix-ostrel.rules Deutsch");
    // English, and a language whose menu file is missing (French here), keep the
    // notice English like the menu.
    EXPECT_TRUE(load(0x0409).isEmpty());
    EXPECT_EQ(texts::NoAccessNotice("x"), NoAccessMessage("x"));
    EXPECT_TRUE(load(0x040C).isEmpty());
    EXPECT_EQ(texts::NoAccessNotice("x"), NoAccessMessage("x"));
}

}  // namespace
}  // namespace pallix

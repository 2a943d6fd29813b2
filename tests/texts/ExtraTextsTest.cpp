// The texts beyond the language files: their file format, the shipped translations,
// and their choice with the language file.
#include <gtest/gtest.h>

#include "app/texts/ExtraTexts.h"
#include "app/texts/LanguageChoice.h"
#include "app/texts/LoadLanguage.h"
#include "device/AccessHelp.h"
#include "platform/SqliteSettingsStore.h"
#include "tests/texts/TextFixtures.h"

namespace pallix::texts {
namespace {
namespace fs = std::filesystem;

class ExtraTextsTest : public test::TextTablesTest {
protected:
    void TearDown() override {
        UseEnglishExtraTexts();
        test::TextTablesTest::TearDown();
    }
};

TEST_F(ExtraTextsTest, LinesAreTakenOnlyWhenWhole) {
    struct Case {
        const char* what;
        std::string_view bytes;
        int taken;
        int skipped;
        int index;
        const char* text;  // the entry afterwards
    };
    const Case cases[] = {
        {"plain", "all-files = Alle Dateien\n", 1, 0, EXTRA_ALL_FILES, "Alle Dateien"},
        {"CR LF, tabs, UTF-8 mark", "\xEF\xBB\xBF\tall-files\t=\tAlle Dateien\r\n", 1, 0, EXTRA_ALL_FILES, "Alle Dateien"},
        {"comments and blank lines", "# all-files = x\n\n   \nall-files=y", 1, 0, EXTRA_ALL_FILES, "y"},
        {"escapes", "all-files = a\\nb\\\\n\\t", 1, 0, EXTRA_ALL_FILES, "a\nb\\n\\t"},
        {"places kept, moved", "no-access = %2 for %1", 1, 0, EXTRA_NO_ACCESS, "%2 for %1"},
        {"a place lost", "no-access = no path here", 0, 1, EXTRA_NO_ACCESS, nullptr},
        {"a place added", "all-files = %1 files", 0, 1, EXTRA_ALL_FILES, nullptr},
        {"unknown key", "al-files = x", 0, 1, EXTRA_ALL_FILES, nullptr},
        {"no equals sign", "all-files Alle", 0, 1, EXTRA_ALL_FILES, nullptr},
        {"empty text", "all-files =   ", 0, 1, EXTRA_ALL_FILES, nullptr},
        {"bad UTF-8", "all-files = \xC3\x28", 0, 1, EXTRA_ALL_FILES, nullptr},
        {"last one wins", "all-files = a\nall-files = b\n", 2, 0, EXTRA_ALL_FILES, "b"},
    };
    for (const Case& c : cases) {
        UseEnglishExtraTexts();
        const ExtraTextsRead read = ParseExtraTexts(c.bytes);
        EXPECT_EQ(read.taken, c.taken) << c.what;
        EXPECT_EQ(read.skipped, c.skipped) << c.what;
        EXPECT_EQ(Extra(c.index), c.text ? std::string(c.text) : EnglishExtraText(c.index)) << c.what;
    }
    // A second file starts from English again, not from the first one.
    ParseExtraTexts("all-files = a\nmacro-files = b\n");
    ParseExtraTexts("all-files = c\n");
    EXPECT_EQ(Extra(EXTRA_MACRO_FILES), "Mouse Macro Files");
    EXPECT_EQ(Extra(kExtraTextCount), "");
}

TEST_F(ExtraTextsTest, PlacesAreFilledOnceAndTheEnglishNoticeIsTheLogsOne) {
    ParseExtraTexts("no-access = %2 erlaubt %1 (100%)\n");
    EXPECT_EQ(NoAccessNotice("/dev/%2"), "70-pallix-ostrel.rules erlaubt /dev/%2 (100%)");
    UseEnglishExtraTexts();
    EXPECT_EQ(NoAccessNotice("/dev/hidraw3"), NoAccessMessage("/dev/hidraw3"));
    EXPECT_NE(NoAccessMessage("/dev/hidraw3").find("found at /dev/hidraw3, but"), std::string::npos);
}

// The base names both programs may ask for: the configuration program's language files
// and the monitor's (Greek).
bool LanguageOfEitherProgram(const std::string& base) {
    if (base == "Greek") return true;
    for (int primary = 1; primary < 0x40; ++primary)
        for (int sub = 1; sub <= 2; ++sub)
            if (ChooseLanguageFiles(static_cast<std::uint16_t>(sub << 10 | primary)).languageFile == base + ".txt")
                return base != "English";
    return false;
}

TEST_F(ExtraTextsTest, ShippedFilesTranslateEveryEntry) {
    int files = 0;
    for (const auto& file : fs::directory_iterator(PALLIX_SOURCE_DIR "/resources/Texts")) {
        const std::string base = file.path().stem().string();
        ASSERT_EQ(file.path().extension(), kExtraTextSuffix) << file.path();
        EXPECT_TRUE(LanguageOfEitherProgram(base)) << base;
        const ExtraTextsRead read = LoadExtraTexts(file.path());
        EXPECT_EQ(read.taken, kExtraTextCount) << base;
        EXPECT_EQ(read.skipped, 0) << base;
        for (int i = 0; i < kExtraTextCount; ++i)
            EXPECT_NE(Extra(i), EnglishExtraText(i)) << base << " leaves " << ExtraTextKey(i) << " English";
        // The commands stay as they are, whatever the language.
        EXPECT_NE(Extra(EXTRA_NO_ACCESS).find("\n  sudo udevadm control --reload && sudo udevadm trigger\n"),
                  std::string::npos) << base;
        ++files;
    }
    EXPECT_EQ(files, 15);
}

class ExtraTextsWithLanguageTest : public ExtraTextsTest {
protected:
    void SetUp() override {
        install_ = env_.Root() / "install";
        settings_.WriteString("Path", install_.string());
        where_ = {&settings_, env_.Root() / "bin", env_.Root() / "share"};
        test::WriteBytes(install_ / "Texts" / "German.texts", "select-mouse = Mehr als eine Maus!\n");
    }
    fs::path install_;
    SqliteSettingsStore settings_;
    ProgramFileLocations where_;
};

TEST_F(ExtraTextsWithLanguageTest, ComeWithTheLanguageFileAndOnlyWithIt) {
    test::WriteBytes(install_ / "Languages" / "German.txt", EncodeLanguageFile(test::MarkedTexts("de-"), "German.txt"));
    LanguageState s = LoadLanguage(0x0407, where_);
    EXPECT_EQ(s.extraTextsPath, install_ / "Texts" / "German.texts");
    EXPECT_EQ(Extra(EXTRA_SELECT_MOUSE), "Mehr als eine Maus!");
    EXPECT_EQ(Extra(EXTRA_ALL_FILES), "All Files");

    // A language file that does not load leaves every text English, these too.
    test::WriteBytes(install_ / "Languages" / "German.txt", EncodeLanguageFile(test::MarkedTexts("de-"), "Other.txt"));
    s = LoadLanguage(0x0407, where_);
    EXPECT_FALSE(s.languageLoaded);
    EXPECT_TRUE(s.extraTextsPath.empty());
    EXPECT_EQ(Extra(EXTRA_SELECT_MOUSE), EnglishExtraText(EXTRA_SELECT_MOUSE));
}

}  // namespace
}  // namespace pallix::texts

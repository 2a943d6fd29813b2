#include <gtest/gtest.h>

#include "app/texts/LoadLanguage.h"
#include "macro/MacroTexts.h"
#include "platform/SqliteSettingsStore.h"
#include "tests/texts/TextFixtures.h"

namespace pallix::texts {
namespace {
namespace fs = std::filesystem;

constexpr std::uint16_t kGerman = 0x0407;
constexpr std::uint16_t kFrench = 0x040C;

// An installation folder named by "Path" in the real settings store, a program folder
// and a data folder, all inside the test's own temporary folder.
class LoadLanguageTest : public test::TextTablesTest {
protected:
    void SetUp() override {
        install_ = env_.Root() / "install";
        fs::create_directories(install_);
        settings_.WriteString("Path", install_.string());
        where_ = {&settings_, env_.Root() / "bin", env_.Root() / "share"};
    }
    void Put(const fs::path& base, const char* folder, const std::string& name, std::string_view bytes) {
        test::WriteBytes(base / folder / name, bytes);
    }
    void PutLanguage(const std::string& name, const TextTables& t) {
        Put(install_, "Languages", name, EncodeLanguageFile(t, name));
    }

    fs::path install_;
    SqliteSettingsStore settings_;  // in the test's own XDG_CONFIG_HOME
    ProgramFileLocations where_;
};

TEST_F(LoadLanguageTest, GermanSystemWithGermanFileUsesItAndItsHelpDocument) {
    PutLanguage("German.txt", test::MarkedTexts("de-"));
    Put(install_, "HELP", "Information_de.html", "<html>de</html>");
    Put(install_, "HELP", "Information_en.html", "<html>en</html>");
    const LanguageState s = LoadLanguage(kGerman, where_);
    EXPECT_TRUE(s.languageLoaded);
    EXPECT_EQ(s.status, LanguageFileStatus::Loaded);
    EXPECT_EQ(s.languagePath, install_ / "Languages" / "German.txt");
    EXPECT_EQ(s.helpDocument, "Information_de.html");
    EXPECT_EQ(s.helpPath, install_ / "HELP" / "Information_de.html");
    EXPECT_EQ(MessageText(1), "de-No Gamer Mouse Connected!");
    EXPECT_EQ(UiText(UI_YES), "de-YES");
    EXPECT_EQ(macro::CommandName(2), "de-Copy");
    EXPECT_EQ(CurrentLanguage().languageFile, "German.txt");
    EXPECT_EQ(FindHelpDocument(where_), install_ / "HELP" / "Information_de.html");
}

TEST_F(LoadLanguageTest, MissingHelpDocumentFallsBackToTheEnglishOne) {
    PutLanguage("German.txt", test::MarkedTexts("de-"));
    Put(install_, "HELP", "Information_en.html", "<html>en</html>");
    const LanguageState s = LoadLanguage(kGerman, where_);
    EXPECT_EQ(s.helpDocument, "Information_en.html");
    EXPECT_EQ(s.helpPath, install_ / "HELP" / "Information_en.html");
    fs::remove(install_ / "HELP" / "Information_en.html");
    const LanguageState none = LoadLanguage(kGerman, where_);
    EXPECT_EQ(none.helpDocument, "Information_en.html");  // what message 15 names
    EXPECT_TRUE(none.helpPath.empty());
}

TEST_F(LoadLanguageTest, BrokenFilesLeaveTheDefaultsWhole) {
    struct Case { const char* what; std::string bytes; };
    std::string wrongName = EncodeLanguageFile(test::MarkedTexts("de-"), "French.txt");
    std::string noMark = EncodeLanguageFile(test::MarkedTexts("de-"), "German.txt").substr(2);
    std::string cut = EncodeLanguageFile(test::MarkedTexts("de-"), "German.txt");
    cut.resize(cut.size() / 2);
    const Case cases[] = {{"last line names another file", wrongName}, {"no byte-order mark", noMark},
                          {"ends half way", cut}};
    for (const Case& c : cases) {
        SetTexts(test::MarkedTexts("stale-"));
        Put(install_, "Languages", "German.txt", c.bytes);
        const LanguageState s = LoadLanguage(kGerman, where_);
        EXPECT_FALSE(s.languageLoaded) << c.what;
        EXPECT_EQ(Texts(), DefaultTexts()) << c.what;
        EXPECT_EQ(macro::CommandName(2), "Copy") << c.what;
    }
}

TEST_F(LoadLanguageTest, NoFileMeansDefaultsAndNotLoaded) {
    const LanguageState s = LoadLanguage(kFrench, where_);
    EXPECT_FALSE(s.languageLoaded);
    EXPECT_FALSE(SpeaksTranslation(s));  // English defaults: the English picture box
    EXPECT_EQ(s.status, LanguageFileStatus::CannotOpen);
    EXPECT_TRUE(s.languagePath.empty());
    EXPECT_EQ(Texts(), DefaultTexts());
}

TEST_F(LoadLanguageTest, FileSearchOrderIsPathThenProgramFolderThenDataFolder) {
    Put(where_.dataFolder, "HELP", "a.html", "data");
    EXPECT_EQ(FindProgramFile("a.html", "HELP", where_), where_.dataFolder / "HELP" / "a.html");
    Put(where_.programFolder, "HELP", "a.html", "program");
    EXPECT_EQ(FindProgramFile("a.html", "HELP", where_), where_.programFolder / "HELP" / "a.html");
    Put(install_, "HELP", "a.html", "install");
    EXPECT_EQ(FindProgramFile("a.html", "HELP", where_), install_ / "HELP" / "a.html");
    // The name itself wins when it is a path that opens.
    const fs::path direct = env_.Root() / "elsewhere" / "a.html";
    test::WriteBytes(direct, "direct");
    EXPECT_EQ(FindProgramFile(direct.string(), "HELP", where_), direct);
    // A path that does not open is not searched elsewhere; folders never count.
    EXPECT_TRUE(FindProgramFile((env_.Root() / "gone" / "a.html").string(), "HELP", where_).empty());
    fs::create_directories(install_ / "HELP" / "b.html");
    EXPECT_TRUE(FindProgramFile("b.html", "HELP", where_).empty());
    EXPECT_TRUE(FindProgramFile("", "HELP", where_).empty());
    EXPECT_TRUE(FindProgramFile("../HELP/a.html", "Languages", where_).empty());
}

TEST_F(LoadLanguageTest, WithoutPathValueTheProgramFolderServes) {
    settings_.DeleteValue("Path");
    Put(where_.programFolder, "Languages", "French.txt", EncodeLanguageFile(test::MarkedTexts("fr-"), "French.txt"));
    const LanguageState s = LoadLanguage(kFrench, where_);
    EXPECT_TRUE(s.languageLoaded);
    EXPECT_EQ(MessageText(10), "fr-No L-Button!");
}

TEST_F(LoadLanguageTest, ShippedFilesLoadAndEnglishEqualsTheDefaults) {
    const fs::path shipped = fs::path(PALLIX_SOURCE_DIR) / "resources";
    const ProgramFileLocations fromSource{nullptr, {}, shipped};
    const LanguageState en = LoadLanguage(0x0409, fromSource);
    EXPECT_TRUE(en.languageLoaded);
    EXPECT_FALSE(SpeaksTranslation(en));
    EXPECT_EQ(Texts(), DefaultTexts());
    EXPECT_EQ(en.helpPath, shipped / "HELP" / "Information_en.html");
    for (const auto& [id, marker] : {std::pair{kGerman, "Keine Gaming-Maus angeschlossen!"},
                                     std::pair{kFrench, "Aucune souris de jeu connect\xC3\xA9" "e !"}}) {
        const LanguageState s = LoadLanguage(id, fromSource);
        EXPECT_TRUE(s.languageLoaded) << s.languageFile << ": " << LanguageFileStatusName(s.status);
        EXPECT_TRUE(SpeaksTranslation(s));
        EXPECT_EQ(MessageText(1), marker);
        EXPECT_EQ(Texts().fonts, DefaultTexts().fonts);
        EXPECT_EQ(s.helpPath.filename(), ChooseLanguageFiles(id).helpDocument);
        const std::string help = test::ReadBytes(s.helpPath);
        EXPECT_NE(help.find("<html"), std::string::npos);
        EXPECT_NE(help.find("Qx7Monitor"), std::string::npos) << "the help is about this product";
        // Every UI string is translated or deliberately kept (OK, the product name...).
        int translated = 0;
        for (int i = 0; i < kUiStringCount; ++i) translated += UiText(i) != DefaultTexts().ui[i];
        EXPECT_GT(translated, 50);
    }
}

}  // namespace
}  // namespace pallix::texts

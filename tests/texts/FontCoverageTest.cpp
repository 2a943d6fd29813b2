// Every face a language file may name becomes an installed font that writes its
// script, and every character of the shipped language files has a font: no boxes.
// Needs the fonts the Debian package recommends (scripts/lib.sh installs them).
#include <gtest/gtest.h>

#include <filesystem>

#include <QFontDatabase>
#include <QFontInfo>
#include <QGuiApplication>
#include <QRawFont>

#include "app/texts/FontFaces.h"
#include "app/texts/LanguageChoice.h"
#include "app/texts/LanguageFile.h"
#include "app/texts/qt/LanguageFonts.h"
#include "monitor/MonitorLanguage.h"

namespace pallix::texts {
namespace {
namespace fs = std::filesystem;

struct ScriptCase {
    Script script;
    std::uint16_t languageId;  // a language written in it
    const char* sample;
};

const ScriptCase kScripts[] = {
    {Script::Latin, 0x0407, "AaZz\u00C4\u00E4\u00DF\u00E9\u00C7\u0141\u0142\u015E\u015F\u010C\u0159\u011F\u0131"
                            "\u0416\u0436\u042F\u044F\u03A9\u03C9\u03A3\u03C3"},
    {Script::Japanese, 0x0411, "\u3042\u30A2\u30FC\u6F22\u5B57\u8A2D\u5B9A"},
    {Script::SimplifiedChinese, 0x0804, "\u7B80\u4F53\u4E2D\u6587\u8BBE\u7F6E"},
    {Script::TraditionalChinese, 0x0404, "\u7E41\u9AD4\u4E2D\u6587\u8A2D\u5B9A"},
    {Script::Korean, 0x0412, "\uD55C\uAD6D\uC5B4\uC124\uC815"},
    {Script::Thai, 0x041E, "\u0E20\u0E32\u0E29\u0E32\u0E44\u0E17\u0E22"},
};

const ScriptCase& CaseOf(Script script) {
    for (const ScriptCase& c : kScripts)
        if (c.script == script) return c;
    std::abort();
}

bool Installed(const QString& family) { return QFontDatabase::families().contains(family, Qt::CaseInsensitive); }

bool Writes(const QString& family, char32_t c) {
    return Installed(family) && QRawFont::fromFont(QFont(family)).supportsCharacter(c);
}

// The first installed family of the list that has the character; empty for a box.
QString FamilyFor(const QStringList& families, char32_t c) {
    for (const QString& family : families)
        if (Writes(family, c)) return family;
    return {};
}

class FontCoverageTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "font_tests";
        static char* argv[] = {name, nullptr};
        if (!QGuiApplication::instance()) new QGuiApplication(argc, argv);
    }
};

TEST_F(FontCoverageTest, EveryKnownFaceBecomesAnInstalledFontOfItsScript) {
    for (const FaceEntry& entry : KnownFaces()) {
        const ScriptCase& script = CaseOf(entry.script);
        const QString face = QString::fromUtf8(entry.face.data(), static_cast<qsizetype>(entry.face.size()));
        const QString family = QString::fromUtf8(entry.family.data(), static_cast<qsizetype>(entry.family.size()));
        ASSERT_TRUE(Installed(family)) << entry.family << " (for " << entry.face << ") is not installed";
        QFont font;
        font.setFamilies(QtFontFamilies(entry.face, script.languageId));
        // The face itself when this system has it, else the family the table names.
        const QString used = QFontInfo(font).family();
        EXPECT_TRUE(used.compare(face, Qt::CaseInsensitive) == 0 || used == family)
            << entry.face << " became " << used.toStdString();
        for (const char32_t c : QString::fromUtf8(script.sample).toUcs4())
            EXPECT_TRUE(Writes(used, c)) << used.toStdString() << " lacks U+" << std::hex << static_cast<unsigned>(c);
    }
}

TEST_F(FontCoverageTest, HanCharactersTakeTheFormsOfTheLanguage) {
    // One character, four national forms: the language's family must come first.
    const char32_t bone = 0x9AA8;
    EXPECT_EQ(FamilyFor(QtFontFamilies("Arial", 0x0411), bone), "Noto Sans CJK JP");
    EXPECT_EQ(FamilyFor(QtFontFamilies("Arial", 0x0804), bone), "Noto Sans CJK SC");
    EXPECT_EQ(FamilyFor(QtFontFamilies("Arial", 0x1004), bone), "Noto Sans CJK SC");
    EXPECT_EQ(FamilyFor(QtFontFamilies("Arial", 0x0404), bone), "Noto Sans CJK TC");
    EXPECT_EQ(FamilyFor(QtFontFamilies("Arial", 0x0412), bone), "Noto Sans CJK KR");
    EXPECT_EQ(FamilyFor(QtFontFamilies("SimSun", 0x0411), 'A'), "Noto Sans CJK SC");
    // Latin letters of a Latin face keep its metric twin.
    EXPECT_EQ(FamilyFor(QtFontFamilies("Arial", 0x0411), 'A'), "Liberation Sans");
}

// The program's language id for a language file of Part's table, by its name.
std::uint16_t LanguageIdOfFile(const std::string& name) {
    for (int primary = 1; primary < 0x40; ++primary)
        for (int sub = 1; sub <= 2; ++sub) {
            const auto id = static_cast<std::uint16_t>(sub << 10 | primary);
            if (ChooseLanguageFiles(id).languageFile == name) return id;
        }
    return 0;
}

std::vector<std::string> AllTexts(const TextTables& t) {
    std::vector<std::string> all(t.ui.begin(), t.ui.end());
    all.insert(all.end(), t.messages.begin(), t.messages.end());
    all.insert(all.end(), t.unitWords.begin(), t.unitWords.end());
    all.insert(all.end(), t.functionNames.begin(), t.functionNames.end());
    all.insert(all.end(), t.commandNames.begin(), t.commandNames.end());
    all.insert(all.end(), t.ledCaptions.begin(), t.ledCaptions.end());
    all.push_back(t.messageBoxCaption);
    return all;
}

void ExpectWritten(const QStringList& families, const QString& text, const std::string& where) {
    for (const char32_t c : text.toUcs4()) {
        if (c <= 0x20 || c == 0xA0) continue;
        EXPECT_FALSE(FamilyFor(families, c).isEmpty())
            << where << ": no font for U+" << std::hex << static_cast<unsigned>(c) << " in \"" << text.toStdString()
            << "\"";
    }
}

TEST_F(FontCoverageTest, ShippedLanguageFilesNameFacesThatExistAndHaveEveryCharacter) {
    int files = 0;
    for (const auto& file : fs::directory_iterator(PALLIX_SOURCE_DIR "/resources/Languages")) {
        const std::string name = file.path().filename().string();
        if (file.path().extension() != ".txt") continue;
        const std::uint16_t id = LanguageIdOfFile(name);
        ASSERT_NE(id, 0) << name << " is no file of the language table";
        TextTables t;
        ASSERT_EQ(ReadLanguageFile(file.path(), name, t), LanguageFileStatus::Loaded) << name;
        ++files;
        for (const FontSpec& font : t.fonts) {
            const QStringList families = QtFontFamilies(font.face, id);
            const QString face = QString::fromStdString(font.face);
            const bool known = std::any_of(KnownFaces().begin(), KnownFaces().end(), [&](const FaceEntry& e) {
                return QString::fromUtf8(e.face.data(), static_cast<qsizetype>(e.face.size()))
                           .compare(face, Qt::CaseInsensitive) == 0;
            });
            EXPECT_TRUE(known || Installed(face))
                << name << " names the face \"" << font.face << "\", which neither exists here nor is mapped";
            for (const std::string& text : AllTexts(t))
                ExpectWritten(families, QString::fromStdString(text), name + " with " + font.face);
        }
    }
    EXPECT_GE(files, 3);
}

TEST_F(FontCoverageTest, ShippedTrayFilesHaveEveryCharacter) {
    for (const auto& file : fs::directory_iterator(PALLIX_SOURCE_DIR "/resources/MonitorLanguages")) {
        const QString name = QString::fromStdString(file.path().filename().string());
        if (file.path().extension() != ".txt") continue;
        std::uint16_t id = 0;
        for (int primary = 1; primary < 0x40 && !id; ++primary)
            for (int sub = 1; sub <= 2 && !id; ++sub) {
                const auto candidate = static_cast<std::uint16_t>(sub << 10 | primary);
                if (monitor::LanguageFileName(candidate) == name) id = candidate;
            }
        ASSERT_NE(id, 0) << name.toStdString();
        const monitor::MenuTexts texts = monitor::ReadLanguageFile(QString::fromStdString(file.path().string()), name);
        EXPECT_NE(texts, monitor::EnglishTexts()) << name.toStdString();
        const QFont menu = WithLanguageFamilies(QGuiApplication::font(), id);
        for (const QString& text : texts) ExpectWritten(menu.families(), text, name.toStdString());
    }
}

}  // namespace
}  // namespace pallix::texts

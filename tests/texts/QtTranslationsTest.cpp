// Qt's own dialog texts follow the program's language.
#include <gtest/gtest.h>

#include <QCoreApplication>

#include "app/texts/LanguageChoice.h"
#include "app/texts/qt/QtTranslations.h"

namespace pallix::texts {
namespace {

TEST(QtTranslations, StandardButtonsSpeakTheProgramsLanguage) {
    int argc = 1;
    char name[] = "qt_translations";
    char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);
    const auto cancel = [] { return QCoreApplication::translate("QPlatformTheme", "Cancel"); };
    const struct {
        std::uint16_t id;
        const char* text;
    } cases[] = {{0x0407, "Abbrechen"}, {0x040C, "Annuler"}, {0x0416, "Cancelar"}, {0x0816, "Cancelar"},
                 {0x0419, "\u041E\u0442\u043C\u0435\u043D\u0430"}, {0x0409, "Cancel"}};
    for (const auto& c : cases) {
        EXPECT_EQ(UseQtTranslations(c.id), c.id != 0x0409) << std::hex << c.id;
        EXPECT_EQ(cancel(), QString::fromUtf8(c.text)) << std::hex << c.id;
    }
    // A language Qt has no catalogue for leaves Qt's texts English, not the last ones.
    UseQtTranslations(0x0407);
    EXPECT_FALSE(UseQtTranslations(0x041E));
    EXPECT_EQ(cancel(), QStringLiteral("Cancel"));
}

TEST(QtTranslations, LocaleNamesOfTheLanguages) {
    const std::pair<std::uint16_t, const char*> cases[] = {
        {0x0407, "de"}, {0x0804, "zh_CN"}, {0x1004, "zh_CN"}, {0x0404, "zh_TW"}, {0x0C04, "zh_TW"},
        {0x0416, "pt_BR"}, {0x0816, "pt_BR"}, {0x0411, "ja"}, {0x041E, "th"}, {0x03FF, ""}};
    for (const auto& [id, name] : cases) EXPECT_EQ(LocaleName(id), name) << std::hex << id;
}

}  // namespace
}  // namespace pallix::texts

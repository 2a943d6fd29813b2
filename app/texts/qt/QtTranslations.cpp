#include "app/texts/qt/QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "app/texts/LanguageChoice.h"

namespace pallix::texts {

bool UseQtTranslations(std::uint16_t languageId) {
    static QTranslator* installed = nullptr;
    if (installed) {
        QCoreApplication::removeTranslator(installed);
        delete installed;
        installed = nullptr;
    }
    const std::string name = LocaleName(languageId);
    if (name.empty() || PrimaryLanguage(languageId) == kPrimaryEnglish) return false;
    auto* translator = new QTranslator;
    if (!translator->load(QLocale(QString::fromStdString(name)), QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    installed = translator;
    return true;
}

}  // namespace pallix::texts

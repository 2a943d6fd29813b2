#include "app/texts/qt/LanguageFonts.h"

#include <QGuiApplication>

#include "app/texts/FontFaces.h"

namespace pallix::texts {

QStringList QtFontFamilies(std::string_view face, std::uint16_t languageId) {
    QStringList list;
    for (const std::string& family : FontFamilies(face, languageId)) list << QString::fromStdString(family);
    return list;
}

QFont WithLanguageFamilies(QFont font, std::uint16_t languageId) {
    font.setFamilies(QtFontFamilies(font.family().toStdString(), languageId));
    return font;
}

void UseLanguageFonts(std::uint16_t languageId) {
    QGuiApplication::setFont(WithLanguageFamilies(QGuiApplication::font(), languageId));
}

}  // namespace pallix::texts

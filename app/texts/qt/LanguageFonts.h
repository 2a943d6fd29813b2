#pragma once
// The families of app/texts/FontFaces.h as Qt fonts.
#include <cstdint>
#include <string_view>

#include <QFont>
#include <QStringList>

namespace pallix::texts {

QStringList QtFontFamilies(std::string_view face, std::uint16_t languageId);

// `font` asking for the families of its own face used by the language.
QFont WithLanguageFamilies(QFont font, std::uint16_t languageId);

// The application's font (tooltips, menus, message boxes, every widget without a font
// of its own) keeps its family and gets the language's families after it.
void UseLanguageFonts(std::uint16_t languageId);

}  // namespace pallix::texts

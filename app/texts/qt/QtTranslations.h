#pragma once
// Qt's own texts (the buttons of message boxes, the file dialogs, the context menus of
// text fields) in the program's language, from Qt's translation catalogues
// (qt6-translations-l10n); English where the language has none.
#include <cstdint>

namespace pallix::texts {

// Installs the catalogue for the language; true when one was found.
bool UseQtTranslations(std::uint16_t languageId);

}  // namespace pallix::texts

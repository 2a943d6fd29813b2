#pragma once
// Start-up choice of the language: picks the language file and help document for the
// system language, fills the text tables from the file or, when it is missing or
// broken in any way, from the built-in English texts.
#include <cstdint>
#include <filesystem>
#include <string>

#include "app/texts/ExtraTexts.h"
#include "app/texts/LanguageChoice.h"
#include "app/texts/LanguageFile.h"
#include "app/texts/ProgramFiles.h"

namespace pallix::texts {

struct LanguageState {
    std::uint16_t languageId = kLanguageEnglishUs;  // the system language it was chosen for
    bool languageLoaded = false;                    // true only when the whole file was read
    LanguageFileStatus status = LanguageFileStatus::CannotOpen;
    std::string languageFile;                       // "German.txt"
    std::filesystem::path languagePath;             // where it was found (empty: nowhere)
    std::string helpDocument;                       // the chosen one, or "Information_en.html"
    std::filesystem::path helpPath;                 // where it was found (empty: nowhere)
    std::filesystem::path extraTextsPath;           // ExtraTexts.h file taken (empty: English)
};

// Chooses, reads and installs the tables (SetTexts) and, when the language file
// loaded, the texts beyond them (ExtraTexts.h); remembers the result.
LanguageState LoadLanguage(std::uint16_t languageId, const ProgramFileLocations& where);
// The same for the system language and the default locations.
LanguageState LoadLanguage(SettingsStore* settings);

// The result of the last LoadLanguage (English defaults before the first).
const LanguageState& CurrentLanguage();

// The language whose texts are shown: the one chosen, or English when its file did not
// load.
constexpr std::uint16_t ShownLanguageId(const LanguageState& state) {
    return state.languageLoaded ? state.languageId : kLanguageEnglishUs;
}

// True when the program speaks a language other than English from a file; some
// notices are then given as translated messages instead of English-only pictures.
constexpr bool SpeaksTranslation(const LanguageState& state) {
    return state.languageLoaded && PrimaryLanguage(state.languageId) != kPrimaryEnglish;
}

// The help document to open now: the one chosen at start-up, looked for again (it
// may have been installed or removed since). Empty when it cannot be found; the
// caller then reports message 15 with CurrentLanguage().helpDocument.
std::filesystem::path FindHelpDocument(const ProgramFileLocations& where);

}  // namespace pallix::texts

#pragma once
// Which language file and help document the program uses, chosen by the primary
// language of the system's language identifier. Identifiers follow the established
// numbering: primary language in bits 0-9, sub-language in bits 10-15.
#include <cstdint>
#include <string>
#include <string_view>

namespace pallix::texts {

inline constexpr std::uint16_t kLanguageEnglishUs = 0x0409;
inline constexpr int kPrimaryEnglish = 9;

constexpr int PrimaryLanguage(std::uint16_t languageId) { return languageId & 0x3FF; }

// A POSIX locale name ("de_DE.UTF-8", "zh_TW", "pt_BR@euro", "C") as a language
// identifier; unknown languages, "C" and "POSIX" give English (0x0409).
std::uint16_t LanguageIdFromLocale(std::string_view locale);
// The system's language: LC_ALL, else LC_MESSAGES, else LANG (the first one set and
// not empty), through LanguageIdFromLocale.
std::uint16_t SystemLanguageId();

struct LanguageFiles {
    std::string languageFile;  // "German.txt"
    std::string helpDocument;  // "Information_de.html"
};
LanguageFiles ChooseLanguageFiles(std::uint16_t languageId);

inline constexpr std::string_view kEnglishHelpDocument = "Information_en.html";
inline constexpr std::string_view kHelpFolder = "HELP";
inline constexpr std::string_view kLanguageFolder = "Languages";

}  // namespace pallix::texts

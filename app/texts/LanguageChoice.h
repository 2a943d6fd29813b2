#pragma once
// Which language file and help document the program uses, chosen by the primary
// language of the system's language identifier. Identifiers follow the established
// numbering: primary language in bits 0-9, sub-language in bits 10-15.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace pallix::texts {

inline constexpr std::uint16_t kLanguageEnglishUs = 0x0409;
inline constexpr int kPrimaryEnglish = 9;

constexpr int PrimaryLanguage(std::uint16_t languageId) { return languageId & 0x3FF; }

// Chinese in the simplified script: the mainland (0x0804) and Singapore (0x1004); every
// other Chinese identifier is taken as the traditional script.
constexpr bool IsSimplifiedChinese(std::uint16_t languageId) {
    return PrimaryLanguage(languageId) == 4 && ((languageId >> 10) == 2 || (languageId >> 10) == 4);
}

// A POSIX locale name ("de_DE.UTF-8", "zh_TW", "pt_BR@euro", "C") as a language
// identifier; unknown languages, "C" and "POSIX" give English (0x0409).
std::uint16_t LanguageIdFromLocale(std::string_view locale);

// The desktop's languages, most wanted first, as gettext reads them: the entries of
// LANGUAGE (a colon-separated list), then the first of LC_ALL, LC_MESSAGES, LANG that
// is set and not empty.
std::vector<std::string> DesktopLanguages();

// Whether a program has texts of its own for a language identifier.
using SpokenLanguage = std::function<bool(std::uint16_t languageId)>;
// The first desktop language that `spoken` accepts; English (0x0409) when none is.
// The configuration program and the monitor each pass their own list of files.
std::uint16_t SystemLanguageId(const SpokenLanguage& spoken);
// The same for the configuration program's language files (ChooseLanguageFiles).
std::uint16_t SystemLanguageId();

// The locale name of a language identifier as translation catalogues are named
// ("de", "zh_CN", "zh_TW", "pt_BR": the program's Portuguese is Brazil's); empty for
// an identifier the table does not know.
std::string LocaleName(std::uint16_t languageId);

struct LanguageFiles {
    std::string languageFile;  // "German.txt"
    std::string helpDocument;  // "Information_de.html"
};
LanguageFiles ChooseLanguageFiles(std::uint16_t languageId);

inline constexpr std::string_view kEnglishHelpDocument = "Information_en.html";
inline constexpr std::string_view kHelpFolder = "HELP";
inline constexpr std::string_view kLanguageFolder = "Languages";

}  // namespace pallix::texts

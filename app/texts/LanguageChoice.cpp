#include "app/texts/LanguageChoice.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <optional>

namespace pallix::texts {
namespace {

struct Primary {
    std::string_view iso;  // ISO 639 code
    int primary;
};

// ISO 639 codes and the primary-language numbers of the identifiers.
constexpr Primary kPrimaries[] = {
    {"ar", 0x01}, {"bg", 0x02}, {"ca", 0x03}, {"zh", 0x04}, {"cs", 0x05}, {"da", 0x06},
    {"de", 0x07}, {"el", 0x08}, {"en", 0x09}, {"es", 0x0A}, {"fi", 0x0B}, {"fr", 0x0C},
    {"he", 0x0D}, {"hu", 0x0E}, {"is", 0x0F}, {"it", 0x10}, {"ja", 0x11}, {"ko", 0x12},
    {"nl", 0x13}, {"nb", 0x14}, {"nn", 0x14}, {"no", 0x14}, {"pl", 0x15}, {"pt", 0x16},
    {"rm", 0x17}, {"ro", 0x18}, {"ru", 0x19}, {"hr", 0x1A}, {"sr", 0x1A}, {"bs", 0x1A},
    {"sk", 0x1B}, {"sq", 0x1C}, {"sv", 0x1D}, {"th", 0x1E}, {"tr", 0x1F}, {"ur", 0x20},
    {"id", 0x21}, {"uk", 0x22}, {"be", 0x23}, {"sl", 0x24}, {"et", 0x25}, {"lv", 0x26},
    {"lt", 0x27}, {"fa", 0x29}, {"vi", 0x2A}, {"hy", 0x2B}, {"eu", 0x2D}, {"mk", 0x2F},
    {"af", 0x36}, {"ka", 0x37}, {"hi", 0x39}, {"ms", 0x3E}, {"kk", 0x3F}, {"sw", 0x41},
    {"gl", 0x56},
};

struct Region {
    int primary;
    std::string_view region;
    int sub;
};

// Regions whose sub-language decides something (Chinese script, Portuguese).
constexpr Region kRegions[] = {
    {0x04, "TW", 1}, {0x04, "CN", 2}, {0x04, "HK", 3}, {0x04, "SG", 4}, {0x04, "MO", 5},
    {0x16, "BR", 1}, {0x16, "PT", 2}, {0x04, "HANT", 1}, {0x04, "HANS", 2},
};

std::string Lower(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

std::string Upper(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

// The identifier of a locale name; nothing for a language the table does not know.
// "C" and "POSIX" are English.
std::optional<std::uint16_t> KnownLanguageId(std::string_view locale) {
    // language[_REGION][.codeset][@modifier]
    locale = locale.substr(0, std::min(locale.find('.'), locale.find('@')));
    const auto sep = locale.find_first_of("_-");
    const std::string language = Lower(locale.substr(0, sep));
    const std::string region = sep == std::string_view::npos ? std::string() : Upper(locale.substr(sep + 1));
    const auto* found = std::find_if(std::begin(kPrimaries), std::end(kPrimaries),
                                     [&](const Primary& p) { return p.iso == language; });
    if (found == std::end(kPrimaries)) {
        if (language == "c" || language == "posix") return kLanguageEnglishUs;
        return std::nullopt;
    }
    int sub = 1;
    for (const Region& r : kRegions)
        if (r.primary == found->primary && r.region == region) sub = r.sub;
    // Chinese without a region: the simplified script, as on the mainland.
    if (found->primary == 0x04 && region.empty()) sub = 2;
    return static_cast<std::uint16_t>((sub << 10) | found->primary);
}

}  // namespace

std::uint16_t LanguageIdFromLocale(std::string_view locale) {
    return KnownLanguageId(locale).value_or(kLanguageEnglishUs);
}

std::string LocaleName(std::uint16_t languageId) {
    const int primary = PrimaryLanguage(languageId);
    if (primary == 0x04) return IsSimplifiedChinese(languageId) ? "zh_CN" : "zh_TW";
    if (primary == 0x16) return "pt_BR";
    for (const Primary& p : kPrimaries)
        if (p.primary == primary) return std::string(p.iso);
    return {};
}

std::vector<std::string> DesktopLanguages() {
    std::vector<std::string> languages;
    if (const char* list = std::getenv("LANGUAGE")) {
        std::string_view rest(list);
        while (!rest.empty()) {
            const auto colon = rest.find(':');
            const std::string_view entry = rest.substr(0, colon);
            if (!entry.empty()) languages.emplace_back(entry);
            rest = colon == std::string_view::npos ? std::string_view() : rest.substr(colon + 1);
        }
    }
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value && *value) {
            languages.emplace_back(value);
            break;
        }
    }
    return languages;
}

std::uint16_t SystemLanguageId(const SpokenLanguage& spoken) {
    // A language the program has no texts for hands on to the next one, as gettext does.
    for (const std::string& locale : DesktopLanguages()) {
        const std::optional<std::uint16_t> id = KnownLanguageId(locale);
        // English is always spoken: a desktop that asks for it first gets it.
        if (id && (PrimaryLanguage(*id) == kPrimaryEnglish || spoken(*id))) return *id;
    }
    return kLanguageEnglishUs;
}

std::uint16_t SystemLanguageId() {
    return SystemLanguageId(
        [](std::uint16_t id) { return ChooseLanguageFiles(id).helpDocument != kEnglishHelpDocument; });
}

LanguageFiles ChooseLanguageFiles(std::uint16_t languageId) {
    switch (PrimaryLanguage(languageId)) {
    case 4:
        if (IsSimplifiedChinese(languageId)) return {"SimpleChinese.txt", "Information_sc.html"};
        return {"TradionalChinese.txt", "Information_tc.html"};
    case 5: return {"Czech.txt", "Information_cz.html"};
    case 7: return {"German.txt", "Information_de.html"};
    case 10: return {"Spanish.txt", "Information_sp.html"};
    case 12: return {"French.txt", "Information_fr.html"};
    case 16: return {"Italian.txt", "Information_it.html"};
    case 17: return {"Japanese.txt", "Information_jp.html"};
    case 18: return {"Korean.txt", "Information_ko.html"};
    case 21: return {"Polish.txt", "Information_po.html"};
    case 22: return {"Brasil.txt", "Information_br.html"};
    case 25: return {"Russian.txt", "Information_ru.html"};
    case 30: return {"Thai.txt", "Information_th.html"};
    case 31: return {"Turkish.txt", "Information_tk.html"};
    default: return {"English.txt", std::string(kEnglishHelpDocument)};
    }
}

}  // namespace pallix::texts

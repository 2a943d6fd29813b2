#include "app/texts/FontFaces.h"

#include <algorithm>
#include <cctype>

#include "app/texts/LanguageChoice.h"

namespace pallix::texts {
namespace {

constexpr std::string_view kLiberation = "Liberation Sans";
constexpr std::string_view kDejaVu = "DejaVu Sans";
constexpr std::string_view kJapanese = "Noto Sans CJK JP";
constexpr std::string_view kSimplified = "Noto Sans CJK SC";
constexpr std::string_view kTraditional = "Noto Sans CJK TC";
constexpr std::string_view kKorean = "Noto Sans CJK KR";
constexpr std::string_view kThai = "Loma";

// Faces of that other system's user interfaces, under their English and their own
// names, and the families of this one under theirs.
constexpr FaceEntry kFaces[] = {
    {"Arial", Script::Latin, kLiberation},
    {"Helvetica", Script::Latin, kLiberation},
    {"Liberation Sans", Script::Latin, kLiberation},
    {"Arial Rounded MT Bold", Script::Latin, kDejaVu},
    {"Tahoma", Script::Latin, kDejaVu},
    {"Verdana", Script::Latin, kDejaVu},
    {"Segoe UI", Script::Latin, kDejaVu},
    {"Microsoft Sans Serif", Script::Latin, kDejaVu},
    {"MS Sans Serif", Script::Latin, kDejaVu},
    {"Trebuchet MS", Script::Latin, kDejaVu},
    {"Calibri", Script::Latin, kDejaVu},
    {"DejaVu Sans", Script::Latin, kDejaVu},

    {"MS UI Gothic", Script::Japanese, kJapanese},
    {"MS Gothic", Script::Japanese, kJapanese},
    {"MS PGothic", Script::Japanese, kJapanese},
    {"\xEF\xBC\xAD\xEF\xBC\xB3 \xE3\x82\xB4\xE3\x82\xB7\xE3\x83\x83\xE3\x82\xAF", Script::Japanese, kJapanese},  // ＭＳ ゴシック
    {"\xEF\xBC\xAD\xEF\xBC\xB3 \xEF\xBC\xB0\xE3\x82\xB4\xE3\x82\xB7\xE3\x83\x83\xE3\x82\xAF", Script::Japanese, kJapanese},  // ＭＳ Ｐゴシック
    {"Meiryo", Script::Japanese, kJapanese},
    {"Meiryo UI", Script::Japanese, kJapanese},
    {"\xE3\x83\xA1\xE3\x82\xA4\xE3\x83\xAA\xE3\x82\xAA", Script::Japanese, kJapanese},  // メイリオ
    {"Yu Gothic", Script::Japanese, kJapanese},
    {"Yu Gothic UI", Script::Japanese, kJapanese},
    {"Noto Sans CJK JP", Script::Japanese, kJapanese},

    {"SimSun", Script::SimplifiedChinese, kSimplified},
    {"NSimSun", Script::SimplifiedChinese, kSimplified},
    {"\xE5\xAE\x8B\xE4\xBD\x93", Script::SimplifiedChinese, kSimplified},  // 宋体
    {"\xE6\x96\xB0\xE5\xAE\x8B\xE4\xBD\x93", Script::SimplifiedChinese, kSimplified},  // 新宋体
    {"SimHei", Script::SimplifiedChinese, kSimplified},
    {"\xE9\xBB\x91\xE4\xBD\x93", Script::SimplifiedChinese, kSimplified},  // 黑体
    {"Microsoft YaHei", Script::SimplifiedChinese, kSimplified},
    {"Microsoft YaHei UI", Script::SimplifiedChinese, kSimplified},
    {"\xE5\xBE\xAE\xE8\xBD\xAF\xE9\x9B\x85\xE9\xBB\x91", Script::SimplifiedChinese, kSimplified},  // 微软雅黑
    {"Noto Sans CJK SC", Script::SimplifiedChinese, kSimplified},

    {"PMingLiU", Script::TraditionalChinese, kTraditional},
    {"MingLiU", Script::TraditionalChinese, kTraditional},
    {"\xE6\x96\xB0\xE7\xB4\xB0\xE6\x98\x8E\xE9\xAB\x94", Script::TraditionalChinese, kTraditional},  // 新細明體
    {"\xE7\xB4\xB0\xE6\x98\x8E\xE9\xAB\x94", Script::TraditionalChinese, kTraditional},  // 細明體
    {"Microsoft JhengHei", Script::TraditionalChinese, kTraditional},
    {"Microsoft JhengHei UI", Script::TraditionalChinese, kTraditional},
    {"\xE5\xBE\xAE\xE8\xBB\x9F\xE6\xAD\xA3\xE9\xBB\x91\xE9\xAB\x94", Script::TraditionalChinese, kTraditional},  // 微軟正黑體
    {"Noto Sans CJK TC", Script::TraditionalChinese, kTraditional},

    {"Gulim", Script::Korean, kKorean},
    {"GulimChe", Script::Korean, kKorean},
    {"\xEA\xB5\xB4\xEB\xA6\xBC", Script::Korean, kKorean},  // 굴림
    {"Dotum", Script::Korean, kKorean},
    {"\xEB\x8F\x8B\xEC\x9B\x80", Script::Korean, kKorean},  // 돋움
    {"Batang", Script::Korean, kKorean},
    {"Malgun Gothic", Script::Korean, kKorean},
    {"\xEB\xA7\x91\xEC\x9D\x80 \xEA\xB3\xA0\xEB\x94\x95", Script::Korean, kKorean},  // 맑은 고딕
    {"Noto Sans CJK KR", Script::Korean, kKorean},

    {"Angsana New", Script::Thai, kThai},
    {"AngsanaUPC", Script::Thai, kThai},
    {"Cordia New", Script::Thai, kThai},
    {"CordiaUPC", Script::Thai, kThai},
    {"Browallia New", Script::Thai, kThai},
    {"Leelawadee", Script::Thai, kThai},
    {"Leelawadee UI", Script::Thai, kThai},
    {"Loma", Script::Thai, kThai},
};

bool SameFace(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

void AddOnce(std::vector<std::string>& list, std::string_view family) {
    if (std::none_of(list.begin(), list.end(), [&](const std::string& f) { return SameFace(f, family); }))
        list.emplace_back(family);
}

}  // namespace

std::span<const FaceEntry> KnownFaces() { return kFaces; }

Script LanguageScript(std::uint16_t languageId) {
    switch (PrimaryLanguage(languageId)) {
    case 0x04: return IsSimplifiedChinese(languageId) ? Script::SimplifiedChinese : Script::TraditionalChinese;
    case 0x11: return Script::Japanese;
    case 0x12: return Script::Korean;
    case 0x1E: return Script::Thai;
    default: return Script::Latin;
    }
}

std::vector<std::string> ScriptFamilies(Script script) {
    switch (script) {
    case Script::Latin: return {std::string(kLiberation), std::string(kDejaVu)};
    case Script::Japanese: return {std::string(kJapanese)};
    case Script::SimplifiedChinese: return {std::string(kSimplified)};
    case Script::TraditionalChinese: return {std::string(kTraditional)};
    case Script::Korean: return {std::string(kKorean)};
    case Script::Thai: return {std::string(kThai), "Noto Sans Thai", "Garuda"};
    }
    return {};
}

std::vector<std::string> FontFamilies(std::string_view face, std::uint16_t languageId) {
    std::vector<std::string> families;
    if (!face.empty()) AddOnce(families, face);
    for (const FaceEntry& entry : kFaces)
        if (SameFace(entry.face, face)) AddOnce(families, entry.family);
    for (const std::string& family : ScriptFamilies(LanguageScript(languageId))) AddOnce(families, family);
    AddOnce(families, kDejaVu);
    return families;
}

}  // namespace pallix::texts

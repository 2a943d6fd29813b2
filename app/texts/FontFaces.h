#pragma once
// The font faces a language file may name, as families a Debian desktop has. Language
// files were written for another system's faces ("Arial", "MS UI Gothic", "SimSun"),
// so each face gets the installed families that look like it and cover its script,
// and each language the families that cover its script with the right glyph forms
// (a Japanese kanji is not drawn like its Chinese twin). The families come from the
// packages the Debian package recommends: fonts-liberation2, fonts-dejavu-core,
// fonts-noto-cjk, fonts-tlwg-loma-otf.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace pallix::texts {

enum class Script { Latin, Japanese, SimplifiedChinese, TraditionalChinese, Korean, Thai };

struct FaceEntry {
    std::string_view face;  // as a language file names it
    Script script;          // what the face was made to write
    std::string_view family;  // the installed family it becomes
};

// Every face the table knows.
std::span<const FaceEntry> KnownFaces();

// The script a language is written in (Latin for Cyrillic and Greek too: the Latin
// families cover them).
Script LanguageScript(std::uint16_t languageId);

// Families that cover a script, best first.
std::vector<std::string> ScriptFamilies(Script script);

// The families to ask for, in order, for a face used by a language: the face itself,
// what the table makes of it, the families of the language's script, DejaVu Sans
// last. A font engine takes the first installed family for each character.
std::vector<std::string> FontFamilies(std::string_view face, std::uint16_t languageId);

}  // namespace pallix::texts

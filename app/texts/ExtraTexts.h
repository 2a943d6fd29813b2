#pragma once
// Texts the Linux programs show beyond the language files' tables: the notice for a
// mouse closed to the user, the device-selection text, file-dialog filters and the
// like. Built-in English; a language's own file replaces them one by one.
//
// File: "Texts/<language file's base name>.texts" (German.texts beside German.txt),
// UTF-8, one "key = text" per line, blank lines and lines starting with # ignored,
// "\n" for a line break and "\\" for a backslash in a text. A text must keep the
// places (%1, %2) of the English one; a text that does not, an unknown key or a line
// that is not valid UTF-8 is skipped, so that entry stays English.
#include <filesystem>
#include <initializer_list>
#include <string>
#include <string_view>

namespace pallix::texts {

enum ExtraText : int {
    EXTRA_NO_ACCESS = 0,          // %1 the device node, %2 the udev rule's name
    EXTRA_SELECT_MOUSE,           // the device-selection dialog's text
    EXTRA_APPLICATION_FILES,      // file-dialog filter names
    EXTRA_MACRO_FILES,
    EXTRA_ALL_FILES,
    EXTRA_NO_PERFORMANCE,         // a window that this build cannot open
    EXTRA_NO_MACRO_EDITOR,
    EXTRA_NO_LIGHTING,
    kExtraTextCount
};

inline constexpr std::string_view kExtraTextFolder = "Texts";
inline constexpr std::string_view kExtraTextSuffix = ".texts";

// The key of an entry in the file ("no-access"); empty outside the table.
std::string_view ExtraTextKey(int index);
const std::string& EnglishExtraText(int index);

// The text in use (UTF-8); empty outside the table.
const std::string& Extra(int index);
// The same with its places filled in.
std::string Extra(int index, std::initializer_list<std::string_view> arguments);

struct ExtraTextsRead {
    bool opened = false;
    int taken = 0;    // entries replaced
    int skipped = 0;  // lines not taken (unknown key, lost place, bad UTF-8, no "=")
};
// Parses a file's bytes over the English texts and puts the result in use.
ExtraTextsRead ParseExtraTexts(std::string_view bytes);
// Reads a file (at most 64 KiB); a missing one leaves the English texts in use.
ExtraTextsRead LoadExtraTexts(const std::filesystem::path& file);
void UseEnglishExtraTexts();

// "German.txt" -> "German.texts".
std::string ExtraTextFileName(std::string_view languageFile);

// The notice for a mouse the user may not open, in the language in use.
std::string NoAccessNotice(const std::string& path);

}  // namespace pallix::texts

#pragma once
// Language files: UTF-16 little-endian text with a byte-order mark, lines ending in
// CR LF, holding every entry of the text tables in a fixed order and, last, the
// file's own name. A file is taken whole or not at all.
#include <filesystem>
#include <string>
#include <string_view>

#include "app/texts/TextTables.h"

namespace pallix::texts {

enum class LanguageFileStatus {
    Loaded,
    CannotOpen,       // missing, not a regular file, unreadable or unreasonably large
    NoByteOrderMark,  // does not start with U+FEFF
    OutOfLines,       // ends before the last line
    LineTooLong,      // no CR LF within 1023 characters
    WrongLastLine,    // the last line is not the file's own name
};

// Largest file taken: far above a real language file, far below trouble.
inline constexpr std::uintmax_t kMaxLanguageFileBytes = 1u << 20;

// Reads the file into `tables`. On any status but Loaded `tables` may hold part of the
// file; the caller falls back to the defaults. Texts longer than their table entry
// are cut to its capacity; numbers are read like the C library's atoi, saturating.
LanguageFileStatus ReadLanguageFile(const std::filesystem::path& file, std::string_view ownName,
                                    TextTables& tables);
// The same on bytes already in memory.
LanguageFileStatus ParseLanguageFile(std::string_view bytes, std::string_view ownName, TextTables& tables);

// The file that ReadLanguageFile reads back as `tables` (UTF-16LE bytes).
std::string EncodeLanguageFile(const TextTables& tables, std::string_view ownName);

const char* LanguageFileStatusName(LanguageFileStatus status);

}  // namespace pallix::texts

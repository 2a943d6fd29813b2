#pragma once
// The macro folder: one .Mac file per macro, named after the macro. The folder's
// path comes from the platform layer (platform/UserDirs.h) or the caller.
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "macro/FileResult.h"

namespace pallix::macro {

inline constexpr std::string_view kMacroFolderName = "PALLIX Ostrel";
inline constexpr std::string_view kMacroExtension = ".Mac";

// folder / (name + ".Mac"); empty when the folder or the name is empty, or when the
// name would leave the folder (a path separator, "." or "..").
std::filesystem::path BuildMacroPath(const std::filesystem::path& folder, std::string_view name);

// Names of the macros in the folder: every file whose name is longer than 4
// characters and ends in "mac" in any case, less its last 4 characters. Sorted.
std::vector<std::string> ListMacros(const std::filesystem::path& folder);

// A new macro file holding the empty header. MacroExists when the file is there
// (it is left untouched); FilePathNotFound + path, WriteFailed otherwise.
FileResult CreateMacroFile(const std::filesystem::path& folder, std::string_view name);

// The macro name an imported file gets: its name less the extension, less a final
// ".mac" in any case still there.
std::string ImportedMacroName(const std::filesystem::path& source);

// Copies a file into the folder under ImportedMacroName(source) + ".Mac", never
// over an existing one. On success the result's suffix is the new macro's name.
// Failures: MacroExists + name, FilePathNotFound + path (empty name, unreadable
// source, folder not writable), WriteFailed.
FileResult ImportMacroFile(const std::filesystem::path& folder, const std::filesystem::path& source);

// Removes the macro's file. FilePathNotFound + path when there is none to remove.
FileResult DeleteMacroFile(const std::filesystem::path& folder, std::string_view name);

}  // namespace pallix::macro

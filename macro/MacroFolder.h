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

// One macro of the folder: its name and the file it was listed from (x.MAC and
// x.mac are both "x"; the file name is what leads back to the file).
struct MacroEntry {
    std::string name;
    std::string file;
    friend bool operator==(const MacroEntry&, const MacroEntry&) = default;
};

// Every file whose name is longer than 4 characters and ends in "mac" in any case,
// named by its file name less the last 4 characters. Sorted by name, then file.
std::vector<MacroEntry> ListMacroEntries(const std::filesystem::path& folder);
// The names of ListMacroEntries.
std::vector<std::string> ListMacros(const std::filesystem::path& folder);

// folder / entry.file; empty when the folder is empty or the file name is not a
// plain name in that folder.
std::filesystem::path EntryPath(const std::filesystem::path& folder, const MacroEntry& entry);

// The file a macro name stands for: name + ".Mac" when it is there, else the first
// listed file of that name (x.MAC); empty when no file carries the name.
std::filesystem::path FindMacroFile(const std::filesystem::path& folder, std::string_view name);

// A new macro file name + ".Mac" holding the empty header. MacroExists when a file
// of that name is there in any extension case (it is left untouched);
// FilePathNotFound + path, WriteFailed otherwise.
FileResult CreateMacroFile(const std::filesystem::path& folder, std::string_view name);

// The macro name an imported file gets: its name less the extension, less a final
// ".mac" in any case still there.
std::string ImportedMacroName(const std::filesystem::path& source);

// Copies a file into the folder under ImportedMacroName(source) + ".Mac", never
// over a macro of that name (in any extension case). On success the result's
// suffix is the new macro's name.
// Failures: MacroExists + name, FilePathNotFound + path (empty name, unreadable
// source, folder not writable), WriteFailed.
FileResult ImportMacroFile(const std::filesystem::path& folder, const std::filesystem::path& source);

// Removes the entry's file. FilePathNotFound + path when there is none to remove.
FileResult DeleteMacroFile(const std::filesystem::path& folder, const MacroEntry& entry);

}  // namespace pallix::macro

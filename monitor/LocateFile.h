#pragma once
// Finding the files the monitor starts or loads: the configuration program, the
// display library and the programs bound to launcher buttons.
//
// Only trusted folders are searched: the "Path" installation folder and the
// monitor's own folder (then the installed folders for the program and the
// library). The current directory is never searched, since a program or library
// placed there by somebody else would run as the user.
#include <optional>
#include <string>

#include "common/SettingsStore.h"

namespace pallix::monitor {

// Longest path the monitor accepts, in bytes.
inline constexpr std::size_t kMaxPathLength = 1023;

// True when path names a regular file that this user can open for reading.
bool IsReadableFile(const std::string& path);

// An absolute name as it is; a relative name inside the "Path" folder, then inside
// ownFolder. nullopt when none of them is a readable file.
std::optional<std::string> LocateFile(SettingsStore& store, const std::string& name, const std::string& ownFolder);

// The configuration program: "Locate APP" when it names a readable file, else
// LocateFile("Pallix"), else installedBinFolder/Pallix. Empty when not found.
std::string LocateConfigurationProgram(SettingsStore& store, const std::string& ownFolder,
                                       const std::string& installedBinFolder);

inline constexpr const char* kOsdLibraryName = "libQx7Osd.so";
// Where the display library is loaded from: LocateFile's answer, else the installed
// library folder (tried without an existence test; loading it may fail).
std::string OsdLibraryPath(SettingsStore& store, const std::string& ownFolder, const std::string& installedLibFolder);

}  // namespace pallix::monitor

#pragma once
// The installed folders, relative to the folder of the running program: the install
// rules put every program into one bin folder, so <bin>/../share/pallix-ostrel and
// <bin>/../lib (as configured) hold the rest wherever the tree was installed.
#include <filesystem>

namespace pallix {

// The folder of the running program's file (links resolved); empty when it cannot
// be told.
std::filesystem::path ExecutableFolder();

// <datadir>/pallix-ostrel for a program installed in programFolder; empty for an
// empty programFolder.
std::filesystem::path InstalledDataFolder(const std::filesystem::path& programFolder);
// <libdir>, where libQx7Osd.so is installed; empty for an empty programFolder.
std::filesystem::path InstalledLibFolder(const std::filesystem::path& programFolder);

// A program run from a CMake build tree lies in a folder of its own below the
// build's root (which holds CMakeCache.txt): that root, or empty when programFolder
// is not such a folder (an installation).
std::filesystem::path BuildTreeRoot(const std::filesystem::path& programFolder);

}  // namespace pallix

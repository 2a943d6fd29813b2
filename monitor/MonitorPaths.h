#pragma once
// The folders the monitor searches, seen from its own file so an installation works
// wherever it was put, and a report of what it finds there (--print-paths).
#include <string>

#include "common/SettingsStore.h"
#include "monitor/CCommandDispatcher.h"

namespace pallix::monitor {

// Where the build puts the configuration program, below the build tree's root.
inline constexpr const char* kBuildTreeProgramFolder = "app";

// Own folder = the monitor's folder, which is also the installed bin folder (in a
// build tree: the configuration program's folder); the library and language
// folders as the install rules lay them out from there.
MonitorFolders InstalledMonitorFolders();

// One line each: the configuration program, the display library and the language
// file the monitor would use now ("not found" / "built-in English" where none).
std::string DescribeFoundFiles(SettingsStore& store, const MonitorFolders& folders);

}  // namespace pallix::monitor

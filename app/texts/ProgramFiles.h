#pragma once
// Finding the program's help documents and language files.
#include <filesystem>
#include <string_view>

#include "common/SettingNames.h"

namespace pallix {
class SettingsStore;
}

namespace pallix::texts {

// Where FindProgramFile looks besides the name itself.
struct ProgramFileLocations {
    SettingsStore* settings = nullptr;     // holds "Path", the installation folder
    std::filesystem::path programFolder;   // the folder of the running program
    std::filesystem::path dataFolder;      // the installed data folder
};

// The settings store given, the running program's folder and the data folder the
// build was configured with.
ProgramFileLocations DefaultLocations(SettingsStore* settings);
// The folder of the running program (empty when it cannot be told).
std::filesystem::path ProgramFolder();
// The installed data folder (<datadir>/pallix-ostrel) seen from the running program's
// folder, so it follows the installation wherever it was put.
std::filesystem::path InstalledDataFolder();

// First hit wins: the name itself as a path; "Path" / folder / name; program folder /
// folder / name; data folder / folder / name. A hit is a regular file that opens
// for reading. Empty when none is found.
std::filesystem::path FindProgramFile(std::string_view name, std::string_view folder,
                                      const ProgramFileLocations& where);

}  // namespace pallix::texts

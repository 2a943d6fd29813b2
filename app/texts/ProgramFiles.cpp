#include "app/texts/ProgramFiles.h"

#include <fstream>
#include <string>

#include "common/SettingsStore.h"
#include "programinfo/InstallLayout.h"

namespace pallix::texts {
namespace fs = std::filesystem;

namespace {

bool Opens(const fs::path& file) {
    std::error_code ec;
    if (file.empty() || !fs::is_regular_file(file, ec)) return false;
    std::ifstream in(file, std::ios::binary);
    return static_cast<bool>(in);
}

}  // namespace

fs::path ProgramFolder() { return ExecutableFolder(); }

fs::path InstalledDataFolder() { return pallix::InstalledDataFolder(ProgramFolder()); }

ProgramFileLocations DefaultLocations(SettingsStore* settings) {
    return {settings, ProgramFolder(), InstalledDataFolder()};
}

fs::path FindProgramFile(std::string_view name, std::string_view folder, const ProgramFileLocations& where) {
    if (name.empty()) return {};
    const fs::path asGiven(name);
    if (Opens(asGiven)) return asGiven;
    // The other places take a plain file name only, so a name cannot climb out of them.
    const fs::path leaf = asGiven.filename();
    if (leaf != asGiven || leaf == "." || leaf == "..") return {};
    std::string installation;
    if (where.settings && where.settings->ReadString(kPathValue, installation) && !installation.empty()) {
        const fs::path candidate = fs::path(installation) / folder / leaf;
        if (Opens(candidate)) return candidate;
    }
    for (const fs::path& base : {where.programFolder, where.dataFolder}) {
        if (base.empty()) continue;
        const fs::path candidate = base / folder / leaf;
        if (Opens(candidate)) return candidate;
    }
    return {};
}

}  // namespace pallix::texts

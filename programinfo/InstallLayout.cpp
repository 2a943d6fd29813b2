#include "programinfo/InstallLayout.h"

#include <system_error>

namespace pallix {
namespace fs = std::filesystem;

namespace {

fs::path Below(const fs::path& programFolder, const char* relative) {
    if (programFolder.empty()) return {};
    return (programFolder / relative).lexically_normal();
}

}  // namespace

fs::path ExecutableFolder() {
    std::error_code ec;
    const fs::path self = fs::read_symlink("/proc/self/exe", ec);
    return ec ? fs::path() : self.parent_path();
}

fs::path InstalledDataFolder(const fs::path& programFolder) { return Below(programFolder, PALLIX_BIN_TO_DATA); }

fs::path InstalledLibFolder(const fs::path& programFolder) { return Below(programFolder, PALLIX_BIN_TO_LIB); }

}  // namespace pallix

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

fs::path BuildTreeRoot(const fs::path& programFolder) {
    if (programFolder.empty()) return {};
    const fs::path root = programFolder.lexically_normal().parent_path();
    std::error_code ec;
    return fs::is_regular_file(root / "CMakeCache.txt", ec) ? root : fs::path();
}

}  // namespace pallix

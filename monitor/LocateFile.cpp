#include "monitor/LocateFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "common/SettingNames.h"

namespace pallix::monitor {

namespace {

std::string Join(const std::string& folder, const std::string& name) {
    if (folder.empty()) return {};
    return folder.back() == '/' ? folder + name : folder + "/" + name;
}

}  // namespace

bool IsReadableFile(const std::string& path) {
    if (path.empty() || path.size() > kMaxPathLength || path.find('\0') != std::string::npos) return false;
    // Non-blocking, so a FIFO planted under the name cannot stall the monitor.
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) return false;
    struct stat st {};
    const bool regular = fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    close(fd);
    return regular;
}

std::optional<std::string> LocateFile(SettingsStore& store, const std::string& name, const std::string& ownFolder) {
    if (name.empty() || name.size() > kMaxPathLength) return std::nullopt;
    if (name.front() == '/') {
        if (IsReadableFile(name)) return name;
        return std::nullopt;
    }
    std::string installation;
    if (store.ReadString(kPathValue, installation) && !installation.empty() && installation.front() == '/') {
        const std::string candidate = Join(installation, name);
        if (IsReadableFile(candidate)) return candidate;
    }
    const std::string beside = Join(ownFolder, name);
    if (IsReadableFile(beside)) return beside;
    return std::nullopt;
}

std::string LocateConfigurationProgram(SettingsStore& store, const std::string& ownFolder,
                                       const std::string& installedBinFolder) {
    std::string stored;
    if (store.ReadString(kLocateAppValue, stored) && !stored.empty() && stored.front() == '/' &&
        IsReadableFile(stored))
        return stored;
    if (auto found = LocateFile(store, "Pallix", ownFolder)) return *found;
    const std::string installed = Join(installedBinFolder, "Pallix");
    return IsReadableFile(installed) ? installed : std::string();
}

std::string OsdLibraryPath(SettingsStore& store, const std::string& ownFolder, const std::string& installedLibFolder) {
    if (auto found = LocateFile(store, kOsdLibraryName, ownFolder)) return *found;
    return Join(installedLibFolder, kOsdLibraryName);
}

}  // namespace pallix::monitor

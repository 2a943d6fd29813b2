#include "platform/pointer/KdeConfigFile.h"

#include <cerrno>
#include <charconv>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/pointer/KdeConfigText.h"

namespace pallix {

namespace {

std::vector<std::string> SystemConfigDirs() {
    const char* env = std::getenv("XDG_CONFIG_DIRS");
    std::string dirs = env && *env ? env : "/etc/xdg";
    std::vector<std::string> out;
    std::size_t start = 0;
    while (start <= dirs.size()) {
        const auto colon = dirs.find(':', start);
        const std::string dir = dirs.substr(start, colon == std::string::npos ? std::string::npos : colon - start);
        if (!dir.empty() && dir.front() == '/') out.push_back(dir);
        if (colon == std::string::npos) break;
        start = colon + 1;
    }
    return out;
}

// nullopt when the file exists but cannot be read; "" when it does not exist.
std::optional<std::string> ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        struct stat st {};
        if (stat(path.c_str(), &st) != 0 && errno == ENOENT) return std::string();
        return std::nullopt;
    }
    std::ostringstream s;
    s << in.rdbuf();
    if (in.bad()) return std::nullopt;
    return s.str();
}

std::optional<int> ParseInt(const std::string& text) {
    int v = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return v;
}

std::string ParentDir(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
}

std::string ProgramName() {
    char buf[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0) return "pallix";
    const std::string exe(buf, static_cast<std::size_t>(n));
    return exe.substr(exe.rfind('/') + 1);
}

// The lock KDE's own writers take (a Qt lock file: pid, program, host name).
class KdeLockFile {
public:
    explicit KdeLockFile(std::string path) : path_(std::move(path)) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
        while (!TryLock() && std::chrono::steady_clock::now() < deadline) {
            RemoveIfStale();
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }
    ~KdeLockFile() {
        if (held_) unlink(path_.c_str());
    }
    KdeLockFile(const KdeLockFile&) = delete;
    KdeLockFile& operator=(const KdeLockFile&) = delete;
    bool Held() const { return held_; }

private:
    bool TryLock() {
        const int fd = open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd < 0) return false;
        char host[256] = {};
        gethostname(host, sizeof host - 1);
        const std::string content = std::to_string(getpid()) + "\n" + ProgramName() + "\n" + host + "\n";
        held_ = write(fd, content.data(), content.size()) == static_cast<ssize_t>(content.size());
        close(fd);
        if (!held_) unlink(path_.c_str());
        return held_;
    }
    // Left by a process that ended without removing it.
    void RemoveIfStale() {
        const auto text = ReadFile(path_);
        if (!text) return;
        const auto pid = ParseInt(text->substr(0, text->find('\n')));
        if (pid && *pid > 0 && kill(*pid, 0) != 0 && errno == ESRCH) unlink(path_.c_str());
    }

    std::string path_;
    bool held_ = false;
};

bool ReplaceFile(const std::string& path, const std::string& text, mode_t mode) {
    std::string temp = path + ".XXXXXX";
    const int fd = mkstemp(temp.data());
    if (fd < 0) return false;
    bool ok = fchmod(fd, mode) == 0;
    for (std::size_t done = 0; ok && done < text.size();) {
        const ssize_t n = write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        ok = n > 0;
        if (ok) done += static_cast<std::size_t>(n);
    }
    ok = ok && fsync(fd) == 0;
    ok = close(fd) == 0 && ok;
    ok = ok && rename(temp.c_str(), path.c_str()) == 0;
    if (!ok) unlink(temp.c_str());
    return ok;
}

}  // namespace

std::string KdeUserConfigPath(std::string_view name) {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config && *config == '/') return std::string(config) + "/" + std::string(name);
    const char* home = std::getenv("HOME");
    if (home && *home == '/') return std::string(home) + "/.config/" + std::string(name);
    return {};
}

std::optional<int> ReadKdeInt(std::string_view name, std::string_view group, std::string_view key) {
    std::vector<std::string> files{KdeUserConfigPath(name)};
    for (const auto& dir : SystemConfigDirs()) files.push_back(dir + "/" + std::string(name));
    // From the least to the most important file; a locked entry stops the others.
    std::optional<std::string> found;
    for (auto it = files.rbegin(); it != files.rend(); ++it) {
        const auto text = it->empty() ? std::nullopt : ReadFile(*it);
        if (!text) continue;
        const KdeEntry e = FindKdeEntry(*text, group, key);
        if (e.value) found = e.value;
        if (e.locked) break;
    }
    return found ? ParseInt(*found) : std::nullopt;
}

namespace {

bool LockedBySystem(std::string_view name, std::string_view group, std::string_view key) {
    for (const auto& dir : SystemConfigDirs()) {
        const auto text = ReadFile(dir + "/" + std::string(name));
        if (text && FindKdeEntry(*text, group, key).locked) return true;
    }
    return false;
}

}  // namespace

bool KdeEntryLocked(std::string_view name, std::string_view group, std::string_view key) {
    if (LockedBySystem(name, group, key)) return true;
    const std::string path = KdeUserConfigPath(name);
    const auto text = path.empty() ? std::nullopt : ReadFile(path);
    return text && FindKdeEntry(*text, group, key).locked;
}

KdeWrite WriteKdeEntry(std::string_view name, std::string_view group, std::string_view key, std::string_view value) {
    if (LockedBySystem(name, group, key)) return KdeWrite::Locked;
    std::string path = KdeUserConfigPath(name);
    if (path.empty()) return KdeWrite::Failed;
    char resolved[PATH_MAX];
    if (realpath(path.c_str(), resolved)) path = resolved;
    struct stat st {};
    const bool exists = stat(path.c_str(), &st) == 0;
    if (!exists && mkdir(ParentDir(path).c_str(), 0700) != 0 && errno != EEXIST) return KdeWrite::Failed;

    KdeLockFile lock(path + ".lock");
    if (!lock.Held()) return KdeWrite::Failed;
    const auto text = ReadFile(path);
    if (!text) return KdeWrite::Failed;
    const KdeEntry current = FindKdeEntry(*text, group, key);
    if (current.locked) return KdeWrite::Locked;
    if (current.value == value) return KdeWrite::Unchanged;
    const auto changed = SetKdeEntry(*text, group, key, value);
    if (!changed) return KdeWrite::Locked;
    return ReplaceFile(path, *changed, exists ? (st.st_mode & 07777) : 0600) ? KdeWrite::Written : KdeWrite::Failed;
}

}  // namespace pallix

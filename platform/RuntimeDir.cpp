#include "platform/RuntimeDir.h"

#include <cerrno>
#include <cstdlib>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pallix {

namespace {

std::string EnvOr(const char* name) {
    const char* v = std::getenv(name);
    return v && *v ? std::string(v) : std::string();
}

}  // namespace

std::string HomeDir() {
    std::string home = EnvOr("HOME");
    if (!home.empty()) return home;
    if (const passwd* pw = getpwuid(getuid())) return pw->pw_dir;
    return "/tmp";
}

bool MakePrivateDir(const std::string& path) {
    if (path.empty()) return false;
    for (std::size_t pos = 1; pos <= path.size(); ++pos) {
        if (pos != path.size() && path[pos] != '/') continue;
        const std::string part = path.substr(0, pos);
        if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return false;
    }
    struct stat st {};
    if (lstat(path.c_str(), &st) != 0) return false;
    return S_ISDIR(st.st_mode) && st.st_uid == getuid();
}

std::string RuntimeDir() {
    std::string base = EnvOr("XDG_RUNTIME_DIR");
    if (base.empty()) base = "/tmp/pallix-ostrel-" + std::to_string(getuid());
    const std::string dir = base + "/pallix-ostrel";
    if (!MakePrivateDir(dir)) return {};
    chmod(dir.c_str(), 0700);
    return dir;
}

std::string ConfigDir() {
    std::string base = EnvOr("XDG_CONFIG_HOME");
    if (base.empty()) base = HomeDir() + "/.config";
    const std::string dir = base + "/pallix-ostrel";
    return MakePrivateDir(dir) ? dir : std::string();
}

}  // namespace pallix

#include "platform/UserDirs.h"

#include <cstdlib>
#include <fstream>

#include "platform/RuntimeDir.h"

namespace pallix {
namespace {

std::string EnvOr(const char* name) {
    const char* v = std::getenv(name);
    return v && *v ? std::string(v) : std::string();
}

// The value of one `NAME="$HOME/sub"` line: "$HOME" expanded, backslash escapes
// removed; empty for anything else (relative paths are not allowed there).
std::string ParseUserDirValue(const std::string& raw, const std::string& home) {
    std::string value = raw;
    const auto first = value.find_first_not_of(" \t");
    if (first == std::string::npos || value[first] != '"') return {};
    const auto last = value.rfind('"');
    if (last <= first) return {};
    value = value.substr(first + 1, last - first - 1);
    std::string unescaped;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '\\' && i + 1 < value.size()) ++i;
        unescaped += value[i];
    }
    if (unescaped == "$HOME") return home;
    if (unescaped.rfind("$HOME/", 0) == 0) return home + unescaped.substr(5);
    return unescaped.rfind('/', 0) == 0 ? unescaped : std::string();
}

std::string FromUserDirsFile(const std::string& home) {
    std::string config = EnvOr("XDG_CONFIG_HOME");
    if (config.empty()) config = home + "/.config";
    std::ifstream in(config + "/user-dirs.dirs");
    std::string line, found;
    const std::string key = "XDG_DOCUMENTS_DIR=";
    while (std::getline(in, line)) {
        const auto start = line.find_first_not_of(" \t");
        if (start == std::string::npos || line.compare(start, key.size(), key) != 0) continue;
        found = ParseUserDirValue(line.substr(start + key.size()), home);
    }
    return found;
}

}  // namespace

std::string DocumentsDir() {
    const std::string home = HomeDir();
    std::string dir = FromUserDirsFile(home);
    if (dir.empty()) dir = EnvOr("XDG_DOCUMENTS_DIR");
    if (dir.empty()) dir = home + "/Documents";
    while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
    return dir;
}

}  // namespace pallix

#pragma once
// Gives a test its own XDG_RUNTIME_DIR, XDG_CONFIG_HOME and HOME in a fresh
// temporary folder, removed again afterwards, so no test touches the user's own.
#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include <unistd.h>

namespace pallix::test {

class TempEnv {
public:
    TempEnv() {
        std::string pattern = (std::filesystem::temp_directory_path() / "pallix-test-XXXXXX").string();
        if (!mkdtemp(pattern.data())) std::abort();
        root_ = pattern;
        for (const char* sub : {"run", "config", "home", "home/Documents"})
            std::filesystem::create_directories(root_ / sub);
        std::filesystem::permissions(root_ / "run", std::filesystem::perms::owner_all);
        Set("XDG_RUNTIME_DIR", root_ / "run");
        Set("XDG_CONFIG_HOME", root_ / "config");
        Set("HOME", root_ / "home");
    }
    ~TempEnv() {
        for (const auto& [name, value] : saved_) {
            if (value.empty()) unsetenv(name.c_str());
            else setenv(name.c_str(), value.c_str(), 1);
        }
        std::error_code ec;
        std::filesystem::remove_all(root_, ec);
    }
    TempEnv(const TempEnv&) = delete;
    TempEnv& operator=(const TempEnv&) = delete;

    const std::filesystem::path& Root() const { return root_; }
    std::filesystem::path RuntimeDir() const { return root_ / "run" / "pallix-ostrel"; }
    std::filesystem::path ConfigDir() const { return root_ / "config" / "pallix-ostrel"; }

private:
    void Set(const std::string& name, const std::filesystem::path& value) {
        const char* old = std::getenv(name.c_str());
        saved_.emplace_back(name, old ? old : "");
        setenv(name.c_str(), value.c_str(), 1);
    }

    std::filesystem::path root_;
    std::vector<std::pair<std::string, std::string>> saved_;
};

}  // namespace pallix::test

#pragma once
// Sets the locale variables a test names and clears the others that choose a language,
// putting all of them back afterwards.
#include <cstdlib>
#include <initializer_list>
#include <optional>
#include <string>
#include <utility>

namespace pallix::test {

class LocaleEnv {
public:
    static constexpr const char* kNames[] = {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"};

    LocaleEnv(std::initializer_list<std::pair<const char*, const char*>> values) {
        for (int i = 0; i < 4; ++i) {
            const char* old = std::getenv(kNames[i]);
            if (old) saved_[i] = old;
            unsetenv(kNames[i]);
        }
        for (const auto& [name, value] : values) setenv(name, value, 1);
    }
    ~LocaleEnv() {
        for (int i = 0; i < 4; ++i) {
            if (saved_[i]) setenv(kNames[i], saved_[i]->c_str(), 1);
            else unsetenv(kNames[i]);
        }
    }
    LocaleEnv(const LocaleEnv&) = delete;
    LocaleEnv& operator=(const LocaleEnv&) = delete;

private:
    std::optional<std::string> saved_[4];
};

}  // namespace pallix::test

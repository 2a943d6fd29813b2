#pragma once
// A settings store held in memory, for tests of code written against
// SettingsStore. Same answers as the real store for an existing store.
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <variant>

#include "common/SettingsStore.h"

namespace pallix::test {

class MemorySettingsStore final : public SettingsStore {
public:
    int WriteDword(std::string_view name, std::uint32_t value) override {
        values_[std::string(name)] = value;
        return 1;
    }
    std::uint32_t ReadDword(std::string_view name) override {
        const auto it = values_.find(std::string(name));
        if (it == values_.end()) return kDwordMissing;
        const auto* value = std::get_if<std::uint32_t>(&it->second);
        return value ? *value : kDwordMissing;
    }
    int WriteString(std::string_view name, std::string_view text) override {
        values_[std::string(name)] = std::string(text);
        return 1;
    }
    int ReadString(std::string_view name, std::string& text) override {
        const auto it = values_.find(std::string(name));
        if (it == values_.end()) return 0;
        const auto* value = std::get_if<std::string>(&it->second);
        if (!value) return 0;
        text = *value;
        return 1;
    }
    int DeleteValue(std::string_view name) override {
        return values_.erase(std::string(name)) ? 1 : 0;
    }

    bool Has(std::string_view name) const { return values_.count(std::string(name)) != 0; }

private:
    std::map<std::string, std::variant<std::uint32_t, std::string>> values_;
};

}  // namespace pallix::test

// pallixctl settings: see and change the settings store.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "cli/Command.h"
#include "common/PointerProfile.h"
#include "common/SettingNames.h"
#include "device/MemoryMap.h"
#include "platform/SqliteSettingsStore.h"
#include "platform/pointer/DesktopPointerSettings.h"
#include "platform/pointer/PointerReport.h"

namespace pallix::cli {

namespace {

constexpr int kOk = 0;
constexpr int kFailed = 1;
constexpr int kUsage = 2;

int Fail(const std::string& what) {
    std::fprintf(stderr, "pallixctl settings: %s\n", what.c_str());
    return kFailed;
}

int Usage(const std::string& what) {
    std::fprintf(stderr, "pallixctl settings: %s\n", what.c_str());
    return kUsage;
}

std::string StoreError(const SqliteSettingsStore& store, const std::string& fallback) {
    return store.LastError().empty() ? fallback : store.LastError();
}

// Decimal or 0x hex, 0..4294967295; negative numbers down to -2147483648 are stored
// as their 32-bit pattern (-1 is 4294967295).
bool ParseDword(const std::string& text, std::uint32_t& out) {
    if (text.empty()) return false;
    const bool negative = text[0] == '-';
    const std::string digits = negative ? text.substr(1) : text;
    if (digits.empty() || digits[0] == '-' || digits[0] == '+' || digits[0] == ' ') return false;
    errno = 0;
    char* end = nullptr;
    const unsigned long long v = std::strtoull(digits.c_str(), &end, 0);
    if (errno != 0 || *end != '\0') return false;
    if (negative) {
        if (v > 0x80000000ull) return false;
        out = static_cast<std::uint32_t>(0x100000000ull - v);
        return true;
    }
    if (v > 0xFFFFFFFFull) return false;
    out = static_cast<std::uint32_t>(v);
    return true;
}

// Tabs, newlines and backslashes escaped so that list prints one value per line.
std::string Escaped(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\\') out += "\\\\";
        else if (c == '\t') out += "\\t";
        else if (c == '\n') out += "\\n";
        else if (c == '\r') out += "\\r";
        else out += c;
    }
    return out;
}

int List(SqliteSettingsStore& store) {
    const auto entries = store.List();
    if (!entries) return Fail(StoreError(store, "cannot read the store"));
    for (const auto& e : *entries) {
        if (e.type == ValueType::Dword) std::printf("%s\tdword\t%u\n", Escaped(e.name).c_str(), e.dword);
        else std::printf("%s\tstring\t%s\n", Escaped(e.name).c_str(), Escaped(e.text).c_str());
    }
    return kOk;
}

int Get(SqliteSettingsStore& store, const std::string& name) {
    const auto e = store.Lookup(name);
    if (!e) return Fail(StoreError(store, "no value named '" + name + "'"));
    if (e->type == ValueType::Dword) std::printf("%u\n", e->dword);
    else std::printf("%s\n", e->text.c_str());
    return kOk;
}

int Set(SqliteSettingsStore& store, const Args& args) {
    std::optional<ValueType> type;
    Args rest;
    for (const auto& a : args) {
        if (a == "--string") type = ValueType::String;
        else if (a == "--dword") type = ValueType::Dword;
        else rest.push_back(a);
    }
    if (rest.size() != 2) return Usage("usage: set NAME VALUE [--string|--dword]");
    const std::string& name = rest[0];
    const std::string& value = rest[1];
    if (!type) type = KnownValueType(name);
    if (!type) {
        const auto existing = store.Lookup(name);
        if (existing) type = existing->type;
    }
    if (!type) return Usage("'" + name + "' is not a known value; say --string or --dword");
    if (*type == ValueType::String) {
        if (!store.WriteString(name, value)) return Fail(StoreError(store, "cannot write '" + name + "'"));
        return kOk;
    }
    std::uint32_t dword = 0;
    if (!ParseDword(value, dword)) return Usage("'" + value + "' is not a 32-bit number");
    if (!store.WriteDword(name, dword)) return Fail(StoreError(store, "cannot write '" + name + "'"));
    return kOk;
}

int Delete(SqliteSettingsStore& store, const std::string& name) {
    if (store.DeleteValue(name)) return kOk;
    return Fail(StoreError(store, "no value named '" + name + "'"));
}

// Without arguments: what the desktop makes of each pointer setting. With "apply N":
// profile N's stored pointer settings set as the monitor sets them, and what each
// achieved; 1 when one of them failed.
int Pointer(SqliteSettingsStore& store, const Args& args) {
    auto pointer = MakeDesktopPointerSettings();
    if (args.size() == 2 && args[0] == "apply") {
        const std::string& n = args[1];
        if (n.size() != 1 || n[0] < '1' || n[0] > '0' + memmap::kProfileCount)
            return Usage("'" + n + "' is not a profile (1-" + std::to_string(memmap::kProfileCount) + ")");
        const int profile = n[0] - '1';
        const PointerValues v = LoadPointerProfile(store, profile);
        ApplyPointerProfile(store, *pointer, profile);
        std::printf("profile %d: speed %d, double-click %d ms, wheel %s\n", profile + 1, v.speed, v.doubleClickMs,
                    v.wheelLines == kWheelOnePage ? "one page" : (std::to_string(v.wheelLines) + " lines").c_str());
    } else if (!args.empty()) {
        return Usage("usage: settings pointer [apply PROFILE]");
    }
    const PointerReport report = ReportPointerSettings(*pointer);
    std::fputs(FormatPointerReport(report).c_str(), stdout);
    for (const auto& r : report)
        if (r.tried && r.result == PointerResult::Failed) return kFailed;
    return kOk;
}

int Run(const Args& args) {
    SqliteSettingsStore store;
    const std::string sub = args.empty() ? std::string() : args[0];
    if (sub == "list" && args.size() == 1) return List(store);
    if (sub == "get" && args.size() == 2) return Get(store, args[1]);
    if (sub == "set") return Set(store, Args(args.begin() + 1, args.end()));
    if (sub == "delete" && args.size() == 2) return Delete(store, args[1]);
    if (sub == "pointer") return Pointer(store, Args(args.begin() + 1, args.end()));
    return Usage("usage: settings list | get NAME | set NAME VALUE [--string|--dword] | delete NAME | pointer [apply N]");
}

const RegisterCommand kRegister{Command{
    "settings",
    "  settings list             every value of the settings store (name, type, value; tab-separated)\n"
    "  settings get NAME         one value\n"
    "  settings set NAME VALUE [--string|--dword]\n"
    "                            write a value (known names have their type already)\n"
    "  settings delete NAME      remove a value\n"
    "  settings pointer          per pointer setting (speed, double-click, wheel lines): the desktop's\n"
    "                            value and whether it is applied, own windows only, unsupported or failed\n"
    "  settings pointer apply N  set profile N's (1-5) stored pointer settings and report each",
    Run}};

}  // namespace

}  // namespace pallix::cli

#pragma once
// The settings store as an SQLite database, by default
// $XDG_CONFIG_HOME/pallix-ostrel/settings.sqlite3: one typed row per value. Every
// operation runs one statement on a connection kept open for as long as the file
// at the path is the one it was opened on (SettingsDatabaseConnection), so a store
// replaced, deleted or written over is opened afresh, and a change another
// process makes is seen by the next operation. In WAL mode a
// read never waits for a writer (a sender reads a handle just before it posts, and
// posting must not block); writers wait for each other within a busy timeout. A
// damaged database is moved aside (one line on stderr) and a fresh one used.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/SettingNames.h"
#include "common/SettingsStore.h"

struct stat;

namespace pallix {

class SettingsDatabaseConnection;

class SqliteSettingsStore final : public SettingsStore {
public:
    SqliteSettingsStore();  // the user's store
    explicit SqliteSettingsStore(std::string path);
    ~SqliteSettingsStore() override;
    SqliteSettingsStore(const SqliteSettingsStore&) = delete;
    SqliteSettingsStore& operator=(const SqliteSettingsStore&) = delete;

    int WriteDword(std::string_view name, std::uint32_t value) override;
    std::uint32_t ReadDword(std::string_view name) override;
    int WriteString(std::string_view name, std::string_view text) override;
    int ReadString(std::string_view name, std::string& text) override;
    int DeleteValue(std::string_view name) override;

    struct Entry {
        std::string name;
        ValueType type = ValueType::Dword;
        std::uint32_t dword = 0;
        std::string text;
    };
    // For tools: one value, or every value sorted by name. Neither creates the store.
    // nullopt when missing or on failure; LastError() is empty in the first case.
    std::optional<Entry> Lookup(std::string_view name);
    std::optional<std::vector<Entry>> List();

    const std::string& Path() const { return path_; }
    // Why the last operation failed, for diagnosis; empty after a success.
    const std::string& LastError() const { return lastError_; }

private:
    enum class Outcome { Done, StoreMissing, Failed };
    struct Statement;
    struct Attempt {
        bool reused = false;    // on the connection kept from an earlier operation
        bool prepared = false;  // the statement could be prepared
        bool rowsSeen = false;  // it had produced rows before it failed
    };
    Outcome Run(bool create, const char* sql, const Statement& statement);
    int RunOnce(const char* sql, const Statement& statement, const struct stat& file, Attempt& attempt);

    std::string path_;
    std::string lastError_;
    std::unique_ptr<SettingsDatabaseConnection> connection_;
};

}  // namespace pallix

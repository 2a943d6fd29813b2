#include "platform/SqliteSettingsStore.h"

#include <chrono>
#include <cstdlib>
#include <functional>
#include <thread>
#include <utility>

#include <sqlite3.h>
#include <sys/stat.h>

#include "common/Utf8.h"
#include "platform/RuntimeDir.h"
#include "platform/SettingsDatabase.h"
#include "platform/SettingsDatabaseConnection.h"

namespace pallix {

namespace {

constexpr int kBusyTimeoutMs = 5000;  // as long as the connection waits for a lock
constexpr std::size_t kMaxNameBytes = 255;

bool ValidName(std::string_view name) {
    if (name.empty() || name.size() > kMaxNameBytes || !Utf16Length(name)) return false;
    for (char c : name)
        if (static_cast<unsigned char>(c) < 0x20) return false;
    return true;
}

bool ValidText(std::string_view text) {
    const auto units = Utf16Length(text);
    return units && *units <= kMaxStringUnits;
}

bool Damaged(int rc) { return rc == SQLITE_CORRUPT || rc == SQLITE_NOTADB; }

void BindText(sqlite3_stmt* st, int index, std::string_view text) {
    sqlite3_bind_text(st, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
}

std::string ColumnText(sqlite3_stmt* st, int column) {
    const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(st, column));
    return p ? std::string(p, static_cast<std::size_t>(sqlite3_column_bytes(st, column))) : std::string();
}

std::optional<std::uint32_t> ColumnDword(sqlite3_stmt* st) {
    if (sqlite3_column_int(st, 0) != kStoredDword || sqlite3_column_type(st, 1) != SQLITE_INTEGER)
        return std::nullopt;
    const sqlite3_int64 v = sqlite3_column_int64(st, 1);
    if (v < 0 || v > 0xFFFFFFFFll) return std::nullopt;
    return static_cast<std::uint32_t>(v);
}

std::optional<std::string> ColumnString(sqlite3_stmt* st) {
    if (sqlite3_column_int(st, 0) != kStoredString || sqlite3_column_type(st, 1) != SQLITE_TEXT)
        return std::nullopt;
    return ColumnText(st, 1);
}

std::optional<SqliteSettingsStore::Entry> ColumnEntry(sqlite3_stmt* st, int nameColumn) {
    SqliteSettingsStore::Entry e;
    e.name = ColumnText(st, nameColumn);
    if (auto d = ColumnDword(st)) {
        e.dword = *d;
        return e;
    }
    if (auto s = ColumnString(st)) {
        e.type = ValueType::String;
        e.text = std::move(*s);
        return e;
    }
    return std::nullopt;
}

std::string DefaultPath() {
    const std::string dir = ConfigDir();
    return dir.empty() ? std::string() : dir + "/settings.sqlite3";
}

}  // namespace

struct SqliteSettingsStore::Statement {
    std::function<void(sqlite3_stmt*)> bind;
    std::function<void(sqlite3_stmt*)> row = [](sqlite3_stmt*) {};
};

SqliteSettingsStore::SqliteSettingsStore() : SqliteSettingsStore(DefaultPath()) {}

SqliteSettingsStore::SqliteSettingsStore(std::string path)
    : path_(std::move(path)), connection_(std::make_unique<SettingsDatabaseConnection>()) {}

SqliteSettingsStore::~SqliteSettingsStore() = default;

// Runs the statement once on the kept connection, opening it first when the file
// is not the one it stands for.
int SqliteSettingsStore::RunOnce(const char* sql, const Statement& statement, const struct stat& file, Attempt& a) {
    a.reused = connection_->Current(file);
    int rc = a.reused ? SQLITE_OK : connection_->Open(path_, file);
    sqlite3_stmt* st = rc == SQLITE_OK ? connection_->Prepared(sql, rc) : nullptr;
    a.prepared = st != nullptr;
    if (st) {
        statement.bind(st);
        while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
            a.rowsSeen = true;
            statement.row(st);
        }
        if (rc == SQLITE_DONE) rc = SQLITE_OK;
        // A statement left open would hold its read snapshot and miss other writers.
        sqlite3_reset(st);
        sqlite3_clear_bindings(st);
        if (rc == SQLITE_OK && !sqlite3_stmt_readonly(st)) connection_->NoteOwnWrite(path_);
    }
    if (rc != SQLITE_OK) {
        sqlite3* db = connection_->Db();
        lastError_ = "settings store " + path_ + ": " + (db ? sqlite3_errmsg(db) : "out of memory");
        connection_->Close();
    }
    return rc;
}

// One operation: creates a missing store when asked to, moves a damaged one aside
// and starts again on a fresh one, and retries while another process holds a lock.
SqliteSettingsStore::Outcome SqliteSettingsStore::Run(bool create, const char* sql, const Statement& statement) {
    lastError_.clear();
    if (path_.empty()) {
        lastError_ = "no private configuration folder for the settings store";
        return Outcome::Failed;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kBusyTimeoutMs);
    int movedAside = 0;
    while (std::chrono::steady_clock::now() < deadline) {
        struct stat file {};
        if (stat(path_.c_str(), &file) != 0) {
            connection_->Close();
            if (!create) return Outcome::StoreMissing;
            if (CreateStoreFile(path_, std::nullopt, lastError_) == CreateResult::Failed) return Outcome::Failed;
            continue;
        }
        Attempt a;
        const int rc = RunOnce(sql, statement, file, a);
        if (rc == SQLITE_OK) {
            lastError_.clear();
            return Outcome::Done;
        }
        // Whatever went wrong on a kept connection is judged again on a fresh one,
        // as if each operation opened the store itself.
        if (a.reused && !a.rowsSeen) continue;
        // A database without our table (an empty or foreign file) is as useless as a
        // damaged one; the prepare of our fixed statements fails only then.
        if (Damaged(rc) || (rc == SQLITE_ERROR && !a.prepared)) {
            if (++movedAside > 2 || !MoveDamagedStoreAside(path_, file.st_ino)) return Outcome::Failed;
            lastError_.clear();
            continue;
        }
        // SQLite answers "busy" at once, without waiting, when two writers would
        // otherwise deadlock; the statement changed nothing, so it is run again.
        if ((rc & 0xFF) != SQLITE_BUSY || a.rowsSeen) return Outcome::Failed;
        std::this_thread::sleep_for(std::chrono::microseconds(500 + std::rand() % 1500));
    }
    if (lastError_.empty()) lastError_ = "settings store " + path_ + ": timed out";
    return Outcome::Failed;
}

int SqliteSettingsStore::WriteDword(std::string_view name, std::uint32_t value) {
    if (!ValidName(name)) {
        lastError_ = "invalid value name";
        return 0;
    }
    const Statement s{[&](sqlite3_stmt* st) {
        BindText(st, 1, name);
        sqlite3_bind_int64(st, 2, value);
    }};
    return Run(true, "INSERT OR REPLACE INTO settings VALUES(?1, 4, ?2)", s) == Outcome::Done ? 1 : 0;
}

std::uint32_t SqliteSettingsStore::ReadDword(std::string_view name) {
    if (!ValidName(name)) {
        lastError_ = "invalid value name";
        return kDwordMissing;
    }
    std::optional<std::uint32_t> value;
    const Statement s{[&](sqlite3_stmt* st) { BindText(st, 1, name); },
                      [&](sqlite3_stmt* st) { value = ColumnDword(st); }};
    switch (Run(false, "SELECT type, data FROM settings WHERE name = ?1", s)) {
    case Outcome::Done: return value.value_or(kDwordMissing);
    case Outcome::Failed: return kDwordMissing;
    case Outcome::StoreMissing: break;
    }
    // A missing store is created holding this value as 0. Should another process
    // create it at the same moment, its store stands and is read normally.
    switch (CreateStoreFile(path_, SeedValue{name, 0}, lastError_)) {
    case CreateResult::Created: return 0;
    case CreateResult::Failed: return kDwordMissing;
    case CreateResult::AlreadyThere: break;
    }
    return Run(false, "SELECT type, data FROM settings WHERE name = ?1", s) == Outcome::Done
               ? value.value_or(kDwordMissing)
               : kDwordMissing;
}

int SqliteSettingsStore::WriteString(std::string_view name, std::string_view text) {
    if (!ValidName(name) || !ValidText(text)) {
        lastError_ = ValidName(name) ? "text is not UTF-8 or longer than 2048 UTF-16 units" : "invalid value name";
        return 0;
    }
    const Statement s{[&](sqlite3_stmt* st) {
        BindText(st, 1, name);
        BindText(st, 2, text);
    }};
    return Run(true, "INSERT OR REPLACE INTO settings VALUES(?1, 1, ?2)", s) == Outcome::Done ? 1 : 0;
}

int SqliteSettingsStore::ReadString(std::string_view name, std::string& text) {
    if (!ValidName(name)) {
        lastError_ = "invalid value name";
        return 0;
    }
    std::optional<std::string> value;
    const Statement s{[&](sqlite3_stmt* st) { BindText(st, 1, name); },
                      [&](sqlite3_stmt* st) { value = ColumnString(st); }};
    // Text put there by other tools is only handed out when our readers could hold it.
    if (Run(false, "SELECT type, data FROM settings WHERE name = ?1", s) != Outcome::Done || !value ||
        !ValidText(*value))
        return 0;
    text = std::move(*value);
    return 1;
}

int SqliteSettingsStore::DeleteValue(std::string_view name) {
    if (!ValidName(name)) {
        lastError_ = "invalid value name";
        return 0;
    }
    bool deleted = false;
    const Statement s{[&](sqlite3_stmt* st) { BindText(st, 1, name); },
                      [&](sqlite3_stmt*) { deleted = true; }};
    return Run(false, "DELETE FROM settings WHERE name = ?1 RETURNING name", s) == Outcome::Done && deleted ? 1 : 0;
}

std::optional<SqliteSettingsStore::Entry> SqliteSettingsStore::Lookup(std::string_view name) {
    std::optional<Entry> entry;
    bool unreadable = false;
    const Statement s{[&](sqlite3_stmt* st) { BindText(st, 1, name); },
                      [&](sqlite3_stmt* st) {
                          entry = ColumnEntry(st, 2);
                          unreadable = !entry;
                      }};
    if (Run(false, "SELECT type, data, name FROM settings WHERE name = ?1", s) != Outcome::Done) return std::nullopt;
    if (unreadable) lastError_ = "the value has an unknown type";
    return entry;
}

std::optional<std::vector<SqliteSettingsStore::Entry>> SqliteSettingsStore::List() {
    std::vector<Entry> entries;
    const Statement s{[](sqlite3_stmt*) {},
                      [&](sqlite3_stmt* st) {
                          if (auto e = ColumnEntry(st, 2)) entries.push_back(std::move(*e));
                      }};
    const Outcome o = Run(false, "SELECT type, data, name FROM settings ORDER BY name", s);
    if (o == Outcome::Failed) return std::nullopt;
    return entries;
}

}  // namespace pallix

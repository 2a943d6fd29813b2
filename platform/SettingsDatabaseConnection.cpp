#include "platform/SettingsDatabaseConnection.h"

#include <cstring>

#include <sqlite3.h>
#include <unistd.h>

namespace pallix {

namespace {

constexpr int kBusyTimeoutMs = 5000;

bool SameTime(const struct timespec& a, const struct timespec& b) {
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

}  // namespace

// The last connection to close copies the log into the store, so that it does not
// stay around with the store's contents, but only into the file it stands for.
SettingsDatabaseConnection::~SettingsDatabaseConnection() {
    struct stat file {};
    CloseDb(db_ && stat(path_.c_str(), &file) == 0 && Current(file));
}

SettingsDatabaseConnection::FileIdentity SettingsDatabaseConnection::IdentityOf(const struct stat& file) {
    return {file.st_dev, file.st_ino, file.st_size, file.st_mtim};
}

bool SettingsDatabaseConnection::Current(const struct stat& file) const {
    if (!db_ || owner_ != getpid()) return false;
    const FileIdentity now = IdentityOf(file);
    return now.dev == file_.dev && now.ino == file_.ino && now.size == file_.size && SameTime(now.mtime, file_.mtime);
}

int SettingsDatabaseConnection::Open(const std::string& path, const struct stat& file) {
    Close();
    int rc = sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
    owner_ = getpid();
    path_ = path;
    file_ = IdentityOf(file);
    if (rc != SQLITE_OK) return rc;
    sqlite3_busy_timeout(db_, kBusyTimeoutMs);
    // The log and its index stay when a connection closes, so that an open need not
    // create them; the last close empties the log.
    int persist = 1;
    sqlite3_file_control(db_, "main", SQLITE_FCNTL_PERSIST_WAL, &persist);
    // NORMAL: a crash of a program loses nothing, a power cut at most the last
    // writes, as with the registry's lazy flush.
    sqlite3_exec(db_, "PRAGMA journal_size_limit=0; PRAGMA synchronous=NORMAL", nullptr, nullptr, nullptr);
    return SQLITE_OK;
}

void SettingsDatabaseConnection::Close() { CloseDb(false); }

void SettingsDatabaseConnection::CloseDb(bool checkpoint) {
    if (db_ && owner_ == getpid()) {
        for (auto& [sql, st] : statements_) sqlite3_finalize(st);
        if (!checkpoint) sqlite3_db_config(db_, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
        sqlite3_close(db_);
    }
    // A connection inherited through fork() belongs to the parent: SQLite must not
    // touch its locks or files from here, so it is left alone.
    statements_.clear();
    db_ = nullptr;
}

sqlite3_stmt* SettingsDatabaseConnection::Prepared(const char* sql, int& rc) {
    for (auto& [text, st] : statements_)
        if (text == sql || std::strcmp(text, sql) == 0) {
            rc = SQLITE_OK;
            return st;
        }
    sqlite3_stmt* st = nullptr;
    rc = db_ ? sqlite3_prepare_v3(db_, sql, -1, SQLITE_PREPARE_PERSISTENT, &st, nullptr) : SQLITE_MISUSE;
    if (rc != SQLITE_OK) {
        sqlite3_finalize(st);
        return nullptr;
    }
    statements_.emplace_back(sql, st);
    return st;
}

void SettingsDatabaseConnection::NoteOwnWrite(const std::string& path) {
    struct stat file {};
    if (db_ && stat(path.c_str(), &file) == 0 && file.st_ino == file_.ino && file.st_dev == file_.dev)
        file_ = IdentityOf(file);
}

}  // namespace pallix

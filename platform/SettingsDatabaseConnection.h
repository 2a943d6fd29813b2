#pragma once
// The settings database kept open between operations, with its statements
// prepared once. It stands for the file it was opened on: as soon as the file at
// the path is another one (moved aside, deleted and made again), or the main file
// was changed by someone other than this connection (written over in place,
// truncated), it is no longer Current() and the caller opens it afresh, exactly as
// every operation used to. Changes by other processes go through the log and are
// seen by the next statement without reopening.
#include <string>
#include <utility>
#include <vector>

#include <sys/stat.h>
#include <sys/types.h>

struct sqlite3;
struct sqlite3_stmt;

namespace pallix {

class SettingsDatabaseConnection {
public:
    SettingsDatabaseConnection() = default;
    ~SettingsDatabaseConnection();
    SettingsDatabaseConnection(const SettingsDatabaseConnection&) = delete;
    SettingsDatabaseConnection& operator=(const SettingsDatabaseConnection&) = delete;

    // Whether the open database is still the file whose stat() is given, as this
    // connection last left it, and was opened by this process.
    bool Current(const struct stat& file) const;
    // Opens path, whose stat() was just taken; an SQLite result code.
    int Open(const std::string& path, const struct stat& file);
    // Closes without writing anything more: a file that is gone, replaced, written
    // over or failing must not get the log copied into it.
    void Close();

    sqlite3* Db() const { return db_; }
    // The statement for sql (a string that outlives the connection), prepared on
    // first use; nullptr and the error code in rc when it cannot be prepared.
    sqlite3_stmt* Prepared(const char* sql, int& rc);
    // After this connection wrote: the main file may have been checkpointed, so
    // what it looks like now is what counts as unchanged.
    void NoteOwnWrite(const std::string& path);

private:
    struct FileIdentity {
        dev_t dev = 0;
        ino_t ino = 0;
        off_t size = 0;
        struct timespec mtime {};
    };
    static FileIdentity IdentityOf(const struct stat& file);
    void CloseDb(bool checkpoint);

    sqlite3* db_ = nullptr;
    pid_t owner_ = 0;
    std::string path_;
    FileIdentity file_;
    std::vector<std::pair<const char*, sqlite3_stmt*>> statements_;
};

}  // namespace pallix

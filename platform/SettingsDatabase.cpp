#include "platform/SettingsDatabase.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>

#include <fcntl.h>
#include <sqlite3.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/RuntimeDir.h"

namespace pallix {

namespace {

constexpr const char* kSchema =
    "PRAGMA journal_mode=WAL;"
    "PRAGMA application_id=1348554579;"  // "PXOS"
    "CREATE TABLE settings(name TEXT PRIMARY KEY NOT NULL, type INTEGER NOT NULL, data NOT NULL)"
    " WITHOUT ROWID;";

std::string ParentDir(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

bool Exists(const std::string& path) {
    struct stat st {};
    return lstat(path.c_str(), &st) == 0;
}

bool FillNewStore(const std::string& file, std::optional<SeedValue> seed, std::string& error) {
    sqlite3* db = nullptr;
    int rc = sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    char* msg = nullptr;
    if (rc == SQLITE_OK) rc = sqlite3_exec(db, kSchema, nullptr, nullptr, &msg);
    if (rc == SQLITE_OK && seed) {
        sqlite3_stmt* st = nullptr;
        rc = sqlite3_prepare_v2(db, "INSERT INTO settings VALUES(?1, 4, ?2)", -1, &st, nullptr);
        if (rc == SQLITE_OK) {
            sqlite3_bind_text(st, 1, seed->name.data(), static_cast<int>(seed->name.size()), SQLITE_STATIC);
            sqlite3_bind_int64(st, 2, seed->value);
            rc = sqlite3_step(st) == SQLITE_DONE ? SQLITE_OK : sqlite3_errcode(db);
        }
        sqlite3_finalize(st);
    }
    if (rc != SQLITE_OK) error = "cannot create " + file + ": " + (msg ? msg : sqlite3_errmsg(db));
    sqlite3_free(msg);
    sqlite3_close(db);
    return rc == SQLITE_OK;
}

std::string UtcStamp() {
    const std::time_t now = std::time(nullptr);
    std::tm tm {};
    gmtime_r(&now, &tm);
    char buf[32];
    std::strftime(buf, sizeof buf, "%Y%m%dT%H%M%SZ", &tm);
    return buf;
}

class DirLock {
public:
    explicit DirLock(const std::string& dir) : fd_(open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
        if (fd_ >= 0) flock(fd_, LOCK_EX);
    }
    ~DirLock() {
        if (fd_ >= 0) close(fd_);  // also releases the lock
    }
    DirLock(const DirLock&) = delete;
    DirLock& operator=(const DirLock&) = delete;

private:
    int fd_;
};

}  // namespace

CreateResult CreateStoreFile(const std::string& path, std::optional<SeedValue> seed, std::string& error) {
    if (!MakePrivateDir(ParentDir(path))) {
        error = "cannot create folder " + ParentDir(path) + ": " + std::strerror(errno);
        return CreateResult::Failed;
    }
    static std::atomic<unsigned> counter{0};
    const std::string temp = path + ".new-" + std::to_string(getpid()) + "-" + std::to_string(counter++);
    unlink(temp.c_str());
    CreateResult result = CreateResult::Failed;
    if (FillNewStore(temp, seed, error)) {
        chmod(temp.c_str(), 0600);
        DirLock lock(ParentDir(path));
        // A log and index left by a store that was deleted belong to it, and other
        // processes may still hold them open: the fresh store gets its own.
        if (!Exists(path))
            for (const char* suffix : {"-wal", "-shm"}) unlink((path + suffix).c_str());
        // link() never replaces: a store another process made meanwhile wins.
        if (link(temp.c_str(), path.c_str()) == 0) result = CreateResult::Created;
        else if (errno == EEXIST) result = CreateResult::AlreadyThere;
        else error = "cannot create " + path + ": " + std::strerror(errno);
    }
    for (const char* suffix : {"", "-wal", "-shm", "-journal"}) unlink((temp + suffix).c_str());
    return result;
}

bool MoveDamagedStoreAside(const std::string& path, ino_t badInode) {
    DirLock lock(ParentDir(path));
    struct stat st {};
    if (stat(path.c_str(), &st) != 0) return errno == ENOENT;
    if (st.st_ino != badInode) return true;

    std::string aside = path + ".corrupt-" + UtcStamp();
    for (int n = 1; Exists(aside) || Exists(aside + "-journal") || Exists(aside + "-wal") || Exists(aside + "-shm");
         ++n)
        aside = path + ".corrupt-" + UtcStamp() + "-" + std::to_string(n);
    // A journal or log belongs to the damaged file: a fresh store would replay it.
    // Its index too, which other processes may still have open.
    for (const char* suffix : {"-journal", "-wal", "-shm"}) {
        if (rename((path + suffix).c_str(), (aside + suffix).c_str()) != 0 && errno != ENOENT) {
            std::fprintf(stderr, "pallix: the settings store %s is damaged and its %s cannot be moved aside: %s\n",
                         path.c_str(), suffix + 1, std::strerror(errno));
            return false;
        }
    }
    if (rename(path.c_str(), aside.c_str()) != 0) {
        std::fprintf(stderr, "pallix: the settings store %s is damaged and cannot be moved aside: %s\n",
                     path.c_str(), std::strerror(errno));
        return false;
    }
    std::fprintf(stderr, "pallix: the settings store %s was damaged; moved it to %s and started a fresh one\n",
                 path.c_str(), aside.c_str());
    return true;
}

}  // namespace pallix

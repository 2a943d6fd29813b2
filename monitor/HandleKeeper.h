#pragma once
// Keeps window handles published while the settings store under them is replaced:
// a store moved aside as damaged, or deleted, comes back without "Monitor Handle"
// and "OSD Handle", and nobody could reach the monitor's windows until a restart.
// The store's folder is watched; only a change of the store file itself (a new
// file, or none) leads to a look at the values, so the journal files that come and
// go with every access cost one stat each.
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include <sys/types.h>

#include <QFileSystemWatcher>
#include <QObject>
#include <QTimer>

#include "common/Posting.h"
#include "common/SettingsStore.h"

namespace pallix::monitor {

inline constexpr int kStoreSettleMs = 50;

class HandleKeeper : public QObject {
    Q_OBJECT
public:
    // handle() gives the handle to keep under the name, 0 when there is none now.
    using HandleSource = std::function<WindowHandle()>;
    HandleKeeper(SettingsStore& store, std::string storePath);

    void Keep(std::string valueName, HandleSource handle);

private:
    struct FileId {
        bool exists = false;
        dev_t device = 0;
        ino_t inode = 0;
        bool operator==(const FileId&) const = default;
    };
    FileId StoreFile() const;
    void OnFolderChanged();
    void Republish();
    void WatchFolders();

    SettingsStore& store_;
    std::string path_;
    FileId known_;
    std::vector<std::pair<std::string, HandleSource>> kept_;
    QFileSystemWatcher watcher_;
    QTimer settle_;
};

}  // namespace pallix::monitor

#include "monitor/HandleKeeper.h"

#include <filesystem>

#include <sys/stat.h>

namespace pallix::monitor {

HandleKeeper::HandleKeeper(SettingsStore& store, std::string storePath) : store_(store), path_(std::move(storePath)) {
    known_ = StoreFile();
    settle_.setSingleShot(true);
    connect(&settle_, &QTimer::timeout, this, &HandleKeeper::Republish);
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, &HandleKeeper::OnFolderChanged);
    WatchFolders();
}

void HandleKeeper::Keep(std::string valueName, HandleSource handle) { kept_.emplace_back(std::move(valueName), std::move(handle)); }

HandleKeeper::FileId HandleKeeper::StoreFile() const {
    struct stat st {};
    if (stat(path_.c_str(), &st) != 0) return {};
    return {true, st.st_dev, st.st_ino};
}

void HandleKeeper::WatchFolders() {
    // The parent too: the store's own folder may be removed and made again.
    const std::filesystem::path folder = std::filesystem::path(path_).parent_path();
    for (const auto& f : {folder, folder.parent_path()}) {
        const QString name = QString::fromStdString(f.string());
        if (!name.isEmpty() && !watcher_.directories().contains(name) && std::filesystem::is_directory(f))
            watcher_.addPath(name);
    }
}

void HandleKeeper::OnFolderChanged() {
    WatchFolders();
    // A writer replacing the store may still be at it: look once it has settled.
    if (StoreFile() != known_) settle_.start(kStoreSettleMs);
}

void HandleKeeper::Republish() {
    for (const auto& [name, source] : kept_) {
        const WindowHandle handle = source();
        if (IsPublishedHandle(handle) && store_.ReadDword(name) != handle) PublishHandle(store_, name, handle);
    }
    known_ = StoreFile();
    WatchFolders();
}

}  // namespace pallix::monitor

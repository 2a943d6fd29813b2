#pragma once
// KDE configuration files as a KDE session reads them: the user's file in
// $XDG_CONFIG_HOME (~/.config) over the system's in $XDG_CONFIG_DIRS (/etc/xdg).
#include <optional>
#include <string>
#include <string_view>

namespace pallix {

// The user's file of that name; empty when neither XDG_CONFIG_HOME nor HOME is set.
std::string KdeUserConfigPath(std::string_view name);

// The entry as the session sees it (user file first), when it is a whole number.
std::optional<int> ReadKdeInt(std::string_view name, std::string_view group, std::string_view key);

// Whether an administrator locked the entry, in the user's file or the system's.
bool KdeEntryLocked(std::string_view name, std::string_view group, std::string_view key);

enum class KdeWrite {
    Unchanged,  // the user's file already says so
    Written,
    Locked,     // an administrator locked the entry ("[$i]")
    Failed,     // the file could not be read or replaced
};

// Sets the entry in the user's file: under KDE's own lock file ("<file>.lock"),
// through a temporary file renamed into place (a link is followed, not replaced),
// keeping the file's mode.
KdeWrite WriteKdeEntry(std::string_view name, std::string_view group, std::string_view key, std::string_view value);

}  // namespace pallix

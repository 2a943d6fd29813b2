#pragma once
// Per-user folders of the product.
#include <string>

namespace pallix {

// $XDG_RUNTIME_DIR/pallix-ostrel (mode 0700), created on first use. Without
// XDG_RUNTIME_DIR: a private 0700 folder of our own under /tmp. Empty when no
// safe folder can be made (one owned by another user is refused).
std::string RuntimeDir();

// $XDG_CONFIG_HOME/pallix-ostrel, or ~/.config/pallix-ostrel; created (0700) on use.
std::string ConfigDir();

// $HOME, or the password database's home folder.
std::string HomeDir();

// mkdir -p with the given mode for the created folders; true when the folder exists
// afterwards, is a folder and belongs to this user.
bool MakePrivateDir(const std::string& path);

}  // namespace pallix

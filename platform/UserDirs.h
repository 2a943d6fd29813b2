#pragma once
// The user's own folders as the desktop names them (XDG user directories).
#include <string>

namespace pallix {

// The documents folder: XDG_DOCUMENTS_DIR from $XDG_CONFIG_HOME/user-dirs.dirs
// (~/.config/user-dirs.dirs), else the XDG_DOCUMENTS_DIR environment variable,
// else ~/Documents. Not created here.
std::string DocumentsDir();

}  // namespace pallix

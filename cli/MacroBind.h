#pragma once
// pallixctl macro bind P B NAME --once|--repeat N|--hold|--toggle
#include <filesystem>

#include "cli/Command.h"

namespace pallix::cli {

extern const char* const kMacroBindUsage;

// args: everything after "bind"; folder: the macro folder NAME is looked up in.
int RunMacroBind(const Args& args, const std::filesystem::path& folder);

}  // namespace pallix::cli

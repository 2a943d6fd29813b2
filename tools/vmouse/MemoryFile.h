#pragma once
// The virtual mouse's memory on disk: exactly 16384 bytes, replaced atomically.
#include <optional>
#include <string>

#include "tools/vmouse/VirtualMouse.h"

namespace pallix::vmouse {

enum class LoadResult { kLoaded, kMissing, kBad };

// kBad (with a reason in error) when the file exists but is not a memory image;
// such a file is never overwritten.
LoadResult LoadMemory(const std::string& path, Memory& memory, std::string& error);
// Temporary file beside the target, then rename.
bool SaveMemory(const std::string& path, const Memory& memory, std::string& error);

}  // namespace pallix::vmouse

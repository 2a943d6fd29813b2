#pragma once
// Files appear complete or not at all: they are filled under a temporary name in
// the target's folder and then moved into place.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>

#include "macro/FileResult.h"

namespace pallix::macro {

enum class Existing { Replace, Keep };

// Fills a fresh temporary file beside `target` with `fill` (which gets its path and
// returns false on failure), then renames it to `target`. With Existing::Keep an
// existing target is left alone and the result is MacroExists. On any failure the
// temporary file is removed and an old target is untouched. Failures:
// FilePathNotFound + target when no file can be made in the folder, WriteFailed
// when filling or moving into place fails.
FileResult PublishFile(const std::filesystem::path& target, Existing existing,
                       const std::function<bool(const std::filesystem::path& temp)>& fill);

// PublishFile with the given bytes as the contents.
FileResult WriteFileAtomically(const std::filesystem::path& target, std::span<const std::uint8_t> bytes,
                               Existing existing = Existing::Replace);

}  // namespace pallix::macro

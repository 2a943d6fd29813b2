#pragma once
// File-level care of the settings database: creating it whole, and moving a
// damaged one out of the way.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include <sys/types.h>

namespace pallix {

// Codes of the "type" column, as the registry numbers them.
inline constexpr int kStoredString = 1;  // REG_SZ
inline constexpr int kStoredDword = 4;   // REG_DWORD

struct SeedValue {
    std::string_view name;
    std::uint32_t value = 0;
};

enum class CreateResult { Created, AlreadyThere, Failed };

// Builds a complete store (schema, WAL mode, optionally one DWORD) in a temporary
// file and links it into place, so nobody ever opens a half-made store; a store
// created meanwhile by another process is kept and AlreadyThere returned.
CreateResult CreateStoreFile(const std::string& path, std::optional<SeedValue> seed, std::string& error);

// Renames the store (its journal, log and index too) to <path>.corrupt-<UTC time>, says
// so on stderr, unless the file at path is no longer the one with inode badInode
// (another process got there first). True when path is free for a fresh store.
bool MoveDamagedStoreAside(const std::string& path, ino_t badInode);

}  // namespace pallix

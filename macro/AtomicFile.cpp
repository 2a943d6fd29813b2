#include "macro/AtomicFile.h"

#include <cstdio>
#include <random>
#include <string>
#include <system_error>

namespace pallix::macro {
namespace fs = std::filesystem;

namespace {

constexpr int kNameAttempts = 16;

fs::path TempPathBeside(const fs::path& target, std::mt19937_64& random) {
    char suffix[24];
    std::snprintf(suffix, sizeof suffix, ".tmp-%012llx",
                  static_cast<unsigned long long>(random() & 0xFFFFFFFFFFFFull));
    return target.parent_path() / ("." + target.filename().string() + suffix);
}

// Creates an empty file that did not exist before ("x": fails on an existing name).
bool CreateExclusive(const fs::path& path) {
    std::FILE* f = std::fopen(path.c_str(), "wbx");
    if (!f) return false;
    return std::fclose(f) == 0;
}

// Moves temp to target without replacing an existing target: a hard link fails when
// the name is taken, so two creators cannot both win.
bool LinkIntoPlace(const fs::path& temp, const fs::path& target, bool& existed) {
    std::error_code ec;
    fs::create_hard_link(temp, target, ec);
    if (!ec) {
        fs::remove(temp, ec);
        return true;
    }
    existed = fs::exists(target);
    if (existed || ec == std::errc::file_exists) {
        existed = true;
        return false;
    }
    // Folders without hard links (some mounted file systems): check, then rename.
    fs::rename(temp, target, ec);
    return !ec;
}

}  // namespace

FileResult PublishFile(const fs::path& target, Existing existing,
                       const std::function<bool(const fs::path& temp)>& fill) {
    if (target.empty() || !target.has_filename()) return FileResult::Failure(MacroMessage::FilePathNotFound);
    std::error_code ec;
    if (existing == Existing::Keep && fs::exists(target, ec))
        return FileResult::Failure(MacroMessage::MacroExists);

    std::mt19937_64 random(std::random_device{}());
    fs::path temp;
    for (int attempt = 0; attempt < kNameAttempts && temp.empty(); ++attempt) {
        const fs::path candidate = TempPathBeside(target, random);
        if (CreateExclusive(candidate)) temp = candidate;
    }
    if (temp.empty()) return FileResult::Failure(MacroMessage::FilePathNotFound, target.string());

    bool existed = false;
    bool placed = false;
    if (fill(temp)) {
        if (existing == Existing::Replace) {
            fs::rename(temp, target, ec);
            placed = !ec;
        } else {
            placed = LinkIntoPlace(temp, target, existed);
        }
    }
    if (placed) return FileResult::Success();
    fs::remove(temp, ec);
    if (existed) return FileResult::Failure(MacroMessage::MacroExists);
    return FileResult::Failure(MacroMessage::WriteFailed);
}

FileResult WriteFileAtomically(const fs::path& target, std::span<const std::uint8_t> bytes, Existing existing) {
    return PublishFile(target, existing, [&](const fs::path& temp) {
        std::FILE* f = std::fopen(temp.c_str(), "wb");
        if (!f) return false;
        const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
        const bool flushed = std::fflush(f) == 0;
        const bool closed = std::fclose(f) == 0;
        return written && flushed && closed;
    });
}

}  // namespace pallix::macro

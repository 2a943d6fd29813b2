#pragma once
// The .Mac file: a 9-byte header (magic 6D 18, format, script length, delay unit,
// delay flags, default delay) followed by the script bytes.
#include <array>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "macro/FileResult.h"
#include "macro/InstructionSet.h"

namespace pallix::macro {

class CSkinLVCmdList;

inline constexpr int kMacroHeaderSize = 9;
inline constexpr int kMacroFileCapacity = kMacroHeaderSize + kScriptCapacity;  // 265
inline constexpr std::uint8_t kMacroMagic1 = 0x6D;
inline constexpr std::uint8_t kMacroMagic2 = 0x18;
inline constexpr std::uint8_t kMacroFormat = 0xA1;
inline constexpr std::uint8_t kMacroFormatOld = 0x01;

// How recording inserts delays: none, the default delay before every event, or the
// measured time.
enum class DelayMode { WithoutDelay, DefaultDelay, RealTime };

struct DelaySettings {
    DelayMode mode = DelayMode::RealTime;
    int defaultDelayMs = 0;  // 0 to 5000
    friend bool operator==(const DelaySettings&, const DelaySettings&) = default;
};

// A macro file's contents once read.
struct MacroScript {
    int length = -1;  // script bytes (0-256), -1 when the file was refused
    std::array<std::uint8_t, kScriptCapacity> bytes{};
    DelaySettings delays;
    MacroMessage message = MacroMessage::None;  // why it was refused
    std::string suffix;

    std::span<const std::uint8_t> Script() const {
        return std::span(bytes).first(static_cast<std::size_t>(length < 0 ? 0 : length));
    }
};

// Checks and takes apart a file image. A header that declares more than 256 script
// bytes is refused as a bad format before any script byte is looked at; fewer bytes
// than declared give LoadFailed. Bytes after the declared script are ignored.
MacroScript ParseMacroImage(std::span<const std::uint8_t> image);

// Reads at most 265 bytes of the file. `macroName` is the suffix of the
// can't-find message.
MacroScript ReadMacroFile(const std::filesystem::path& path, std::string_view macroName);

// Header plus the encoded lines, stopping before a line that would pass 265 bytes.
std::vector<std::uint8_t> BuildMacroImage(const CSkinLVCmdList& lines, const DelaySettings& delays);

// The 9 bytes of a new, empty macro: 6D 18 A1 00 00 19 01 00 00.
std::array<std::uint8_t, kMacroHeaderSize> EmptyMacroImage();

// Writes the image atomically: a failed write keeps the old file. Failures:
// FilePathNotFound + path (empty path, folder not writable), WriteFailed.
FileResult WriteMacroFile(const std::filesystem::path& path, const CSkinLVCmdList& lines,
                          const DelaySettings& delays);

}  // namespace pallix::macro

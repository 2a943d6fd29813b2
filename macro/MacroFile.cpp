#include "macro/MacroFile.h"

#include <algorithm>
#include <cstdio>

#include "macro/AtomicFile.h"
#include "macro/LineList.h"

namespace pallix::macro {
namespace fs = std::filesystem;

namespace {

void FillHeader(std::span<std::uint8_t, kMacroHeaderSize> header, int scriptLength, const DelaySettings& delays) {
    const int defaultDelay = delays.mode == DelayMode::DefaultDelay ? std::clamp(delays.defaultDelayMs, 0, kMaxDelayMs) : 0;
    header[0] = kMacroMagic1;
    header[1] = kMacroMagic2;
    header[2] = kMacroFormat;
    header[3] = static_cast<std::uint8_t>(scriptLength & 0xFF);
    header[4] = static_cast<std::uint8_t>(scriptLength >> 8);
    header[5] = kDelayUnitMs;
    header[6] = delays.mode == DelayMode::WithoutDelay ? 0 : 1;
    header[7] = static_cast<std::uint8_t>(defaultDelay & 0xFF);
    header[8] = static_cast<std::uint8_t>(defaultDelay >> 8);
}

}  // namespace

MacroScript ParseMacroImage(std::span<const std::uint8_t> image) {
    MacroScript result;
    if (image.size() < kMacroHeaderSize || image[0] != kMacroMagic1 || image[1] != kMacroMagic2 ||
        (image[2] != kMacroFormat && image[2] != kMacroFormatOld)) {
        result.message = MacroMessage::BadFileFormat;
        return result;
    }
    const int length = image[3] | (image[4] << 8);
    if (length > kScriptCapacity) {
        result.message = MacroMessage::BadFileFormat;
        return result;
    }
    const int defaultDelay = std::min(image[7] | (image[8] << 8), kMaxDelayMs);
    result.delays.defaultDelayMs = defaultDelay;
    if (image[6] == 0) result.delays.mode = DelayMode::WithoutDelay;
    else result.delays.mode = defaultDelay != 0 ? DelayMode::DefaultDelay : DelayMode::RealTime;
    if (image.size() - kMacroHeaderSize < static_cast<std::size_t>(length)) {
        result.message = MacroMessage::LoadFailed;
        return result;
    }
    std::copy_n(image.begin() + kMacroHeaderSize, length, result.bytes.begin());
    result.length = length;
    return result;
}

MacroScript ReadMacroFile(const fs::path& path, std::string_view macroName) {
    MacroScript refused;
    refused.message = MacroMessage::FilePathNotFound;
    refused.suffix = std::string(macroName);
    std::error_code ec;
    if (path.empty() || fs::is_directory(path, ec)) return refused;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return refused;
    std::array<std::uint8_t, kMacroFileCapacity> image{};
    const std::size_t got = std::fread(image.data(), 1, image.size(), f);
    std::fclose(f);
    return ParseMacroImage(std::span(image).first(got));
}

std::array<std::uint8_t, kMacroHeaderSize> EmptyMacroImage() {
    std::array<std::uint8_t, kMacroHeaderSize> image{};
    FillHeader(image, 0, DelaySettings{DelayMode::RealTime, 0});
    return image;
}

std::vector<std::uint8_t> BuildMacroImage(const CSkinLVCmdList& lines, const DelaySettings& delays) {
    const std::vector<std::uint8_t> script = lines.EncodeScript(kScriptCapacity);
    std::vector<std::uint8_t> image(kMacroHeaderSize + script.size());
    FillHeader(std::span(image).first<kMacroHeaderSize>(), static_cast<int>(script.size()), delays);
    std::copy(script.begin(), script.end(), image.begin() + kMacroHeaderSize);
    return image;
}

FileResult WriteMacroFile(const fs::path& path, const CSkinLVCmdList& lines, const DelaySettings& delays) {
    if (path.empty()) return FileResult::Failure(MacroMessage::FilePathNotFound);
    return WriteFileAtomically(path, BuildMacroImage(lines, delays));
}

}  // namespace pallix::macro

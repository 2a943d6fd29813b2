#pragma once
// The bytes that go into the mouse for one macro: the file's script with every
// predefined command replaced by the raw bytes the mouse runs.
#include <array>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string_view>

#include "macro/InstructionSet.h"
#include "macro/MacroMessages.h"

namespace pallix::macro {

// Overwrites every command (83, sub-code 80-93, filler) in place with its raw
// sequence of the same length; nothing else moves. Scripts of 1 to 256 bytes are
// walked; an instruction cut off by the end stops the walk.
void ExpandCommands(std::span<std::uint8_t> script);

struct UploadBytes {
    std::array<std::uint8_t, kScriptCapacity> bytes{};
    int count = 0;  // 0 to 256; 0 also when the macro file could not be read
    MacroMessage message = MacroMessage::None;  // why the file could not be read
    std::string suffix;

    std::span<const std::uint8_t> Script() const { return std::span(bytes).first(static_cast<std::size_t>(count)); }
};

// Expanded copy of a script.
UploadBytes UploadBytesOf(std::span<const std::uint8_t> script);

// Reads the macro file `name` stands for in `folder` (FindMacroFile) and expands it.
UploadBytes UploadBytesOfMacro(const std::filesystem::path& folder, std::string_view name);

}  // namespace pallix::macro

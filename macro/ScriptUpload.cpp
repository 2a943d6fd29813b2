#include "macro/ScriptUpload.h"

#include <algorithm>

#include "macro/MacroFile.h"
#include "macro/MacroFolder.h"

namespace pallix::macro {

void ExpandCommands(std::span<std::uint8_t> script) {
    if (script.empty() || script.size() > static_cast<std::size_t>(kScriptCapacity)) return;
    std::size_t at = 0;
    while (at < script.size()) {
        const int length = InstructionLengthAt(script.subspan(at));
        if (length == 0) break;
        if (script[at] == OP_EXTENDED && IsCommandSubCode(script[at + 1])) {
            const CommandInfo& command = kCommands[script[at + 1] - SUB_FIRST_COMMAND];
            std::copy_n(command.rawBytes.begin(), command.length, script.begin() + static_cast<std::ptrdiff_t>(at));
        }
        at += static_cast<std::size_t>(length);
    }
}

UploadBytes UploadBytesOf(std::span<const std::uint8_t> script) {
    UploadBytes upload;
    upload.count = static_cast<int>(std::min<std::size_t>(script.size(), kScriptCapacity));
    std::copy_n(script.begin(), upload.count, upload.bytes.begin());
    ExpandCommands(std::span(upload.bytes).first(static_cast<std::size_t>(upload.count)));
    return upload;
}

UploadBytes UploadBytesOfMacro(const std::filesystem::path& folder, std::string_view name) {
    const MacroScript file = ReadMacroFile(FindMacroFile(folder, name), name);
    if (file.length < 0) {
        UploadBytes failed;
        failed.message = file.message;
        failed.suffix = file.suffix;
        return failed;
    }
    return UploadBytesOf(file.Script());
}

}  // namespace pallix::macro

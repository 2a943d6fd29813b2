// libFuzzer target: any bytes as a macro file on disk, read, decoded, written back
// and read again.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

#include "macro/LineList.h"
#include "macro/MacroFile.h"
#include "macro/ScriptUpload.h"

namespace {

namespace fs = std::filesystem;
using namespace pallix::macro;

const fs::path& Folder() {
    static const fs::path folder = [] {
        fs::path dir = fs::temp_directory_path() / ("pallix-fuzz-" + std::to_string(getpid()));
        fs::create_directories(dir);
        std::atexit([] { std::error_code ec; fs::remove_all(Folder(), ec); });
        return dir;
    }();
    return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fs::path in = Folder() / "in.Mac";
    std::FILE* f = std::fopen(in.c_str(), "wb");
    if (!f) std::abort();
    if (size > 0 && std::fwrite(data, 1, size, f) != size) std::abort();
    std::fclose(f);

    const MacroScript read = ReadMacroFile(in, "in");
    if (read.length < 0) {
        if (read.message == MacroMessage::None) std::abort();
        return 0;
    }
    if (read.length > kScriptCapacity || size < static_cast<std::size_t>(kMacroHeaderSize + read.length)) std::abort();
    (void)UploadBytesOf(read.Script());

    CSkinLVCmdList lines;
    lines.Decode(read.Script());
    const fs::path out = Folder() / "out.Mac";
    if (!WriteMacroFile(out, lines, read.delays).ok) std::abort();
    const MacroScript back = ReadMacroFile(out, "out");
    if (back.length != lines.UsedBytes()) std::abort();
    if (back.delays.mode != read.delays.mode) std::abort();
    return 0;
}

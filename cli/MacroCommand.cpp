// pallixctl macro: shows macro scripts as the macro editor lists them, and binds
// a macro to a button.
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "cli/Command.h"
#include "cli/MacroBind.h"
#include "macro/LineList.h"
#include "macro/MacroFile.h"
#include "macro/MacroFolder.h"
#include "platform/UserDirs.h"

namespace pallix::cli {
namespace {

namespace fs = std::filesystem;
using namespace pallix::macro;

const std::string kUsage = std::string(
    "  macro decode HEX...       list the lines of a script given as hex bytes\n"
    "  macro show FILE|NAME      list the lines of a macro file (or a macro by name)\n"
    "  macro list                names of the macros in the macro folder\n") + kMacroBindUsage;

fs::path MacroFolder() { return fs::path(DocumentsDir()) / kMacroFolderName; }

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

// "83 05", "8305", "0x83,0x05" alike; nullopt on anything else.
std::optional<std::vector<std::uint8_t>> ParseHex(const Args& args) {
    std::vector<std::uint8_t> bytes;
    for (const std::string& arg : args) {
        std::string piece;
        auto flush = [&]() {
            if (piece.size() > 2 && piece[0] == '0' && (piece[1] == 'x' || piece[1] == 'X')) piece.erase(0, 2);
            if (piece.size() % 2 != 0) return false;
            for (std::size_t i = 0; i < piece.size(); i += 2) {
                const int hi = HexDigit(piece[i]), lo = HexDigit(piece[i + 1]);
                if (hi < 0 || lo < 0) return false;
                bytes.push_back(static_cast<std::uint8_t>(hi << 4 | lo));
            }
            piece.clear();
            return true;
        };
        for (char c : arg) {
            if (std::isspace(static_cast<unsigned char>(c)) || c == ',' || c == ':') {
                if (!flush()) return std::nullopt;
            } else {
                piece += c;
            }
        }
        if (!flush()) return std::nullopt;
    }
    return bytes;
}

// The editor tells press from release by a picture; in text a word does it.
const char* IconWord(int icon) {
    switch (icon) {
    case ICON_KEY_DOWN:
    case ICON_BUTTON_DOWN: return "down";
    case ICON_KEY_UP:
    case ICON_BUTTON_UP: return "up";
    case ICON_WHEEL_DOWN: return "wheel-down";
    case ICON_WHEEL_UP: return "wheel-up";
    default: return "-";
    }
}

void PrintLines(std::span<const std::uint8_t> script) {
    CSkinLVCmdList lines;
    lines.Decode(script);
    for (int i = 0; i < lines.Count(); ++i) {
        const RowTexts row = lines.RowOf(i);
        std::printf("%s\t%s\t%s\t%s\n", row.number.c_str(), IconWord(row.icon), row.instruction.c_str(),
                    row.delay.c_str());
    }
}

int Fail(const std::string& text) {
    std::fprintf(stderr, "pallixctl macro: %s\n", text.c_str());
    return 1;
}

int Decode(const Args& args) {
    const auto bytes = ParseHex(args);
    if (!bytes) return Fail("not a list of hex bytes");
    if (bytes->size() > static_cast<std::size_t>(kScriptCapacity))
        return Fail("a script holds at most 256 bytes, got " + std::to_string(bytes->size()));
    PrintLines(*bytes);
    return 0;
}

int Show(const std::string& what) {
    std::error_code ec;
    fs::path path = what;
    if (!fs::exists(path, ec)) {
        const fs::path named = FindMacroFile(MacroFolder(), what);
        if (!named.empty() && fs::exists(named, ec)) path = named;
    }
    const MacroScript file = ReadMacroFile(path, what);
    if (file.length < 0) return Fail(std::string(DefaultMessageText(file.message)) + file.suffix);
    PrintLines(file.Script());
    return 0;
}

int List() {
    for (const std::string& name : ListMacros(MacroFolder())) std::printf("%s\n", name.c_str());
    return 0;
}

int Run(const Args& args) {
    const std::string sub = args.empty() ? "" : args[0];
    const Args rest(args.begin() + (args.empty() ? 0 : 1), args.end());
    if (sub == "decode" && !rest.empty()) return Decode(rest);
    if (sub == "show" && rest.size() == 1) return Show(rest[0]);
    if (sub == "list" && rest.empty()) return List();
    if (sub == "bind") return RunMacroBind(rest, MacroFolder());
    std::fprintf(stderr, "usage:\n%s\n", kUsage.c_str());
    return 2;
}

const RegisterCommand kRegister({"macro", kUsage, Run});

}  // namespace
}  // namespace pallix::cli

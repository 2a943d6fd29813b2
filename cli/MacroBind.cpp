// What the main window does when the macro chooser closes with OK: the macro's name
// saved for the button, the repeat mode and count written at once, MACRO KEY
// assigned, the expanded script stored in the button's slot, then the assignment
// applied (the command line has no separate Apply).
#include "cli/MacroBind.h"

#include <cstdio>
#include <optional>
#include <string>

#include "cli/DeviceSession.h"
#include "device/ButtonAssignment.h"
#include "device/MacroNameChange.h"
#include "device/MemoryMap.h"
#include "macro/ScriptUpload.h"
#include "platform/SqliteSettingsStore.h"

namespace pallix::cli {

const char* const kMacroBindUsage =
    "  macro bind P B NAME --once|--repeat N|--hold|--toggle\n"
    "                            store macro NAME for button B (1-8) of profile P (1-5),\n"
    "                            run once, N times (0-255), while held or until pressed again";

namespace {

constexpr int kExitUsage = 2;
constexpr int kExitFailed = 1;

struct Repeat {
    int mode = 0;
    int count = 0;
    std::string text;
};

// Takes the one repeat option out of args; nullopt after printing why not.
std::optional<Repeat> TakeRepeat(Args& args) {
    std::optional<Repeat> found;
    int options = 0;
    Args rest;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--once") found = Repeat{kMacroModeOnce, 0, "once"};
        else if (a == "--hold") found = Repeat{kMacroModeWhileHeld, 0, "while held"};
        else if (a == "--toggle") found = Repeat{kMacroModeUntilNextPress, 0, "until pressed again"};
        else if (a == "--repeat") {
            // The count is one byte in the directory entry.
            const auto count = i + 1 < args.size() ? ParseInt(args[i + 1], 0, 255) : std::nullopt;
            if (!count) {
                std::fprintf(stderr, "pallixctl: --repeat needs a count of 0-255\n");
                return std::nullopt;
            }
            ++i;
            found = Repeat{kMacroModeCount, *count, std::to_string(*count) + " times"};
        } else {
            rest.push_back(a);
            continue;
        }
        ++options;
    }
    if (options != 1) {
        std::fprintf(stderr, "pallixctl: macro bind needs one of --once, --repeat N, --hold, --toggle\n");
        return std::nullopt;
    }
    args = std::move(rest);
    return found;
}

}  // namespace

int RunMacroBind(const Args& arguments, const std::filesystem::path& folder) {
    Args args = arguments;
    const auto repeat = TakeRepeat(args);
    if (!repeat) return kExitUsage;
    const auto options = ParseDeviceOptions(args, false);
    if (!options) return kExitUsage;
    if (options->positional.size() != 3) {
        std::fprintf(stderr, "usage:\n%s\n", kMacroBindUsage);
        return kExitUsage;
    }
    const auto profile = ParseInt(options->positional[0], 1, memmap::kProfileCount);
    const auto button = ParseInt(options->positional[1], 1, memmap::kButtonCount);
    if (!profile || !button) {
        std::fprintf(stderr, "pallixctl: profile must be 1-%d and button 1-%d\n", memmap::kProfileCount,
                     memmap::kButtonCount);
        return kExitUsage;
    }
    const int p = *profile - 1, b = *button - 1;
    const std::string& name = options->positional[2];

    // The file is read before the mouse is touched: a macro that cannot be read
    // changes nothing.
    const macro::UploadBytes upload = macro::UploadBytesOfMacro(folder, name);
    if (upload.message != macro::MacroMessage::None) {
        std::fprintf(stderr, "pallixctl: %s%s\n", std::string(macro::DefaultMessageText(upload.message)).c_str(),
                     upload.suffix.c_str());
        return kExitFailed;
    }

    auto session = DeviceSession::Open(*options);
    if (!session || !session->Load()) return kExitFailed;
    CIcRK44& memory = session->Memory();
    if (!LeftClickRuleAllows(memory, p, b, kFnMacroKey)) {
        std::fprintf(stderr, "pallixctl: No L-Button! Button %d is the last CLICK button of profile %d\n", *button,
                     *profile);
        return kExitFailed;
    }
    // The directory entry is not part of the load; the mode keeps byte 3's high nibble.
    const int entry = memmap::DirectoryEntry(p, b);
    for (int address : {entry + 2, entry + 3}) {
        if (!memory.Entry(address).valid && !memory.LoadByte(address)) {
            std::fprintf(stderr, "pallixctl: Error: Failed to LOAD MOUSE CONFIGURE!\n");
            return kExitFailed;
        }
    }

    SqliteSettingsStore store;
    MacroNameChange macroName(store, p, b);
    if (!macroName.Write(name)) {
        std::fprintf(stderr, "pallixctl: the macro name could not be saved: %s\n", store.LastError().c_str());
        return kExitFailed;
    }
    if (!WriteMacroMode(memory, p, b, repeat->mode, repeat->count)) {
        macroName.Revert();
        std::fprintf(stderr, "pallixctl: Error: Failed to SAVE ONE SCRIPT!\n");
        return kExitFailed;
    }
    AssignStandardFunction(memory, p, b, kFnMacroKey);
    // A button is not left on MACRO KEY over a script that did not arrive.
    if (!session->StoreMacro(p, b, upload.Script(), repeat->mode)) {
        macroName.Revert();
        return kExitFailed;
    }
    if (!session->Apply(p)) return kExitFailed;
    std::printf("profile %d button %d: macro %s, %s, %d script byte(s)\n", *profile, *button, name.c_str(),
                repeat->text.c_str(), upload.count);
    return 0;
}

}  // namespace pallix::cli

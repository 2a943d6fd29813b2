// pallixctl restore P: set a profile back to its defaults on the mouse.
#include <cstdio>

#include "cli/Command.h"
#include "cli/DeviceSession.h"
#include "device/MemoryMap.h"

namespace pallix::cli {
namespace {

int Restore(const Args& args) {
    const auto options = ParseDeviceOptions(args, false);
    if (!options) return 2;
    const auto profile = options->positional.size() == 1
                             ? ParseInt(options->positional[0], 1, memmap::kProfileCount)
                             : std::nullopt;
    if (!profile) {
        std::fprintf(stderr, "pallixctl: restore needs a profile 1-%d\n", memmap::kProfileCount);
        return 2;
    }
    auto session = DeviceSession::Open(*options);
    if (!session || !session->Load()) return 1;
    return session->Restore(*profile - 1) ? 0 : 1;
}

const RegisterCommand kRestore{{"restore", "  restore P                 set profile P back to its defaults", Restore}};

}  // namespace
}  // namespace pallix::cli

#include "cli/DeviceSession.h"

#include <chrono>
#include <cstdio>
#include <thread>

#include "device/AccessHelp.h"
#include "device/CHidClient.h"
#include "device/HidPathOpener.h"
#include "device/MemoryMap.h"
#include "device/ProductIds.h"
#include "platform/HidBackends.h"

namespace pallix::cli {

namespace {
constexpr const char* kSaveConfigureFailed = "Error: Failed to SAVE MOUSE CONFIGURE!";
}

std::optional<int> ParseInt(const std::string& text, int lo, int hi) {
    if (text.empty() || text.size() > 9) return std::nullopt;
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    if (value < lo || value > hi) return std::nullopt;
    return value;
}

std::optional<DeviceOptions> ParseDeviceOptions(const Args& args, bool allowJson) {
    DeviceOptions options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--device") {
            if (i + 1 >= args.size() || args[i + 1].empty()) {
                std::fprintf(stderr, "pallixctl: --device needs a device path\n");
                return std::nullopt;
            }
            options.devicePath = args[++i];
        } else if (a == "--json" && allowJson) {
            options.json = true;
        } else if (a == "--quiet") {
            options.quiet = true;
        } else if (a.size() > 1 && a[0] == '-' && a.rfind("--", 0) == 0) {
            std::fprintf(stderr, "pallixctl: unknown option '%s'\n", a.c_str());
            return std::nullopt;
        } else {
            options.positional.push_back(a);
        }
    }
    return options;
}

void RunStepTimer(CTransferEngine& engine) {
    using Clock = std::chrono::steady_clock;
    constexpr auto kTick = std::chrono::milliseconds(CTransferEngine::kStepMs);
    auto next = Clock::now();
    while (engine.Running()) {
        next += kTick;
        // A tick that ran long is not made up with a burst of ticks (as a window timer).
        if (next < Clock::now()) next = Clock::now() + kTick;
        std::this_thread::sleep_until(next);
        engine.Step();
    }
}

std::unique_ptr<DeviceSession> DeviceSession::Open(const DeviceOptions& options) {
    auto backends = MakeDefaultHidBackends();
    CHidClient client(backends);
    const SUsbId ids[] = {{kMouseVendorId, kMouseProductId}};
    client.CreateDeviceTable(ids, 1, memmap::kModel1801, memmap::kModel1802);
    // The named mouse, or else the first one this user may open.
    int index = -1, closed = -1;
    for (int i = 0; index < 0 && i < client.GetRecognizedDevices(); ++i) {
        if (!options.devicePath.empty() && options.devicePath != client.GetDevice(i)) continue;
        if (client.GetDeviceAccessDenied(i)) {
            if (closed < 0) closed = i;
        } else {
            index = i;
        }
    }
    if (index < 0 && closed >= 0) {
        std::fprintf(stderr, "pallixctl: %s\n", NoAccessMessage(client.GetDevice(closed)).c_str());
        return nullptr;
    }
    if (index < 0) {
        if (options.devicePath.empty()) std::fprintf(stderr, "pallixctl: No Gamer Mouse Connected!\n");
        else std::fprintf(stderr, "pallixctl: no mouse at '%s'\n", options.devicePath.c_str());
        return nullptr;
    }

    std::unique_ptr<DeviceSession> s(new DeviceSession);
    s->path_ = client.GetDevice(index);
    s->memory_ = std::make_unique<CIcRK44>(std::make_shared<BackendPathOpener>(backends));
    s->memory_->ResetCache();
    s->memory_->SetSize(memmap::kMemorySize);
    s->memory_->SetModel(client.GetDeviceVer(index));
    if (!s->memory_->OpenDevice(s->path_)) {
        std::fprintf(stderr, "pallixctl: the mouse at '%s' does not answer as this mouse (status %d)\n",
                     s->path_.c_str(), s->memory_->Status());
        return nullptr;
    }
    s->engine_ = std::make_unique<CTransferEngine>(*s->memory_, s->tables_);
    s->engine_->SetQuiet(options.quiet);
    return s;
}

int DeviceSession::ProfileCount() const {
    return memmap::ProfileCountOf(static_cast<std::uint8_t>(memory_->Entry(memmap::kProfileByteAddress).value));
}

int DeviceSession::CurrentProfile() const {
    return memmap::CurrentProfileOf(static_cast<std::uint8_t>(memory_->Entry(memmap::kProfileByteAddress).value));
}

bool DeviceSession::Load() {
    if (engine_->StartLoad()) RunStepTimer(*engine_);
    if (engine_->Failure() == TransferFailure::kNone) return true;
    std::fprintf(stderr, "pallixctl: Error: Failed to LOAD MOUSE CONFIGURE!\n");
    return false;
}

bool DeviceSession::Finish(const char* what, const char* failure) {
    for (const auto& [address, value] : engine_->Written())
        std::printf("wrote 0x%04X = %u\n", static_cast<unsigned>(address), static_cast<unsigned>(value));
    std::printf("%s: %zu byte(s) written\n", what, engine_->Written().size());
    if (engine_->Failure() != TransferFailure::kNone) {
        std::fprintf(stderr, "pallixctl: %s\n", failure);
        return false;
    }
    if (engine_->Incomplete()) {
        std::fprintf(stderr, "pallixctl: the mouse did not take every byte; the rest was not written\n");
        return false;
    }
    return true;
}

bool DeviceSession::Apply(int profile) {
    if (engine_->StartApply(profile)) RunStepTimer(*engine_);
    return Finish("apply", kSaveConfigureFailed);
}

bool DeviceSession::Restore(int profile) {
    if (engine_->StartRestore(profile)) RunStepTimer(*engine_);
    return Finish("restore", kSaveConfigureFailed);
}

bool DeviceSession::StoreMacro(int profile, int button, std::span<const std::uint8_t> script, int mode) {
    if (engine_->StartMacroStore(profile, button, script, mode)) RunStepTimer(*engine_);
    return Finish("macro", "Error: Failed to SAVE ONE SCRIPT!");
}

}  // namespace pallix::cli

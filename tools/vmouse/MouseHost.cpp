#include "tools/vmouse/MouseHost.h"

#include <csignal>
#include <cstdio>
#include <sys/signalfd.h>
#include <unistd.h>

#include "platform/RuntimeDir.h"
#include "platform/VirtualHidBackend.h"
#include "platform/SeqPacketSocket.h"
#include "platform/VirtualHidProtocol.h"
#include "tools/vmouse/CommandWords.h"
#include "tools/vmouse/MemoryFile.h"
#include "tools/vmouse/MouseCommands.h"

namespace pallix::vmouse {

namespace {

constexpr std::size_t kMaxControlText = 256;

// Trace direction of a report on an interface: "set" on the first, "set@1" on the next.
std::string Direction(const char* what, int interfaceNumber) {
    return interfaceNumber == 0 ? what : std::string(what) + "@" + std::to_string(interfaceNumber);
}

}  // namespace

std::string ControlSocketPath(const std::string& name) {
    const std::string dir = VirtualMouseStateDir();
    return dir.empty() ? std::string() : dir + "/" + name + ".ctl";
}

MouseHost::MouseHost(Options options)
    : options_(std::move(options)), mouse_(options_.model, VirtualMouse::FactoryMemory(options_.model)) {
    mouse_.FaultsRef() = options_.faults;
}

MouseHost::~MouseHost() {
    if (controlFd_ >= 0) unlink(controlPath_.c_str());
    CloseFd(controlFd_);
    CloseFd(signalFd_);
}

bool MouseHost::StartHost(std::string& error) {
    const std::string stateDir = VirtualMouseStateDir();
    if (!vhid::IsValidName(options_.name)) {
        error = "invalid name '" + options_.name + "' (1-64 of A-Z a-z 0-9 _ . -, not starting with '.')";
        return false;
    }
    if (stateDir.empty() || !MakePrivateDir(stateDir)) {
        error = "no usable runtime folder";
        return false;
    }
    controlPath_ = ControlSocketPath(options_.name);
    const int other = ConnectSeqPacket(controlPath_);
    if (other >= 0) {
        close(other);
        error = "a virtual mouse named '" + options_.name + "' is already running";
        return false;
    }

    if (options_.memoryPath.empty()) options_.memoryPath = stateDir + "/" + options_.name + ".mem";
    Memory memory{};
    const LoadResult loaded =
        options_.resetMemory ? LoadResult::kMissing : LoadMemory(options_.memoryPath, memory, error);
    if (loaded == LoadResult::kBad) return false;
    if (loaded == LoadResult::kLoaded) {
        mouse_ = VirtualMouse(options_.model, memory);
        mouse_.FaultsRef() = options_.faults;
    } else if (!SaveMemory(options_.memoryPath, mouse_.MemoryImage(), error)) {
        return false;
    }
    if (!options_.tracePath.empty() && !trace_.Open(options_.tracePath, error)) return false;

    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGTERM);
    sigaddset(&set, SIGINT);
    sigprocmask(SIG_BLOCK, &set, nullptr);
    signalFd_ = signalfd(-1, &set, SFD_CLOEXEC | SFD_NONBLOCK);
    std::signal(SIGPIPE, SIG_IGN);

    controlFd_ = ListenSeqPacket(controlPath_);
    if (controlFd_ < 0) {
        error = controlPath_ + ": cannot listen";
        return false;
    }
    return true;
}

void MouseHost::Pause() const {
    if (options_.latencyMs > 0) usleep(static_cast<useconds_t>(options_.latencyMs) * 1000);
}

void MouseHost::TraceLine(const char* what, int interfaceNumber, std::span<const std::uint8_t> bytes, bool failed) {
    trace_.Line(Direction(what, interfaceNumber).c_str(), bytes, failed);
}

// An interface that numbers its reports has no unnumbered feature report: a real
// device stalls the request.
bool MouseHost::SetFeature(int interfaceNumber, std::span<const std::uint8_t> report) {
    const bool ok = !IsNumbered(options_.layout, interfaceNumber) && mouse_.SetFeature(report);
    TraceLine("set", interfaceNumber, report, !ok);
    Persist();
    return ok;
}

std::optional<Bytes> MouseHost::GetFeature(int interfaceNumber, std::uint8_t reportId, std::size_t length) {
    auto data = IsNumbered(options_.layout, interfaceNumber) ? std::nullopt : mouse_.GetFeature(reportId, length);
    TraceLine("get", interfaceNumber, data ? std::span<const std::uint8_t>(*data) : std::span<const std::uint8_t>(),
              !data);
    return data;
}

void MouseHost::AcceptControl() {
    int fd = AcceptSeqPacket(controlFd_);
    if (fd < 0) return;
    char buf[kMaxControlText + 1];
    const RecvResult r = RecvPacket(fd, reinterpret_cast<std::uint8_t*>(buf), kMaxControlText, 1000);
    std::string reply;
    if (r.status == RecvStatus::kOk) reply = Command(SplitWords(std::string(buf, r.size)));
    else if (r.status == RecvStatus::kTooLong) reply = "error: command too long";
    if (!reply.empty()) SendPacket(fd, {reinterpret_cast<const std::uint8_t*>(reply.data()), reply.size()});
    CloseFd(fd);
}

void MouseHost::Persist() {
    if (!mouse_.TakeMemoryChanged()) return;
    std::string error;
    if (!SaveMemory(options_.memoryPath, mouse_.MemoryImage(), error))
        std::fprintf(stderr, "pallix-vmouse: %s\n", error.c_str());
}

std::string MouseHost::Status() const {
    std::string s = "ok name=" + options_.name + " model=" + Hex16(static_cast<unsigned>(options_.model)) +
                    " layout=" + LayoutName(options_.layout) + " plugged=" + (Plugged() ? "1" : "0") +
                    " deny=" + (options_.denyAccess ? "1" : "0") +
                    " profile=" + std::to_string(mouse_.CurrentProfile() + 1) +
                    " level=" + std::to_string(mouse_.ActiveLevel(mouse_.CurrentProfile()) + 1) +
                    " controls=" + std::to_string(mouse_.Controls().size());
    if (!mouse_.Controls().empty()) {
        const ControlRecord& last = mouse_.Controls().back();
        s += " last-control=" + std::to_string(last.p1) + "," + std::to_string(last.p2) + "," + std::to_string(last.p3);
    }
    return s;
}

std::string MouseHost::Command(const std::vector<std::string>& w) {
    const std::size_t n = w.size();
    const std::string verb = n ? w[0] : "";
    const CommandResult r = MouseCommand(mouse_, w);
    if (r.kind == CommandResult::kReply) return r.reply;
    if (r.kind == CommandResult::kEvent) {
        if (!Plugged()) return "error: the mouse is unplugged";
        if (!r.event.error.empty()) return "error: " + r.event.error;
        Persist();
        std::string reply = "ok";
        for (const VirtualMouse::Report& report : r.event.reports) {
            const int target = InterfaceOf(options_.layout, report);
            TraceLine("input", target, report.bytes);
            SendInput(target, report.bytes);
            reply += "\n" + Trace::Hex(report.bytes);
        }
        return reply;
    }
    if (verb == "unplug" && n == 1) {
        Unplug();
        return "ok";
    }
    if (verb == "plug" && n == 1) {
        std::string error;
        return Plug(error) ? "ok" : "error: " + error;
    }
    if (verb == "latency" && n == 2) {
        if (auto ms = ParseNumber(w[1], 0, 10000)) {
            options_.latencyMs = *ms;
            return "ok";
        }
        return "error: latency must be 0-10000 ms";
    }
    if (verb == "status" && n == 1) return Status();
    if (verb == "quit" && n == 1) {
        quit_ = true;
        return "ok";
    }
    if (auto reply = FrontEndCommand(w)) return *reply;
    return "error: unknown command (see pallix-vmouse --help)";
}

}  // namespace pallix::vmouse

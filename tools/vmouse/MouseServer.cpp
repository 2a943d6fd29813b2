#include "tools/vmouse/MouseServer.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <poll.h>
#include <sys/signalfd.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/RuntimeDir.h"
#include "platform/SeqPacketSocket.h"
#include "platform/VirtualHidBackend.h"
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

MouseServer::MouseServer(Options options)
    : options_(std::move(options)), mouse_(options_.model, VirtualMouse::FactoryMemory(options_.model)) {
    mouse_.FaultsRef() = options_.faults;
}

MouseServer::~MouseServer() {
    Unplug();
    for (Client& c : clients_) CloseFd(c.fd);
    if (controlFd_ >= 0) unlink(controlPath_.c_str());
    CloseFd(controlFd_);
    CloseFd(signalFd_);
}

bool MouseServer::Start(std::string& error) {
    const std::string stateDir = VirtualMouseStateDir();
    deviceDir_ = VirtualHidDir();
    if (!vhid::IsValidName(options_.name)) {
        error = "invalid name '" + options_.name + "' (1-64 of A-Z a-z 0-9 _ . -, not starting with '.')";
        return false;
    }
    if (stateDir.empty() || deviceDir_.empty() || !MakePrivateDir(stateDir) || !MakePrivateDir(deviceDir_)) {
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
    return options_.startUnplugged || Plug(error);
}

bool MouseServer::Plug(std::string& error) {
    if (Plugged()) return true;
    // Bind under a hidden name and rename when listening, so that a watcher that
    // sees the name appear can connect at once. The first interface comes last, as the
    // one the programs look for.
    const auto shapes = InterfacesOf(options_.layout);
    for (auto it = shapes.rbegin(); it != shapes.rend(); ++it) {
        const std::string path = deviceDir_ + "/" + vhid::InterfaceSocketName(options_.name, it->number);
        const std::string temp = deviceDir_ + "/." + options_.name + ".tmp-" + std::to_string(getpid());
        int fd = ListenSeqPacket(temp);
        if (fd < 0 || rename(temp.c_str(), path.c_str()) != 0) {
            CloseFd(fd);
            unlink(temp.c_str());
            Unplug();
            error = path + ": cannot listen";
            return false;
        }
        listeners_.push_back({it->number, fd, path});
    }
    return true;
}

void MouseServer::Unplug() {
    if (!Plugged()) return;
    for (Listener& l : listeners_) {
        unlink(l.path.c_str());
        CloseFd(l.fd);
    }
    listeners_.clear();
    // Only closed here: Run drops closed clients, since callers may hold a reference.
    for (Client& c : clients_)
        if (!c.control) CloseFd(c.fd);
}

int MouseServer::Run() {
    while (!quit_) {
        std::vector<pollfd> fds{{signalFd_, POLLIN, 0}, {controlFd_, POLLIN, 0}};
        const std::vector<Listener> listening = listeners_;
        for (const Listener& l : listening) fds.push_back({l.fd, POLLIN, 0});
        const std::size_t firstClient = fds.size();
        for (const Client& c : clients_) fds.push_back({c.fd, POLLIN, 0});
        if (poll(fds.data(), fds.size(), -1) < 0) {
            if (errno == EINTR) continue;
            std::perror("pallix-vmouse: poll");
            return 1;
        }
        if (fds[0].revents) break;  // SIGTERM or SIGINT
        if (fds[1].revents & POLLIN) AcceptOn(controlFd_, true);
        for (std::size_t i = 0; i < listening.size(); ++i)
            if (fds[2 + i].revents & POLLIN) AcceptOn(listening[i].fd, false, listening[i].interfaceNumber);
        // Serve the clients polled above; a command may have dropped some meanwhile.
        std::vector<int> ready;
        for (std::size_t i = firstClient; i < fds.size(); ++i)
            if (fds[i].revents) ready.push_back(fds[i].fd);
        for (int fd : ready) {
            auto it = std::find_if(clients_.begin(), clients_.end(), [fd](const Client& c) { return c.fd == fd; });
            if (it == clients_.end() || it->fd < 0) continue;
            if (it->control) {
                ServeControl(*it);
                CloseFd(it->fd);
            } else if (!ServeDevice(*it)) {
                CloseFd(it->fd);
            }
            std::erase_if(clients_, [](const Client& c) { return c.fd < 0; });
        }
    }
    return 0;
}

void MouseServer::AcceptOn(int listenFd, bool control, int interfaceNumber) {
    const int fd = AcceptSeqPacket(listenFd);
    if (fd >= 0) clients_.push_back({fd, control, false, interfaceNumber});
}

void MouseServer::Pause() const {
    if (options_.latencyMs > 0) usleep(static_cast<useconds_t>(options_.latencyMs) * 1000);
}

bool MouseServer::ServeDevice(Client& c) {
    std::uint8_t buf[vhid::kMaxMessage];
    const RecvResult r = RecvPacket(c.fd, buf, sizeof buf, 0);
    if (r.status == RecvStatus::kTimeout) return true;
    if (r.status != RecvStatus::kOk && r.status != RecvStatus::kTooLong) return false;
    const auto m = r.status == RecvStatus::kOk ? vhid::Decode({buf, r.size}) : std::nullopt;
    const bool ordered = m && (c.greeted ? m->type != vhid::kHello : m->type == vhid::kHello);
    if (!ordered || (m->type != vhid::kHello && m->type != vhid::kSetFeature && m->type != vhid::kGetFeature)) {
        SendPacket(c.fd, vhid::EncodeError(vhid::kBadMessage));
        return false;
    }
    if (m->type == vhid::kHello) {
        if (m->version != vhid::kProtocolVersion) {
            SendPacket(c.fd, vhid::EncodeError(vhid::kBadVersion));
            return false;
        }
        vhid::DeviceInfo info{options_.vendorId, options_.productId, static_cast<std::uint16_t>(options_.model),
                              static_cast<std::uint8_t>(c.interfaceNumber), {}, options_.product,
                              options_.manufacturer, options_.denyAccess};
        for (const InterfaceShape& shape : InterfacesOf(options_.layout))
            if (shape.number == c.interfaceNumber) info.reportDescriptor = shape.reportDescriptor;
        const bool sent = SendPacket(c.fd, vhid::EncodeInfo(info));
        // Refused: who it is, and nothing more.
        if (options_.denyAccess) {
            trace_.Line("deny", {});
            return false;
        }
        c.greeted = true;
        return sent;
    }

    Pause();
    bool sent = false;
    // An interface that numbers its reports has no unnumbered feature report: a real
    // device stalls the request.
    const bool memoryInterface = !IsNumbered(options_.layout, c.interfaceNumber);
    if (m->type == vhid::kSetFeature) {
        const bool ok = memoryInterface && mouse_.SetFeature(m->report);
        trace_.Line(Direction("set", c.interfaceNumber).c_str(), m->report, !ok);
        Persist();
        sent = SendPacket(c.fd, vhid::EncodeSetResult(ok ? vhid::kOk : vhid::kFailed,
                                                      static_cast<std::uint8_t>(ok ? m->report.size() : 0)));
    } else {
        const auto data = memoryInterface ? mouse_.GetFeature(m->reportId, m->length) : std::nullopt;
        trace_.Line(Direction("get", c.interfaceNumber).c_str(), data ? std::span<const std::uint8_t>(*data) : std::span<const std::uint8_t>(), !data);
        sent = SendPacket(c.fd, vhid::EncodeGetResult(data ? vhid::kOk : vhid::kFailed, data ? *data : Bytes{}));
    }
    if (mouse_.CountReportForVanish()) {
        Unplug();  // closes c.fd too
        return true;
    }
    return sent;
}

void MouseServer::ServeControl(Client& c) {
    char buf[kMaxControlText + 1];
    const RecvResult r = RecvPacket(c.fd, reinterpret_cast<std::uint8_t*>(buf), kMaxControlText, 0);
    std::string reply;
    if (r.status == RecvStatus::kOk) reply = Command(SplitWords(std::string(buf, r.size)));
    else if (r.status == RecvStatus::kTooLong) reply = "error: command too long";
    else return;
    SendPacket(c.fd, {reinterpret_cast<const std::uint8_t*>(reply.data()), reply.size()});
}

void MouseServer::Broadcast(const std::vector<VirtualMouse::Report>& reports) {
    for (const VirtualMouse::Report& report : reports) {
        const int target = InterfaceOf(options_.layout, report);
        trace_.Line(Direction("input", target).c_str(), report.bytes);
        const vhid::Bytes packet = vhid::EncodeInput(report.bytes);
        for (Client& c : clients_)
            if (!c.control && c.greeted && c.fd >= 0 && c.interfaceNumber == target && !SendPacket(c.fd, packet))
                CloseFd(c.fd);
    }
}

void MouseServer::SetDenyAccess(bool deny) {
    options_.denyAccess = deny;
    // Connections already open stay open, as they do when a node's permissions change;
    // the change of attributes tells watchers to look again.
    for (const Listener& l : listeners_) utimensat(AT_FDCWD, l.path.c_str(), nullptr, 0);
}

void MouseServer::Persist() {
    if (!mouse_.TakeMemoryChanged()) return;
    std::string error;
    if (!SaveMemory(options_.memoryPath, mouse_.MemoryImage(), error))
        std::fprintf(stderr, "pallix-vmouse: %s\n", error.c_str());
}

std::string MouseServer::Emit(const VirtualMouse::Event& e) {
    if (!e.error.empty()) return "error: " + e.error;
    Persist();
    Broadcast(e.reports);
    std::string reply = "ok";
    for (const VirtualMouse::Report& r : e.reports) reply += "\n" + Trace::Hex(r.bytes);
    return reply;
}

std::string MouseServer::Status() const {
    std::string s = "ok name=" + options_.name + " model=" + Hex16(static_cast<unsigned>(options_.model)) +
                    " layout=" + LayoutName(options_.layout) + " plugged=" + (Plugged() ? "1" : "0") + " deny=" + (options_.denyAccess ? "1" : "0") +
                    " profile=" + std::to_string(mouse_.CurrentProfile() + 1) +
                    " level=" + std::to_string(mouse_.ActiveLevel(mouse_.CurrentProfile()) + 1) +
                    " controls=" + std::to_string(mouse_.Controls().size());
    if (!mouse_.Controls().empty()) {
        const ControlRecord& last = mouse_.Controls().back();
        s += " last-control=" + std::to_string(last.p1) + "," + std::to_string(last.p2) + "," + std::to_string(last.p3);
    }
    return s;
}

std::string MouseServer::Command(const std::vector<std::string>& w) {
    const std::size_t n = w.size();
    auto arg = [&](std::size_t i, int lo, int hi) { return i < n ? ParseNumber(w[i], lo, hi) : std::nullopt; };
    const std::string verb = n ? w[0] : "";
    const CommandResult r = MouseCommand(mouse_, w);
    if (r.kind == CommandResult::kReply) return r.reply;
    if (r.kind == CommandResult::kEvent) {
        if (!Plugged()) return "error: the mouse is unplugged";
        return Emit(r.event);
    }
    if (verb == "unplug" && n == 1) {
        Unplug();
        return "ok";
    }
    if (verb == "plug" && n == 1) {
        std::string error;
        return Plug(error) ? "ok" : "error: " + error;
    }
    if (verb == "deny" && n == 2 && (w[1] == "on" || w[1] == "off")) {
        SetDenyAccess(w[1] == "on");
        return "ok";
    }
    if (verb == "latency" && n == 2) {
        if (auto ms = arg(1, 0, 10000)) {
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
    return "error: unknown command (see pallix-vmouse --help)";
}

}  // namespace pallix::vmouse

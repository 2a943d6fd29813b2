#include "tools/vmouse/MouseServer.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/RuntimeDir.h"
#include "platform/SeqPacketSocket.h"
#include "platform/VirtualHidBackend.h"
#include "platform/VirtualHidProtocol.h"

namespace pallix::vmouse {

MouseServer::MouseServer(Options options) : MouseHost(std::move(options)) {}

MouseServer::~MouseServer() {
    Unplug();
    for (Client& c : clients_) CloseFd(c.fd);
}

bool MouseServer::Start(std::string& error) {
    if (!StartHost(error)) return false;
    deviceDir_ = VirtualHidDir();
    if (deviceDir_.empty() || !MakePrivateDir(deviceDir_)) {
        error = "no usable runtime folder";
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
    for (Client& c : clients_) CloseFd(c.fd);
}

int MouseServer::Run() {
    while (!QuitRequested()) {
        std::vector<pollfd> fds{{SignalFd(), POLLIN, 0}, {ControlFd(), POLLIN, 0}};
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
        if (fds[1].revents & POLLIN) AcceptControl();
        for (std::size_t i = 0; i < listening.size(); ++i) {
            if (!(fds[2 + i].revents & POLLIN)) continue;
            const int fd = AcceptSeqPacket(listening[i].fd);
            if (fd >= 0) clients_.push_back({fd, false, listening[i].interfaceNumber});
        }
        // Serve the clients polled above; a command may have dropped some meanwhile.
        std::vector<int> ready;
        for (std::size_t i = firstClient; i < fds.size(); ++i)
            if (fds[i].revents) ready.push_back(fds[i].fd);
        for (int fd : ready) {
            auto it = std::find_if(clients_.begin(), clients_.end(), [fd](const Client& c) { return c.fd == fd; });
            if (it == clients_.end() || it->fd < 0) continue;
            if (!ServeDevice(*it)) CloseFd(it->fd);
            std::erase_if(clients_, [](const Client& c) { return c.fd < 0; });
        }
    }
    return 0;
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
            TraceLine("deny", 0, {});
            return false;
        }
        c.greeted = true;
        return sent;
    }

    Pause();
    bool sent = false;
    if (m->type == vhid::kSetFeature) {
        const bool ok = SetFeature(c.interfaceNumber, m->report);
        sent = SendPacket(c.fd, vhid::EncodeSetResult(ok ? vhid::kOk : vhid::kFailed,
                                                      static_cast<std::uint8_t>(ok ? m->report.size() : 0)));
    } else {
        const auto data = GetFeature(c.interfaceNumber, m->reportId, m->length);
        sent = SendPacket(c.fd, vhid::EncodeGetResult(data ? vhid::kOk : vhid::kFailed, data ? *data : Bytes{}));
    }
    if (VanishDue()) {
        Unplug();  // closes c.fd too
        return true;
    }
    return sent;
}

void MouseServer::SendInput(int interfaceNumber, const Bytes& report) {
    const vhid::Bytes packet = vhid::EncodeInput(report);
    for (Client& c : clients_)
        if (c.greeted && c.fd >= 0 && c.interfaceNumber == interfaceNumber && !SendPacket(c.fd, packet)) CloseFd(c.fd);
}

void MouseServer::SetDenyAccess(bool deny) {
    options_.denyAccess = deny;
    // Connections already open stay open, as they do when a node's permissions change;
    // the change of attributes tells watchers to look again.
    for (const Listener& l : listeners_) utimensat(AT_FDCWD, l.path.c_str(), nullptr, 0);
}

std::optional<std::string> MouseServer::FrontEndCommand(const std::vector<std::string>& w) {
    if (w.size() == 2 && w[0] == "deny" && (w[1] == "on" || w[1] == "off")) {
        SetDenyAccess(w[1] == "on");
        return "ok";
    }
    return std::nullopt;
}

}  // namespace pallix::vmouse

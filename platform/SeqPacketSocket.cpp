#include "platform/SeqPacketSocket.h"

#include <cerrno>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace pallix {

namespace {

bool MakeAddress(const std::string& path, sockaddr_un& addr) {
    std::memset(&addr, 0, sizeof addr);
    addr.sun_family = AF_UNIX;
    if (path.empty() || path.size() >= sizeof addr.sun_path) return false;
    std::memcpy(addr.sun_path, path.c_str(), path.size() + 1);
    return true;
}

}  // namespace

int ListenSeqPacket(const std::string& path) {
    sockaddr_un addr;
    if (!MakeAddress(path, addr)) return -1;
    int fd = socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) return -1;
    unlink(path.c_str());
    if (bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || listen(fd, 16) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

int ConnectSeqPacket(const std::string& path) {
    sockaddr_un addr;
    if (!MakeAddress(path, addr)) return -1;
    int fd = socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0);
    if (fd < 0) return -1;
    if (connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

int AcceptSeqPacket(int listenFd) { return accept4(listenFd, nullptr, nullptr, SOCK_CLOEXEC); }

bool SendPacket(int fd, std::span<const std::uint8_t> data) {
    for (;;) {
        const ssize_t n = send(fd, data.data(), data.size(), MSG_NOSIGNAL);
        if (n >= 0) return static_cast<std::size_t>(n) == data.size();
        if (errno != EINTR) return false;
    }
}

RecvResult RecvPacket(int fd, std::uint8_t* buffer, std::size_t capacity, int timeoutMs) {
    pollfd p{fd, POLLIN, 0};
    for (;;) {
        const int r = poll(&p, 1, timeoutMs);
        if (r > 0) break;
        if (r == 0) return {RecvStatus::kTimeout, 0};
        if (errno != EINTR) return {RecvStatus::kError, 0};
    }
    for (;;) {
        const ssize_t n = recv(fd, buffer, capacity, MSG_TRUNC | MSG_DONTWAIT);
        if (n > 0 && static_cast<std::size_t>(n) > capacity) return {RecvStatus::kTooLong, static_cast<std::size_t>(n)};
        if (n > 0) return {RecvStatus::kOk, static_cast<std::size_t>(n)};
        if (n == 0) return {RecvStatus::kClosed, 0};
        if (errno == EINTR) continue;
        if (errno == EAGAIN || errno == EWOULDBLOCK) return {RecvStatus::kTimeout, 0};
        return {RecvStatus::kError, 0};
    }
}

void CloseFd(int& fd) {
    if (fd >= 0) close(fd);
    fd = -1;
}

}  // namespace pallix
